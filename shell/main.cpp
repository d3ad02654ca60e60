// vexloweb-shell: runs a generated app from its .io file as a desktop web-view app, draws it to
// a PNG, or says what it shows; installs it in the desktop's app menu, and removes it. Exit
// status: 0 success, 1 the load (or a screenshot, an install, or writing the output) failed,
// 2 usage error, 3 a preview was drawn but its first page failed.
#include <glib.h>
#include <CLI/CLI.hpp>

#include <iostream>
#include <string>

#include "application.hpp"
#include "commands.hpp"
#include "vexloweb/version.hpp"

namespace {

constexpr int kUsage = 2;

bool endsWithPng(const std::string& file) {
  return file.size() > 4 && g_ascii_strcasecmp(file.c_str() + file.size() - 4, ".png") == 0;
}

bool parseSize(const std::string& text, int& width, int& height) {
  const auto x = text.find('x');
  if (x == std::string::npos) return false;
  try {
    std::size_t used = 0;
    width = std::stoi(text.substr(0, x), &used);
    if (used != x) return false;
    height = std::stoi(text.substr(x + 1), &used);
    if (used != text.size() - x - 1) return false;
  } catch (const std::exception&) {
    return false;
  }
  return width >= 100 && height >= 100 && width <= 8192 && height <= 8192;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Runs a generated VexloWeb app from its .io file on the desktop."};
  app.set_version_flag("--version", std::string("vexloweb-shell ") + VEXLOWEB_VERSION_STRING);
  vexloweb::shell::RunRequest run;
  std::string size = "400x800";
  app.add_option("--bundle", run.bundle, "Folder that holds NAME.io (default: current folder)");
  app.add_option("--defaults", run.defaultsFile,
                 "User-defaults file (default: the app's own, $XDG_CONFIG_HOME/vexloweb/apps/"
                 "ID/defaults.sqlite3)");
  app.add_option("--base-url", run.baseUrl, "Open this address instead of the configuration's");
  app.add_option("--size", size, "Window size WxH for --screenshot and --dump-ui (400x800)");
  app.add_option("--screenshot", run.screenshot,
                 "Draw the window to FILE.png once the first page has loaded, then exit");
  app.add_flag("--dump-ui", run.dumpUi, "Print what is shown as one JSON object, then exit");
  app.add_option("--route", run.route,
                 "Print how the app opens a link to URL the user clicks (INSIDE, EXTERNAL, "
                 "CUSTOM_TAB or REFUSED)");
  app.add_option("name", run.name, "The app's name: NAME.io in the bundle folder");

  std::string installBundle = ".";
  std::string target;
  bool purge = false;
  CLI::App* install = app.add_subcommand("install", "Put NAME.io in the desktop's app menu");
  install->add_option("--bundle", installBundle, "Folder that holds NAME.io (current folder)");
  install->add_option("name", target, "The app's name: NAME.io in the bundle folder")->required();
  CLI::App* uninstall = app.add_subcommand("uninstall", "Take an installed app out of the menu");
  uninstall->add_flag("--purge", purge, "Also remove its website data, cache and settings");
  uninstall->add_option("name", target, "The app's NAME or application id")->required();
  CLI::App* list = app.add_subcommand("list", "Show the installed apps: NAME, id, title");
  app.require_subcommand(0, 1);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error) == 0 ? 0 : kUsage;
  }
  if (install->parsed() && installBundle.empty()) {
    std::cerr << "vexloweb-shell: --bundle needs a folder (as --bundle out)\n";
    return kUsage;
  }
  if (install->parsed()) return vexloweb::shell::installCommand(installBundle, target);
  if (uninstall->parsed()) return vexloweb::shell::uninstallCommand(target, purge);
  if (list->parsed()) return vexloweb::shell::listCommand();
  if (run.name.empty()) {
    std::cerr << "vexloweb-shell: the app's name is required (NAME, or install, uninstall or "
                 "list); see --help\n";
    return kUsage;
  }
  if (app.count("--bundle") > 0 && run.bundle.empty()) {
    std::cerr << "vexloweb-shell: --bundle needs a folder (as --bundle out)\n";
    return kUsage;
  }
  if (app.count("--defaults") > 0 && run.defaultsFile.empty()) {
    std::cerr << "vexloweb-shell: --defaults needs a file (as --defaults app.sqlite3)\n";
    return kUsage;
  }
  if (app.count("--screenshot") > 0 && !endsWithPng(run.screenshot)) {
    std::cerr << "vexloweb-shell: --screenshot writes PNG: give a FILE.png\n";
    return kUsage;
  }
  if (!parseSize(size, run.width, run.height)) {
    std::cerr << "vexloweb-shell: --size takes WxH, each from 100 to 8192 (as 400x800)\n";
    return kUsage;
  }
  return vexloweb::shell::runApp(run);
}
