#include "vexloweb/config/configure_data.hpp"

#include "config/field_table.hpp"
#include "config/list_record_writer.hpp"
#include "config/record_decoder.hpp"

namespace vexloweb {

ConfigureData ConfigureData::decode(std::string_view json) {
  return RecordDecoder(RecordDecoder::Mode::kStopAtFirst).decodeDocument(json);
}

std::string ConfigureData::encode() const {
  JsonWriter writer;
  writeConfigureData(writer, *this);
  return writer.take();
}

void writeConfigureData(JsonWriter& writer, const ConfigureData& record) {
  writer.beginObject();
  for (const FieldInfo& field : ConfigureDataAccess::fields()) {
    std::visit(
        [&](auto member) {
          const auto& slot = record.*member;
          if (!slot) return;
          writer.key(field.key);
          using Value = typename std::remove_cvref_t<decltype(slot)>::value_type;
          if constexpr (std::is_same_v<Value, std::string>) {
            writeText(writer, field.key, *slot);
          } else if constexpr (std::is_same_v<Value, double>) {
            try {
              writer.value(*slot);
            } catch (const std::invalid_argument& error) {
              throw std::invalid_argument(std::string(field.key) + ": " + error.what());
            }
          } else if constexpr (std::is_arithmetic_v<Value>) {
            writer.value(*slot);
          } else {
            writer.beginArray();
            for (std::size_t i = 0; i < slot->size(); ++i) {
              try {
                writeListRecord(writer, (*slot)[i]);
              } catch (const std::invalid_argument& error) {
                throw std::invalid_argument(std::string(field.key) + "[" + std::to_string(i) +
                                            "]." + error.what());
              }
            }
            writer.endArray();
          }
        },
        field.member);
  }
  writer.endObject();
}

std::string_view ConfigureData::stringValue(CodingKeys key) noexcept {
  return ConfigureDataAccess::fields()[static_cast<std::size_t>(key)].key;
}

std::optional<ConfigureData::CodingKeys> ConfigureData::codingKey(
    std::string_view jsonKey) noexcept {
  const std::size_t index = fieldIndexOfKey(jsonKey);
  if (index == std::string_view::npos) return {};
  return static_cast<CodingKeys>(index);
}

}  // namespace vexloweb
