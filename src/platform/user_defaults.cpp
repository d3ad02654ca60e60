#include "vexloweb/platform/user_defaults.hpp"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <map>

#include "platform/defaults_store.hpp"
#include "platform/diagnose.hpp"

namespace vexloweb::platform {

namespace {

// Writes in order, each a key and its value (none: a removal). clear() keeps the storage, so the
// strings of the next round's writes reuse the buffers of the last.
class WriteLog {
 public:
  using Entry = std::pair<std::string, std::optional<DefaultsValue>>;

  void add(std::string_view key, const DefaultsValue* value) {
    if (size_ == entries_.size()) entries_.emplace_back();
    auto& [entryKey, entryValue] = entries_[size_++];
    entryKey.assign(key);
    if (value == nullptr) {
      entryValue.reset();
    } else {
      entryValue = *value;
    }
  }
  void clear() noexcept { size_ = 0; }
  std::vector<Entry>::const_iterator begin() const { return entries_.begin(); }
  std::vector<Entry>::const_iterator end() const {
    return entries_.begin() + static_cast<std::ptrdiff_t>(size_);
  }

 private:
  std::vector<Entry> entries_;
  std::size_t size_ = 0;
};

}  // namespace

struct UserDefaults::Impl {
  mutable std::recursive_mutex mutex;
  std::filesystem::path file;  // empty: in memory
  std::unique_ptr<DefaultsStore> store;
  std::unique_ptr<DefaultsStore> nothing;  // what reads see while the file does not exist
  bool persistent = false;
  bool syncFull = false;
  // Why the store keeps its values in memory; said once.
  std::optional<std::string> failure;
  // The store is a reader of the file, or a read found the file unusable: the first write opens
  // it again as a writer (one that may repair it).
  bool reopenForWrite = false;
  int transactionDepth = 0;
  int generation = 0;  // moves on when reset() ends a transaction early
  // The writes of the open transaction, replayed into memory if the database fails midway.
  WriteLog pending;
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

  void release(std::unique_lock<std::recursive_mutex>& lock) noexcept {
    std::vector<std::string> lines;
    if (transactionDepth == 0) lines.swap(notices);
    lock.unlock();
    for (const auto& line : lines) diagnose(line);
  }

  // The store to use. Reading never creates, repairs or moves a file: a store that does not
  // exist yet reads as empty, and one that cannot be read falls back to memory until a write.
  DefaultsStore& ready(bool forWrite) {
    if (store && !(forWrite && reopenForWrite)) return *store;
    if (file.empty()) {
      store = makeMemoryStore();
      persistent = false;
      return *store;
    }
    std::error_code error;
    if (!forWrite && !store && !std::filesystem::exists(file, error)) {
      if (!nothing) nothing = makeMemoryStore();
      return *nothing;
    }
    std::string whyNot;
    std::string notice;
    auto opened = openSqliteStore(file, {forWrite, syncFull}, &whyNot, &notice);
    if (!notice.empty()) notices.push_back("vexloweb: user defaults: " + notice);
    if (opened) {
      store = std::move(opened);  // closes a reader this writer replaces
      persistent = true;
      failure.reset();
      reopenForWrite = !forWrite;
    } else if (!store) {
      store = makeMemoryStore(forWrite ? readableEntries() : DefaultsEntries{});
      persistent = false;
      reopenForWrite = !forWrite;
      warnOnce(whyNot);
    } else {
      // A reader of the file, or memory after an earlier failure: memory it stays, with what
      // the store held.
      DefaultsEntries entries;
      if (store->all(entries)) entries.clear();
      store = makeMemoryStore(entries);
      persistent = false;
      reopenForWrite = false;
      warnOnce(whyNot);
    }
    nothing.reset();
    return *store;
  }

  // What a database that could not be opened for writing still gives a reader (a fault on the
  // write path, or a transient one), so that the memory store in its place starts with the
  // values on file; nothing when it cannot be read either.
  DefaultsEntries readableEntries() const {
    DefaultsEntries entries;
    std::string ignored;
    auto reader = openSqliteStore(file, {false, syncFull}, &ignored, &ignored);
    if (!reader || reader->all(entries)) entries.clear();
    return entries;
  }

  void warnOnce(const std::string& reason) {
    if (failure) return;
    failure = reason;
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
    reopenForWrite = false;
    for (const auto& [key, value] : pending) store->put(key, value ? &*value : nullptr);
    warnOnce(reason);
  }

  // Switches to another file. A transaction open on this thread is committed first; its
  // remaining writes then go to the new store one by one.
  void reset(std::filesystem::path newFile) {
    close();
    store.reset();
    file = std::move(newFile);
    persistent = false;
    failure.reset();
    reopenForWrite = false;
    pending.clear();
  }

