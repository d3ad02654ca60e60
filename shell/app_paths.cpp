#include "app_paths.hpp"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vexloweb::shell {

XdgFolders xdgFolders(const std::function<const char*(const char*)>& getenv) {
  std::filesystem::path home;
  if (const char* value = getenv("HOME"); value != nullptr && value[0] != '\0') {
    home = value;
  } else if (const passwd* user = getpwuid(getuid()); user != nullptr && user->pw_dir != nullptr) {
    home = user->pw_dir;
  } else {
    home = "/";
  }
  const auto base = [&](const char* name, const char* fallback) {
    const char* value = getenv(name);
    return value != nullptr && value[0] == '/' ? std::filesystem::path(value) : home / fallback;
  };
  return {base("XDG_DATA_HOME", ".local/share"), base("XDG_CONFIG_HOME", ".config"),
          base("XDG_CACHE_HOME", ".cache")};
}

AppFolders appFolders(const XdgFolders& xdg, std::string_view id) {
  const std::string name(id);
  AppFolders folders;
  folders.data = xdg.data / "vexloweb" / "apps" / name;
  folders.website = folders.data / "website";
  folders.cache = xdg.cache / "vexloweb" / "apps" / name;
  folders.config = xdg.config / "vexloweb" / "apps" / name;
  folders.defaults = folders.config / "defaults.sqlite3";
  folders.desktopEntry = xdg.data / "applications" / (name + ".desktop");
  folders.icon = xdg.data / "icons" / "hicolor" / "scalable" / "apps" / (name + ".svg");
  return folders;
}

bool makePrivateFolder(const std::filesystem::path& folder, std::string* whyNot) {
  // Each level by mkdir itself, so that no new folder is ever wider than 0700, even for a moment.
  std::filesystem::path path;
  for (const auto& part : folder) {
    path /= part;
    if (::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) {
      struct stat info {};
      if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) continue;
      if (whyNot != nullptr) *whyNot = path.string() + ": not a folder";
      return false;
    }
    if (whyNot != nullptr) *whyNot = path.string() + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace vexloweb::shell
