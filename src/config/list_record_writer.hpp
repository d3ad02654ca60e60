// Internal: writes records into an open JSON writer, for their encode() and for summaries that
// embed a record without copying it.
#pragma once

#include "config/json_writer.hpp"
#include "vexloweb/config/configure_data.hpp"
#include "vexloweb/config/list_records.hpp"

namespace vexloweb {

void writeListRecord(JsonWriter& writer, const MenuItem& record);
void writeListRecord(JsonWriter& writer, const NavigationTab& record);
void writeListRecord(JsonWriter& writer, const ExternalBrowseUrl& record);
// Throws std::invalid_argument for a NaN or infinite loader_delay, as ConfigureData::encode.
void writeConfigureData(JsonWriter& writer, const ConfigureData& record);

}  // namespace vexloweb
