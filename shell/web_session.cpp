#include "web_session.hpp"

namespace vexloweb::shell {

WebKitNetworkSession* makeNetworkSession(const std::filesystem::path& data,
                                         const std::filesystem::path& cache) {
  if (data.empty()) return webkit_network_session_new_ephemeral();
  WebKitNetworkSession* session = webkit_network_session_new(data.c_str(), cache.c_str());
  // WebKit keeps cookies in memory only unless told where to store them.
  const std::filesystem::path cookies = data / "cookies.sqlite";
  webkit_cookie_manager_set_persistent_storage(webkit_network_session_get_cookie_manager(session),
                                               cookies.c_str(),
                                               WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
  return session;
}

}  // namespace vexloweb::shell