  // Closes the database (which folds its journal back into the one file); the next call opens
  // it again.
  void close() {
    if (store && transactionDepth > 0) {
      if (auto why = store->commit()) warnOnce(*why);
      ++generation;
    }
    if (persistent) store.reset();
    nothing.reset();
  }
};

namespace {

// The process-wide stores: the standard one and those of atPath(). Each is closed at exit, so
// that its file holds every value on its own once the process is gone.
struct SharedStores {
  std::mutex mutex;
  std::map<std::filesystem::path, UserDefaults*> byPath;
  std::vector<UserDefaults*> all;
};

SharedStores& sharedStores() {
  static auto* const stores = new SharedStores();
  return *stores;
}

}  // namespace

void UserDefaults::closeSharedStoresAtExit() noexcept {
  SharedStores& stores = sharedStores();
  const std::unique_lock registry(stores.mutex, std::try_to_lock);
  if (!registry.owns_lock()) return;
  for (UserDefaults* defaults : stores.all) {
    Impl& impl = *defaults->impl_;
    // A thread still using the store at exit keeps it; its file stays consistent either way.
    std::unique_lock lock(impl.mutex, std::try_to_lock);
    if (!lock.owns_lock() || impl.transactionDepth > 0) continue;
    impl.close();
    impl.notices.clear();
  }
}

UserDefaults& UserDefaults::share(std::unique_ptr<UserDefaults> defaults) {
  SharedStores& stores = sharedStores();
  if (stores.all.empty()) std::atexit([] { closeSharedStoresAtExit(); });
  stores.all.push_back(defaults.get());
  return *defaults.release();
}

UserDefaults::UserDefaults(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

UserDefaults::UserDefaults(std::filesystem::path file) : impl_(std::make_unique<Impl>()) {
  impl_->file = std::move(file);
}

std::unique_ptr<UserDefaults> UserDefaults::inMemory() {
  return std::unique_ptr<UserDefaults>(new UserDefaults(std::make_unique<Impl>()));
}

UserDefaults::~UserDefaults() = default;

UserDefaults& UserDefaults::standard() {
  static UserDefaults* const defaults = [] {
    const std::lock_guard registry(sharedStores().mutex);
    return &share(std::make_unique<UserDefaults>(defaultStandardPath()));
  }();
  return *defaults;
}

UserDefaults& UserDefaults::atPath(const std::filesystem::path& file) {
  const std::filesystem::path key = file.empty() ? file : std::filesystem::absolute(file);
  SharedStores& stores = sharedStores();
  const std::lock_guard registry(stores.mutex);
  UserDefaults*& defaults = stores.byPath[key];
  if (defaults == nullptr) defaults = &share(std::make_unique<UserDefaults>(key));
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
    impl.pending.add(key, value ? &*value : nullptr);
  if (auto failure = impl.ready(true).put(key, value ? &*value : nullptr)) {
    impl.fallBack(*failure);
    if (impl.transactionDepth == 0) impl.store->put(key, value ? &*value : nullptr);
  }
}

std::optional<DefaultsValue> UserDefaults::object(std::string_view key) const {
  Impl& impl = *impl_;
  const Impl::Lock lock(impl);
  std::optional<DefaultsValue> value;
  if (auto failure = impl.ready(false).get(key, value)) {
    impl.fallBack(*failure);
    impl.store->get(key, value);
  }
  return value;
}

std::vector<std::string> UserDefaults::keys() const {
  Impl& impl = *impl_;
  const Impl::Lock lock(impl);
  DefaultsEntries entries;
  if (auto failure = impl.ready(false).all(entries)) {
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
  impl_->ready(false);
  return !impl_->file.empty() && !impl_->failure;
}

std::optional<std::string> UserDefaults::failure() const {
  const Impl::Lock lock(*impl_);
  return impl_->failure;
}

void UserDefaults::setSyncOnCommit(bool sync) {
  Impl& impl = *impl_;
  const Impl::Lock lock(impl);
  if (impl.syncFull == sync) return;
  impl.syncFull = sync;
  impl.close();  // reopened with the new setting at the next call
}

UserDefaults::Transaction::Transaction(UserDefaults& defaults)
    : defaults_(defaults), lock_(defaults.impl_->mutex), generation_(defaults.impl_->generation) {
  Impl& impl = *defaults_.impl_;
  if (impl.transactionDepth++ > 0) return;
  impl.pending.clear();
  if (auto failure = impl.ready(true).begin()) impl.fallBack(*failure);
}

UserDefaults::Transaction::~Transaction() {
  Impl& impl = *defaults_.impl_;
  if (--impl.transactionDepth > 0) return;
  if (generation_ == impl.generation) {
    if (auto failure = impl.ready(true).commit()) impl.fallBack(*failure);
  }
  impl.pending.clear();
  impl.release(lock_);
}

}  // namespace vexloweb::platform
