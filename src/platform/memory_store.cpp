#include <map>

#include "platform/defaults_store.hpp"

namespace vexloweb::platform {
namespace {

class MemoryStore final : public DefaultsStore {
 public:
  explicit MemoryStore(const DefaultsEntries& entries) : entries_(entries.begin(), entries.end()) {}

  StoreFailure put(std::string_view key, const DefaultsValue* value) override {
    const auto found = entries_.find(key);
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
  StoreFailure begin() override { return std::nullopt; }
  StoreFailure commit() override { return std::nullopt; }
  void rollback() override {}

 private:
  std::map<std::string, DefaultsValue, std::less<>> entries_;
};

}  // namespace

std::unique_ptr<DefaultsStore> makeMemoryStore(const DefaultsEntries& entries) {
  return std::make_unique<MemoryStore>(entries);
}

}  // namespace vexloweb::platform
