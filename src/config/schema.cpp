#include "vexloweb/config/schema.hpp"

#include <limits>

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

void listRecordDefinition(JsonWriter& writer, std::string_view name,
                          const std::array<std::string_view, 3>& keys) {
  writer.key(name);
  writer.beginObject();
  writer.key("type");
  writer.value("object");
  writer.key("properties");
  writer.beginObject();
  for (std::string_view key : keys) {
    writer.key(key);
    writer.beginObject();
    nullable(writer, "string");
    writer.endObject();
  }
  writer.endObject();
  writer.endObject();
}

void fieldSchema(JsonWriter& writer, const FieldInfo& field) {
  static constexpr std::string_view kListDefinitions[] = {
      "#/$defs/MenuItem", "#/$defs/NavigationTab", "#/$defs/ExternalBrowseUrl"};
  writer.beginObject();
  if (field.name != field.key) {
    writer.key("description");
    writer.value("the record's field " + std::string(field.name));
  }
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
  for (const FieldInfo& field : ConfigureDataAccess::fields()) {
    writer.key(field.key);
    fieldSchema(writer, field);
  }
  writer.endObject();
  writer.key("$defs");
  writer.beginObject();
  listRecordDefinition(writer, "MenuItem", MenuItem::kKeys);
  listRecordDefinition(writer, "NavigationTab", NavigationTab::kKeys);
  listRecordDefinition(writer, "ExternalBrowseUrl", ExternalBrowseUrl::kKeys);
  writer.endObject();
  writer.endObject();
  return writer.take();
}

}  // namespace vexloweb
