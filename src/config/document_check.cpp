#include "vexloweb/config/document_check.hpp"

#include "config/field_table.hpp"
#include "config/record_decoder.hpp"

namespace vexloweb {

DocumentCheck checkDocument(std::string_view json) {
  RecordDecoder decoder(RecordDecoder::Mode::kCollectAll);
  DocumentCheck check;
  check.record = decoder.decodeDocument(json);
  check.errors = decoder.errors();
  check.unknownMembers = decoder.unknownMembers();
  check.duplicateMembers = decoder.duplicateMembers();
  for (const FieldInfo& field : ConfigureDataAccess::fields()) {
    std::visit([&](auto member) { check.presentFields += (check.record.*member).has_value(); },
               field.member);
  }
  return check;
}

}  // namespace vexloweb
