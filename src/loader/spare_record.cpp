#include "loader/spare_record.hpp"

#include <mutex>
#include <type_traits>

#include "config/field_table.hpp"

namespace vexloweb {
namespace {

std::mutex& spareMutex() {
  static auto* const mutex = new std::mutex();
  return *mutex;
}

SpareRecord::Box& kept() {
  static auto* const box = new SpareRecord::Box();
  return *box;
}

// The heap bytes a record's texts and lists hold.
std::size_t heldBytes(const ConfigureData& record) {
  std::size_t bytes = 0;
  const auto text = [&bytes](const std::optional<std::string>& value) {
    if (value) bytes += value->capacity();
  };
  const auto list = [&](const auto& entries) {
    if (!entries) return;
    bytes += entries->capacity() * sizeof(entries->front());
    for (const auto& entry : *entries) {
      for (const auto& value : ListRecordAccess::fields(entry)) text(value);
    }
  };
  for (const auto& field : ConfigureDataAccess::fields()) {
    std::visit(
        [&](auto member) {
          using Slot = std::remove_cvref_t<decltype(record.*member)>;
          if constexpr (std::is_same_v<Slot, std::optional<std::string>>) {
            text(record.*member);
          } else if constexpr (!std::is_arithmetic_v<typename Slot::value_type>) {
            list(record.*member);
          }
        },
        field.member);
  }
  return bytes;
}

}  // namespace

SpareRecord::Box SpareRecord::take() {
  Box box;
  {
    const std::lock_guard lock(spareMutex());
    box.swap(kept());
  }
  if (!box) box = std::make_unique<std::optional<ConfigureData>>();
  if (!*box) box->emplace();
  return box;
}

void SpareRecord::give(Box box) {
  if (!*box || heldBytes(**box) > kSpareBytes) return;
  const std::lock_guard lock(spareMutex());
  if (!kept()) kept().swap(box);
}

}  // namespace vexloweb
