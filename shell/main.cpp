// vexloweb-shell: runs a generated app from its .io file as a desktop web-view app, draws it to
// a PNG, or says what it shows. Exit status: 0 success, 1 the load (or a screenshot, or
// writing the output) failed, 2 usage error, 3 a preview was drawn but its first page failed.
#include <gtk/gtk.h>
#include <CLI/CLI.hpp>

#include <iostream>
#include <optional>
#include <string>

#include "app_model.hpp"
#include "navigation_policy.hpp"
#include "shell_window.hpp"
#include "vexloweb/constants/options.hpp"
#include "vexloweb/loader/file_check.hpp"
#include "vexloweb/loader/load_pipeline.hpp"
#include "vexloweb/platform/bundle.hpp"
#include "vexloweb/platform/user_defaults.hpp"
#include "vexloweb/state/app_data_instance.hpp"
#include "vexloweb/version.hpp"

using namespace vexloweb;

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr int kPageFailed = 3;

bool endsWithPng(const std::string& file) {
  return file.size() > 4 && g_ascii_strcasecmp(file.c_str() + file.size() - 4, ".png") == 0;
}

// Flushes standard output; false, with a sentence on standard error, when it could not be written.
bool flushedOutput() {
  if (std::cout.flush()) return true;
  std::cerr << "vexloweb-shell: cannot write to standard output\n";
  return false;
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
  std::string bundle = ".";
  std::string defaultsFile;
  std::string baseUrl;
  std::string size = "400x800";
  std::string screenshot;
  std::string route;
  bool dumpUi = false;
  std::string name;
  app.add_option("--bundle", bundle, "Folder that holds NAME.io (default: current folder)");
  app.add_option("--defaults", defaultsFile,
                 "User-defaults file (default: $XDG_CONFIG_HOME/vexloweb/"
                 "vexloweb-shell.defaults.sqlite3)");
  app.add_option("--base-url", baseUrl, "Open this address instead of the configuration's");
  app.add_option("--size", size, "Window size WxH for --screenshot and --dump-ui (400x800)");
  app.add_option("--screenshot", screenshot,
                 "Draw the window to FILE.png once the first page "
                 "has loaded, then exit");
  app.add_flag("--dump-ui", dumpUi, "Print what is shown as one JSON object, then exit");
  app.add_option("--route", route,
                 "Print how the app opens a link to URL the user clicks (INSIDE, EXTERNAL, "
                 "CUSTOM_TAB or REFUSED)");
  app.add_option("name", name, "The app's name: NAME.io in the bundle folder")->required();
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error) == 0 ? 0 : kUsage;
  }
  if (app.count("--bundle") > 0 && bundle.empty()) {
    std::cerr << "vexloweb-shell: --bundle needs a folder (as --bundle out)\n";
    return kUsage;
  }
  if (app.count("--defaults") > 0 && defaultsFile.empty()) {
    std::cerr << "vexloweb-shell: --defaults needs a file (as --defaults app.sqlite3)\n";
    return kUsage;
  }
  if (app.count("--screenshot") > 0 && !endsWithPng(screenshot)) {
    std::cerr << "vexloweb-shell: --screenshot writes PNG: give a FILE.png\n";
    return kUsage;
  }
  shell::ShellOptions options;
  options.preview = dumpUi || !screenshot.empty();
  if (!parseSize(size, options.width, options.height)) {
    std::cerr << "vexloweb-shell: --size takes WxH, each from 100 to 8192 (as 400x800)\n";
    return kUsage;
  }

  // The app's own load, reporting what failed as `vexloweb load` does.
  std::error_code pathError;
  const std::filesystem::path bundlePath = std::filesystem::absolute(bundle, pathError);
  if (pathError) {
    std::cerr << "vexloweb-shell: --bundle " << printableText(bundle) << ": " << pathError.message()
              << '\n';
    return kFailed;
  }
  platform::Bundle::setMainPath(bundlePath);
  platform::UserDefaults::setStandardPath(defaultsFile.empty()
                                              ? platform::UserDefaults::defaultStandardPath()
                                              : std::filesystem::path(defaultsFile));
  const LoadOutcome outcome = loadConfiguration(name, std::nullopt, &std::cout);
  const auto record = AppDataInstance::getInstance().configureData();
  if (outcome.failure || !record) {
    std::cerr << "vexloweb-shell: load " << printableText(name) << ": "
              << (outcome.failure ? layerName(outcome.failure->layer) : "document") << ": "
              << printableText(outcome.failure ? outcome.failure->reason : "nothing held") << '\n';
    return kFailed;
  }
  shell::AppModel model = shell::makeAppModel(*record, platform::UserDefaults::standard());
  if (!baseUrl.empty()) model.baseUrl = baseUrl;
  for (const std::string& warning : model.warnings)
    std::cerr << "vexloweb-shell: " << warning << '\n';

  if (!route.empty()) {  // a link the user clicks on the app's first page
    const shell::NavigationRequest click{
        route, model.baseUrl, shell::Frame::kMain, shell::RequestKind::kNavigation, true, false};
    std::cout << shell::decisionWord(shell::decideNavigation(model.rules, click)) << '\n';
    return flushedOutput() ? 0 : kFailed;
  }

  if (!gtk_init_check()) {
    std::cerr << "vexloweb-shell: cannot open a display (set DISPLAY or WAYLAND_DISPLAY, or run "
                 "under xvfb-run)\n";
    return kFailed;
  }
  int status = 0;
  GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
  shell::ShellWindow window(std::move(model), platform::UserDefaults::standard(), options);
  g_signal_connect_swapped(window.window(), "destroy", G_CALLBACK(g_main_loop_quit), loop);
  if (options.preview) {
    window.whenReady([&] {
      if (!screenshot.empty()) {
        std::string why;
        if (!window.screenshot(screenshot, why)) {
          std::cerr << "vexloweb-shell: screenshot: " << why << '\n';
          status = kFailed;
        }
      }
      if (dumpUi) std::cout << window.dumpUi() << '\n';
      if (!flushedOutput()) status = kFailed;
      if (const auto failure = window.firstPageFailure(); failure && status == 0) {
        std::cerr << "vexloweb-shell: page " << printableText(failure->first) << ": "
                  << printableText(failure->second) << '\n';
        status = kPageFailed;
      }
      g_main_loop_quit(loop);
    });
  }
  window.start();
  g_main_loop_run(loop);
  g_main_loop_unref(loop);
  return status;
}
