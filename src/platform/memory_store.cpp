#include <map>
#include <utility>
#include <vector>

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
    if (inTransaction_) remember(key, found);
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
    undoCount_ = 0;
    return std::nullopt;
  }
  StoreFailure commit() override {
    inTransaction_ = false;
    undoCount_ = 0;
    return std::nullopt;
  }
  void rollback() override {
    for (std::size_t i = undoCount_; i-- > 0;) {
      auto& [key, previous] = undo_[i];
      if (previous) {
        entries_.insert_or_assign(key, *previous);
      } else if (const auto found = entries_.find(key); found != entries_.end()) {
        entries_.erase(found);
      }
    }
    inTransaction_ = false;
    undoCount_ = 0;
  }

 private:
  using Map = std::map<std::string, DefaultsValue, std::less<>>;

  // Logs the value `key` had before its first change in this transaction.
  void remember(std::string_view key, Map::const_iterator found) {
    for (std::size_t i = 0; i < undoCount_; ++i) {
      if (undo_[i].first == key) return;
    }
    if (undoCount_ == undo_.size()) undo_.emplace_back();
    auto& [savedKey, previous] = undo_[undoCount_++];
    savedKey.assign(key);
    if (found == entries_.end()) {
      previous.reset();
    } else {
      previous = found->second;
    }
  }

  Map entries_;
  bool inTransaction_ = false;
  std::vector<std::pair<std::string, std::optional<DefaultsValue>>> undo_;
  std::size_t undoCount_ = 0;
};

}  // namespace

std::unique_ptr<DefaultsStore> makeMemoryStore(const DefaultsEntries& entries) {
  return std::make_unique<MemoryStore>(entries);
}

}  // namespace vexloweb::platform
