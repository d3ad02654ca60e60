// The one network session of an app's views (the main view and its custom tabs): the app's own
// website data (cookies kept in SQLite, local storage, IndexedDB) and cache, so that nothing is
// shared between apps and a sign-in outlives a restart; or, for previews, a session that keeps
// nothing on disk.
#include "window_parts.hpp"

namespace vexloweb::shell {

WebKitNetworkSession* makeNetworkSession(const ShellOptions& options) {
  if (options.preview || options.websiteData.empty()) {
    return webkit_network_session_new_ephemeral();
  }
  WebKitNetworkSession* session =
      webkit_network_session_new(options.websiteData.c_str(), options.websiteCache.c_str());
  // WebKit keeps cookies in memory only unless told where to store them.
  const std::filesystem::path cookies = options.websiteData / "cookies.sqlite";
  webkit_cookie_manager_set_persistent_storage(webkit_network_session_get_cookie_manager(session),
                                               cookies.c_str(),
                                               WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
  return session;
}

}  // namespace vexloweb::shell
