#include "commands.hpp"

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "app_icon.hpp"
#include "app_identity.hpp"
#include "app_model.hpp"
#include "desktop_entry.hpp"
#include "installer.hpp"
#include "vexloweb/loader/file_check.hpp"
#include "vexloweb/loader/load_pipeline.hpp"
#include "vexloweb/platform/bundle.hpp"
#include "vexloweb/platform/file.hpp"
#include "vexloweb/platform/user_defaults.hpp"
#include "vexloweb/state/app_data_instance.hpp"

namespace vexloweb::shell {
namespace {

constexpr int kFailed = 1;

int fail(const std::string& what, const std::string& why) {
  std::cerr << "vexloweb-shell: " << what << ": " << printableText(why) << '\n';
  return kFailed;
}

}  // namespace

int installCommand(const std::string& bundle, const std::string& name) {
  const std::string what = "install " + printableText(name);
  if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..") {
    return fail(what, "NAME must be a file name, without '/'");
  }
  // The app is loaded as it will run, into a store in memory: what cannot load is not installed.
  const platform::Bundle source(std::filesystem::absolute(bundle));
  auto memory = platform::UserDefaults::inMemory();
  const LoadOutcome outcome = loadConfigurationFrom(source, *memory, name);
  const auto record = AppDataInstance::getInstance().configureData();
  if (outcome.failure || !record) {
    return fail(what, outcome.failure ? std::string(layerName(outcome.failure->layer)) + ": " +
                                            outcome.failure->reason
                                      : "nothing held");
  }
  std::string why;
  const auto io = platform::readRegularFile(*source.pathForResource(name, "io"), &why);
  if (!io) return fail(what, why);

  const AppModel model = makeAppModel(*record, *memory);
  const std::string id = applicationId(record->package_name().value_or(name));
  const AppFolders folders = appFolders(xdgFolders(std::getenv), id);
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return fail(what, "cannot tell where vexloweb-shell is: " + error.message());
  // Launchers look the program up before they expand field codes, so a '%' in its path (written
  // "%%") names a file that does not exist and the entry would be hidden.
  if (program.string().find('%') != std::string::npos) {
    return fail(what, "launchers cannot run a program whose path holds '%': " + program.string());
  }
  // "--" before NAME: an app named "list" or "-x" is still an app.
  const auto exec =
      execValue({program.string(), "--bundle", folders.data.string(), "--", name}, &why);
  if (!exec) return fail(what, why);
  DesktopEntry entry;
  entry.id = id;
  entry.name = displayValue(model.title);  // menu_header_title, else package_name
  if (entry.name.empty()) entry.name = id;
  entry.exec = *exec;
  entry.comment = displayValue(record->menu_header_details().value_or(""));
  if (!installApp(folders,
                  {name, *io, desktopEntryText(entry), iconSvg(model.title, model.colours)},
                  &why)) {
    return fail(what, why);
  }
  std::cout << id << '\t' << folders.desktopEntry.string() << '\n';
  return std::cout.flush() ? 0 : kFailed;
}

int uninstallCommand(const std::string& nameOrId, bool purge) {
  const std::string what = "uninstall " + printableText(nameOrId);
  const XdgFolders xdg = xdgFolders(std::getenv);
  std::vector<std::string> ids = findInstalled(xdg, nameOrId);
  if (ids.empty() && purge && isApplicationId(nameOrId)) ids.push_back(nameOrId);  // data only
  if (ids.empty()) return fail(what, "no installed app has that name or id ('list' shows them)");
  if (ids.size() > 1) {
    std::string all;
    for (const std::string& id : ids) all += (all.empty() ? "" : ", ") + id;
    return fail(what, "several installed apps have that name (" + all + "); give the id");
  }
  std::string why;
  if (!uninstallApp(xdg, ids.front(), purge, &why)) return fail(what, why);
  return 0;
}

int listCommand() {
  for (const InstalledApp& app : installedApps(xdgFolders(std::getenv))) {
    std::cout << printableText(app.name) << '\t' << app.id << '\t' << app.title << '\n';
  }
  return std::cout.flush() ? 0 : kFailed;
}

}  // namespace vexloweb::shell
