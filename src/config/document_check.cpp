#include "vexloweb/config/document_check.hpp"

#include "config/field_table.hpp"
#include "config/record_decoder.hpp"

namespace vexloweb {

DocumentCheck checkDocument(std::string_view json) {
  RecordDecoder decoder(RecordDecoder::Mode::kCollectAll);
  const ConfigureData record = decoder.decodeDocument(json);
  DocumentCheck check{decoder.errors(), decoder.unknownMembers(), 0};
  for (const FieldInfo& field : ConfigureDataAccess::fields()) {
    std::visit([&](auto member) { check.presentFields += (record.*member).has_value(); },
               field.member);
  }
  return check;
}

}  // namespace vexloweb
