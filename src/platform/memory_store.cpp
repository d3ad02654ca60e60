#include <iterator>
#include <map>

#include "platform/defaults_store.hpp"

namespace vexloweb::platform {
namespace {

// A map. A transaction keeps, for each key it changes, the value the key had before (an undo
// log), so that rollback() can restore them; the log's storage is reused by the next one.
class MemoryStore final : public DefaultsStore {
 public:
  explicit MemoryStore(const DefaultsEntries& entries) : entries_(entries.begin(), entries.end()) {}

  StoreFailure put(std::string_view key, const DefaultsValue* value) override {
    const auto found = entries_.find(key);
    if (inTransaction_ && !undo_.contains(key)) {
      undo_.add(key, found != entries_.end() ? &found->second : nullptr);
    }
    if (value == nullptr) {
      if (found != entries_.end()) entries_.erase(found);
    } else if (found != entries_.end()) {
      found->second = *value;  // reuses the old value's storage
    } else {
      entries_.emplace(std::string(key), *value);
    }
    return std::nullopt;
  }
  StoreFailure get(std::string_view key, std::optional<DefaultsValue>& value) override {
    const auto found = entries_.find(key);
    value = found != entries_.end() ? std::optional(found->second) : std::nullopt;
    return std::nullopt;
  }
  StoreFailure all(DefaultsEntries& entries) override {
    entries.assign(entries_.begin(), entries_.end());
    return std::nullopt;
  }
  StoreFailure begin() override {
    inTransaction_ = true;
    undo_.clear();
    return std::nullopt;
  }
  StoreFailure commit() override {
    inTransaction_ = false;
    undo_.clear();
    return std::nullopt;
  }
  void rollback() override {
    for (auto entry = std::make_reverse_iterator(undo_.end());
         entry != std::make_reverse_iterator(undo_.begin()); ++entry) {
      const auto& [key, previous] = *entry;
      if (previous) {
        entries_.insert_or_assign(key, *previous);
      } else if (const auto found = entries_.find(key); found != entries_.end()) {
        entries_.erase(found);
      }
    }
    inTransaction_ = false;
    undo_.clear();
  }

 private:
  std::map<std::string, DefaultsValue, std::less<>> entries_;
  bool inTransaction_ = false;
  WriteLog undo_;  // the value each key had before the transaction first changed it
};

}  // namespace

std::unique_ptr<DefaultsStore> makeMemoryStore(const DefaultsEntries& entries) {
  return std::make_unique<MemoryStore>(entries);
}

}  // namespace vexloweb::platform
