#include "vexloweb/config/list_records.hpp"

#include "config/list_record_writer.hpp"
#include "config/record_decoder.hpp"
#include "platform/utf8.hpp"

namespace vexloweb {
namespace {

template <class Record>
void writeFields(JsonWriter& writer,
                 const std::array<const std::optional<std::string>*, 3>& fields) {
  writer.beginObject();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (*fields[i]) {
      writer.key(Record::kKeys[i]);
      writeText(writer, Record::kKeys[i], **fields[i]);
    }
  }
  writer.endObject();
}

template <class Record>
std::string encodeRecord(const Record& record) {
  JsonWriter writer;
  writeListRecord(writer, record);
  return writer.take();
}

}  // namespace

void writeText(JsonWriter& writer, std::string_view key, std::string_view text) {
  if (!platform::isValidUtf8(text)) {
    throw std::invalid_argument(std::string(key) + ": the text is " + platform::notUtf8(text) +
                                ", which no JSON document can hold");
  }
  writer.value(text);
}

void writeListRecord(JsonWriter& writer, const MenuItem& record) {
  writeFields<MenuItem>(writer, {&record.name(), &record.url(), &record.icon()});
}
void writeListRecord(JsonWriter& writer, const NavigationTab& record) {
  writeFields<NavigationTab>(writer, {&record.name(), &record.url(), &record.icon()});
}
void writeListRecord(JsonWriter& writer, const ExternalBrowseUrl& record) {
  writeFields<ExternalBrowseUrl>(writer, {&record.type(), &record.condition(), &record.url()});
}

MenuItem MenuItem::decode(std::string_view json) {
  return RecordDecoder(RecordDecoder::Mode::kStopAtFirst).decodeListRecord<MenuItem>(json);
}
NavigationTab NavigationTab::decode(std::string_view json) {
  return RecordDecoder(RecordDecoder::Mode::kStopAtFirst).decodeListRecord<NavigationTab>(json);
}
ExternalBrowseUrl ExternalBrowseUrl::decode(std::string_view json) {
  return RecordDecoder(RecordDecoder::Mode::kStopAtFirst).decodeListRecord<ExternalBrowseUrl>(json);
}

std::string MenuItem::encode() const { return encodeRecord(*this); }
std::string NavigationTab::encode() const { return encodeRecord(*this); }
std::string ExternalBrowseUrl::encode() const { return encodeRecord(*this); }

}  // namespace vexloweb
