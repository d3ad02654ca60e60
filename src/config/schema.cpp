#include "vexloweb/config/schema.hpp"

#include <limits>

#include "config/field_notes.hpp"
#include "config/field_table.hpp"
#include "config/json_writer.hpp"

namespace vexloweb {
namespace {

void nullable(JsonWriter& writer, std::string_view type) {
  writer.key("type");
  writer.beginArray();
  writer.value(type);
  writer.value("null");
  writer.endArray();
}

// The description, and the known words as examples an editor offers: suggestions, not a list of
// the only valid values.
void describe(JsonWriter& writer, const FieldNote& note) {
  writer.key("description");
  writer.value(note.description);
  if (note.words.empty()) return;
  writer.key("examples");
  writer.beginArray();
  for (std::string_view word : note.words) writer.value(word);
  writer.endArray();
}

void listRecordDefinition(JsonWriter& writer, std::string_view name,
                          const std::array<std::string_view, 3>& keys,
                          const FieldNote& (*note)(std::size_t)) {
  writer.key(name);
  writer.beginObject();
  writer.key("type");
  writer.value("object");
  writer.key("properties");
  writer.beginObject();
  for (std::size_t i = 0; i < keys.size(); ++i) {
    writer.key(keys[i]);
    writer.beginObject();
    describe(writer, note(i));
    nullable(writer, "string");
    writer.endObject();
  }
  writer.endObject();
  writer.endObject();
}

void fieldSchema(JsonWriter& writer, const FieldInfo& field, const FieldNote& note) {
  static constexpr std::string_view kListDefinitions[] = {
      "#/$defs/MenuItem", "#/$defs/NavigationTab", "#/$defs/ExternalBrowseUrl"};
  writer.beginObject();
  describe(writer, note);
  switch (field.kind()) {
    case FieldKind::kText:
      nullable(writer, "string");
      break;
    case FieldKind::kInteger:
      nullable(writer, "integer");
      writer.key("minimum");
      writer.value(std::numeric_limits<std::int64_t>::min());
      writer.key("maximum");
      writer.value(std::numeric_limits<std::int64_t>::max());
      break;
    case FieldKind::kNumber:
      nullable(writer, "number");
      break;
    case FieldKind::kSwitch:
      nullable(writer, "boolean");
      break;
    case FieldKind::kMenuList:
    case FieldKind::kTabList:
    case FieldKind::kExternalList:
      nullable(writer, "array");
      writer.key("items");
      writer.beginObject();
      writer.key("$ref");
      writer.value(kListDefinitions[static_cast<int>(field.kind()) -
                                    static_cast<int>(FieldKind::kMenuList)]);
      writer.endObject();
      break;
  }
  writer.endObject();
}

}  // namespace

std::string configurationSchema() {
  JsonWriter writer;
  writer.beginObject();
  writer.key("$schema");
  writer.value("https://json-schema.org/draft/2020-12/schema");
  writer.key("title");
  writer.value("VexloWebLib configuration document");
  writer.key("type");
  writer.value("object");
  writer.key("properties");
  writer.beginObject();
  const auto& fields = ConfigureDataAccess::fields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    writer.key(fields[i].key);
    fieldSchema(writer, fields[i], fieldNote(i));
  }
  writer.endObject();
  writer.key("$defs");
  writer.beginObject();
  listRecordDefinition(writer, "MenuItem", MenuItem::kKeys, menuItemNote);
  listRecordDefinition(writer, "NavigationTab", NavigationTab::kKeys, navigationTabNote);
  listRecordDefinition(writer, "ExternalBrowseUrl", ExternalBrowseUrl::kKeys,
                       externalBrowseUrlNote);
  writer.endObject();
  writer.endObject();
  return writer.take();
}

}  // namespace vexloweb
