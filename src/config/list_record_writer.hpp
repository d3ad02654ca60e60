// Internal: writes records into an open JSON writer, for their encode() and for summaries that
// embed a record without copying it.
#pragma once

#include "config/json_writer.hpp"
#include "vexloweb/config/configure_data.hpp"
#include "vexloweb/config/list_records.hpp"

namespace vexloweb {

// Each throws std::invalid_argument naming the member (as "menu" or "menus[1].menu") whose text
// is not UTF-8: such a record would encode to JSON that its own decoder refuses.
void writeText(JsonWriter& writer, std::string_view key, std::string_view text);
void writeListRecord(JsonWriter& writer, const MenuItem& record);
void writeListRecord(JsonWriter& writer, const NavigationTab& record);
void writeListRecord(JsonWriter& writer, const ExternalBrowseUrl& record);
// Also throws std::invalid_argument for a NaN or infinite loader_delay, as ConfigureData::encode.
void writeConfigureData(JsonWriter& writer, const ConfigureData& record);

}  // namespace vexloweb
