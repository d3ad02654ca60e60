#include <map>

#include "platform/defaults_store.hpp"

namespace vexloweb::platform {
namespace {

// A map, with a copy taken at begin() so that rollback() can restore it.
class MemoryStore final : public DefaultsStore {
 public:
  explicit MemoryStore(const DefaultsEntries& entries) : entries_(entries.begin(), entries.end()) {}

  StoreFailure put(std::string_view key, const DefaultsValue* value) override {
    if (value == nullptr) {
      if (auto found = entries_.find(key); found != entries_.end()) entries_.erase(found);
    } else {
      entries_.insert_or_assign(std::string(key), *value);
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
    saved_ = entries_;
    return std::nullopt;
  }
  StoreFailure commit() override {
    saved_.clear();
    return std::nullopt;
  }
  void rollback() override { entries_ = std::move(saved_); }

 private:
  std::map<std::string, DefaultsValue, std::less<>> entries_;
  std::map<std::string, DefaultsValue, std::less<>> saved_;
};

}  // namespace

std::unique_ptr<DefaultsStore> makeMemoryStore(const DefaultsEntries& entries) {
  return std::make_unique<MemoryStore>(entries);
}

}  // namespace vexloweb::platform
