// The network session an app's web views share: the app's own website data (cookies kept in
// SQLite, local storage, IndexedDB) and cache, so that nothing is shared between apps and a
// sign-in outlives a restart; or, for previews, a session that keeps nothing on disk.
#pragma once

#include <webkit/webkit.h>

#include <filesystem>

namespace vexloweb::shell {

// A new session (the caller's reference): ephemeral when `data` is empty, else kept under `data`
// and `cache`, which the caller has made (owner-only).
WebKitNetworkSession* makeNetworkSession(const std::filesystem::path& data,
                                         const std::filesystem::path& cache);

}  // namespace vexloweb::shell
