// Internal: writes a list record into an open JSON writer (used by each record's encode and by
// ConfigureData's lists).
#pragma once

#include "config/json_writer.hpp"
#include "vexloweb/config/list_records.hpp"

namespace vexloweb {

void writeListRecord(JsonWriter& writer, const MenuItem& record);
void writeListRecord(JsonWriter& writer, const NavigationTab& record);
void writeListRecord(JsonWriter& writer, const ExternalBrowseUrl& record);

}  // namespace vexloweb
