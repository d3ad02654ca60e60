#include "vexloweb/platform/user_defaults.hpp"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/defaults_store.hpp"
#include "platform/diagnose.hpp"

namespace vexloweb::platform {

struct UserDefaults::Impl {
  mutable std::recursive_mutex mutex;
  std::filesystem::path file;  // empty: in memory
  std::unique_ptr<DefaultsStore> store;
  bool persistent = false;
  bool warned = false;
  int transactionDepth = 0;
  int generation = 0;  // moves on when reset() ends a transaction early
  // The writes of the open transaction, replayed into memory if the database fails midway.
  std::vector<std::pair<std::string, std::optional<DefaultsValue>>> pending;
  // Warnings waiting for the store's lock to be released (a handler may use the store).
  std::vector<std::string> notices;

  // The store's lock for one call; the warnings the call raised are handed on once this thread
  // holds the lock no more (not while a transaction it opened still holds it).
  class Lock {
   public:
    explicit Lock(Impl& impl) : impl_(impl), lock_(impl.mutex) {}
    ~Lock() { impl_.release(lock_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

   private:
    Impl& impl_;
    std::unique_lock<std::recursive_mutex> lock_;
  };

  void release(std::unique_lock<std::recursive_mutex>& lock) {
    std::vector<std::string> lines;
    if (transactionDepth == 0) lines.swap(notices);
    lock.unlock();
    for (const auto& line : lines) diagnose(line);
  }

  DefaultsStore& ready() {
    if (!store) open();
    return *store;
  }

  void open() {
    if (file.empty()) {
      store = makeMemoryStore();
      persistent = false;
      return;
    }
    std::string whyNot;
    std::string notice;
    store = openSqliteStore(file, &whyNot, &notice);
    if (!notice.empty()) notices.push_back("vexloweb: user defaults: " + notice);
    persistent = store != nullptr;
    if (!store) {
      store = makeMemoryStore();
      warnOnce(whyNot);
    }
  }

  void warnOnce(const std::string& reason) {
    if (warned) return;
    warned = true;
    notices.push_back("vexloweb: user defaults: " + reason +
                      "; keeping values in memory for this process");
  }

  // The database failed: carry on in memory with what it held, plus this transaction's writes.
  void fallBack(const std::string& reason) {
    DefaultsEntries entries;
    if (store) {
      store->rollback();
      if (store->all(entries)) entries.clear();
    }
    store = makeMemoryStore(entries);
    persistent = false;
    for (const auto& [key, value] : pending) store->put(key, value ? &*value : nullptr);
    warnOnce(reason);
  }

  // Switches to another file. A transaction open on this thread is committed first; its
  // remaining writes then go to the new store one by one.
  void reset(std::filesystem::path newFile) {
    if (store && transactionDepth > 0) {
      if (auto failure = store->commit()) warnOnce(*failure);
      ++generation;
    }
    store.reset();
    file = std::move(newFile);
    persistent = false;
    warned = false;
    pending.clear();
  }
};

UserDefaults::UserDefaults(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

UserDefaults::UserDefaults(std::filesystem::path file) : impl_(std::make_unique<Impl>()) {
  impl_->file = std::move(file);
}

std::unique_ptr<UserDefaults> UserDefaults::inMemory() {
  return std::unique_ptr<UserDefaults>(new UserDefaults(std::make_unique<Impl>()));
}

UserDefaults::~UserDefaults() = default;

UserDefaults& UserDefaults::standard() {
  static auto* const defaults = new UserDefaults(defaultStandardPath());
  return *defaults;
}

void UserDefaults::setStandardPath(std::filesystem::path file) {
  Impl& impl = *standard().impl_;
  const Impl::Lock lock(impl);
  impl.reset(std::move(file));
}

void UserDefaults::setStandardInMemory() { setStandardPath({}); }

std::filesystem::path UserDefaults::defaultStandardPath() {
  std::filesystem::path base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
    base = std::filesystem::path(home) / ".config";
  } else if (const passwd* user = getpwuid(getuid()); user != nullptr && user->pw_dir != nullptr) {
    base = std::filesystem::path(user->pw_dir) / ".config";
  } else {
    base = std::filesystem::temp_directory_path();
  }
  std::error_code error;
  std::string name = std::filesystem::read_symlink("/proc/self/exe", error).filename().string();
  if (name.empty()) name = "app";
  return base / "vexloweb" / (name + ".defaults.sqlite3");
}

void UserDefaults::setObject(std::optional<DefaultsValue> value, std::string_view key) {
  Impl& impl = *impl_;
  const Impl::Lock lock(impl);
  // Only a database can fail midway and need the transaction's writes replayed.
  if (impl.transactionDepth > 0 && impl.persistent)
    impl.pending.emplace_back(std::string(key), value);
  if (auto failure = impl.ready().put(key, value ? &*value : nullptr)) {
    impl.fallBack(*failure);
    if (impl.transactionDepth == 0) impl.store->put(key, value ? &*value : nullptr);
  }
}

std::optional<DefaultsValue> UserDefaults::object(std::string_view key) const {
  Impl& impl = *impl_;
  const Impl::Lock lock(impl);
  std::optional<DefaultsValue> value;
  if (auto failure = impl.ready().get(key, value)) {
    impl.fallBack(*failure);
    impl.store->get(key, value);
  }
  return value;
}

std::vector<std::string> UserDefaults::keys() const {
  Impl& impl = *impl_;
  const Impl::Lock lock(impl);
  DefaultsEntries entries;
  if (auto failure = impl.ready().all(entries)) {
    impl.fallBack(*failure);
    impl.store->all(entries);
  }
  std::vector<std::string> keys;
  keys.reserve(entries.size());
  for (auto& entry : entries) keys.push_back(std::move(entry.first));
  return keys;
}

std::filesystem::path UserDefaults::path() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->file;
}

bool UserDefaults::isPersistent() const {
  const Impl::Lock lock(*impl_);
  impl_->ready();
  return impl_->persistent;
}

UserDefaults::Transaction::Transaction(UserDefaults& defaults)
    : defaults_(defaults), lock_(defaults.impl_->mutex), generation_(defaults.impl_->generation) {
  Impl& impl = *defaults_.impl_;
  if (impl.transactionDepth++ > 0) return;
  impl.pending.clear();
  if (auto failure = impl.ready().begin()) impl.fallBack(*failure);
}

UserDefaults::Transaction::~Transaction() {
  Impl& impl = *defaults_.impl_;
  if (--impl.transactionDepth > 0) return;
  if (generation_ == impl.generation) {
    if (auto failure = impl.ready().commit()) impl.fallBack(*failure);
  }
  impl.pending.clear();
  impl.release(lock_);
}

}  // namespace vexloweb::platform
