#include "application.hpp"

#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/x11/gdkx.h>
#endif
#include <glib-unix.h>

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>

#include "app_identity.hpp"
#include "app_model.hpp"
#include "app_paths.hpp"
#include "keyboard.hpp"
#include "navigation_policy.hpp"
#include "shell_window.hpp"
#include "vexloweb/constants/constants.hpp"
#include "vexloweb/constants/options.hpp"
#include "vexloweb/loader/file_check.hpp"
#include "vexloweb/loader/load_pipeline.hpp"
#include "vexloweb/platform/bundle.hpp"
#include "vexloweb/platform/user_defaults.hpp"
#include "vexloweb/state/app_data_instance.hpp"

namespace vexloweb::shell {
namespace {

constexpr int kFailed = 1;
constexpr int kPageFailed = 3;

// Flushes standard output; false, with a sentence on standard error, when it could not be written.
bool flushedOutput() {
  if (std::cout.flush()) return true;
  std::cerr << "vexloweb-shell: cannot write to standard output\n";
  return false;
}

bool reportFailure(const std::string& name, const LoadOutcome& outcome) {
  if (outcome.ok() && AppDataInstance::getInstance().configureData()) return false;
  std::cerr << "vexloweb-shell: load " << printableText(name) << ": "
            << (outcome.failure ? layerName(outcome.failure->layer) : "document") << ": "
            << printableText(outcome.failure ? outcome.failure->reason : "nothing held") << '\n';
  return true;
}

void printWarnings(const AppModel& model) {
  for (const std::string& warning : model.warnings) {
    std::cerr << "vexloweb-shell: " << warning << '\n';
  }
}

// The window, made at the first activation; later activations bring it to the front.
struct Running {
  GtkApplication* app = nullptr;
  AppModel model;
  platform::UserDefaults* defaults = nullptr;
  ShellOptions options;
  const RunRequest* request = nullptr;
  std::unique_ptr<ShellWindow> window;
  int status = 0;

  void activate() {
    if (window) {
      gtk_window_present(GTK_WINDOW(window->window()));
      return;
    }
    window = std::make_unique<ShellWindow>(model, *defaults, options);
    gtk_window_set_application(GTK_WINDOW(window->window()), app);
    addKeys(window->window(), model.fullscreen);
    if (options.preview) window->whenReady([this] { finishPreview(); });
    window->start();
  }

  void finishPreview() {
    if (!request->screenshot.empty()) {
      std::string why;
      if (!window->screenshot(request->screenshot, why)) {
        std::cerr << "vexloweb-shell: screenshot: " << why << '\n';
        status = kFailed;
      }
    }
    if (request->dumpUi) std::cout << window->dumpUi() << '\n';
    if (!flushedOutput()) status = kFailed;
    if (const auto failure = window->firstPageFailure(); failure && status == 0) {
      std::cerr << "vexloweb-shell: page " << printableText(failure->first) << ": "
                << printableText(failure->second) << '\n';
      status = kPageFailed;
    }
    g_application_quit(G_APPLICATION(app));
  }
};

// Hands the launch to the app's running instance: the address to open, else just "come forward".
int handOver(GApplication* app, const std::string& url) {
  if (url.empty()) {
    g_application_activate(app);
  } else {
    GFile* file = g_file_new_for_uri(url.c_str());
    g_application_open(app, &file, 1, "");
    g_object_unref(file);
  }
  if (GDBusConnection* bus = g_application_get_dbus_connection(app)) {
    g_dbus_connection_flush_sync(bus, nullptr, nullptr);
  }
  return 0;
}

}  // namespace

int runApp(const RunRequest& request) {
  // A first load into memory tells which app this is; nothing is written yet.
  std::error_code pathError;
  const std::filesystem::path bundle = std::filesystem::absolute(request.bundle, pathError);
  if (pathError) {
    std::cerr << "vexloweb-shell: --bundle " << printableText(request.bundle) << ": "
              << pathError.message() << '\n';
    return kFailed;
  }
  platform::Bundle::setMainPath(bundle);
  auto memory = platform::UserDefaults::inMemory();
  if (reportFailure(request.name, loadConfigurationFrom(platform::Bundle::main(), *memory,
                                                        request.name, std::nullopt, &std::cout))) {
    return kFailed;
  }
  const auto record = AppDataInstance::getInstance().configureData();
  const std::string id = applicationId(record->package_name().value_or(request.name));
  const AppFolders folders = appFolders(xdgFolders(std::getenv), id);
  const bool preview = request.dumpUi || !request.screenshot.empty();
  const bool ownData = !preview && request.route.empty();

  if (!ownData && request.defaultsFile.empty()) {
    // A preview shows the theme the user picked in the app, read from its store if there is one
    // (reading creates nothing); everything else stays in memory.
    if (std::filesystem::exists(folders.defaults)) {
      platform::UserDefaults store(folders.defaults);
      if (auto theme = store.object(Constants::KEY_THEME)) {
        memory->setObject(*theme, Constants::KEY_THEME);
      }
    }
  }
  if (!request.route.empty()) {  // a link the user clicks on the app's first page
    AppModel model = makeAppModel(*record, *memory);
    if (!request.baseUrl.empty()) model.baseUrl = request.baseUrl;
    printWarnings(model);
    const NavigationRequest click{
        request.route, model.baseUrl, Frame::kMain, RequestKind::kNavigation, true, false};
    std::cout << decisionWord(decideNavigation(model.rules, click)) << '\n';
    return flushedOutput() ? 0 : kFailed;
  }

  g_set_prgname(id.c_str());  // the window's class on X11, and WebKit's and GTK's own name for it
  if (preview) {
    // A preview draws into a PNG and needs no GL; probing the driver would also leave its shader
    // cache under the user's folders.
    const char* debug = g_getenv("GDK_DEBUG");
    const std::string flags = debug != nullptr && debug[0] != '\0'
                                  ? std::string(debug) + ",gl-disable"
                                  : std::string("gl-disable");
    g_setenv("GDK_DEBUG", flags.c_str(), TRUE);
  }
  // Without a session bus GTK's accessibility layer, which can still find the accessibility bus
  // through the X display, sends without the application's object path and can crash at exit;
  // no screen reader can reach the app then anyway, so the layer stays off.
  if (GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr)) {
    g_object_unref(bus);
  } else {
    g_setenv("GTK_A11Y", "none", FALSE);
  }
  if (!gtk_init_check()) {
    std::cerr << "vexloweb-shell: cannot open a display (set DISPLAY or WAYLAND_DISPLAY, or run "
                 "under xvfb-run)\n";
    return kFailed;
  }
#ifdef GDK_WINDOWING_X11
  if (GDK_IS_X11_DISPLAY(gdk_display_get_default())) {
    gdk_x11_display_set_program_class(gdk_display_get_default(), id.c_str());
  }
#endif
  Running running;
  running.app = gtk_application_new(
      id.c_str(), preview ? G_APPLICATION_NON_UNIQUE : G_APPLICATION_HANDLES_OPEN);
  GApplication* app = G_APPLICATION(running.app);
  GError* error = nullptr;
  if (!g_application_register(app, nullptr, &error)) {
    // No bus to ask: this launch runs on its own, as every launch does without a session bus.
    g_error_free(error);
  } else if (g_application_get_is_remote(app)) {
    const int status = handOver(app, request.baseUrl);
    g_object_unref(app);
    return status;
  }

  // The first instance: the app's own store and website data.
  platform::UserDefaults* defaults = memory.get();
  std::string why;
  if (!request.defaultsFile.empty() || ownData) {
    if (request.defaultsFile.empty() && !makePrivateFolder(folders.config, &why)) {
      std::cerr << "vexloweb-shell: " << why << '\n';
      return kFailed;
    }
    platform::UserDefaults::setStandardPath(request.defaultsFile.empty()
                                                ? folders.defaults
                                                : std::filesystem::path(request.defaultsFile));
    if (reportFailure(request.name, loadConfiguration(request.name))) return kFailed;
    defaults = &platform::UserDefaults::standard();
  }
  running.model = makeAppModel(*AppDataInstance::getInstance().configureData(), *defaults);
  if (!request.baseUrl.empty()) running.model.baseUrl = request.baseUrl;
  printWarnings(running.model);
  running.defaults = defaults;
  running.request = &request;
  running.options.preview = preview;
  running.options.width = request.width;
  running.options.height = request.height;
  if (ownData) {
    if (!makePrivateFolder(folders.website, &why) || !makePrivateFolder(folders.cache, &why)) {
      std::cerr << "vexloweb-shell: " << why << '\n';
      return kFailed;
    }
    running.options.websiteData = folders.website;
    running.options.websiteCache = folders.cache;
  }

  g_signal_connect_swapped(app, "activate", G_CALLBACK(+[](Running* r) { r->activate(); }),
                           &running);
  g_signal_connect(
      app, "open",
      G_CALLBACK(+[](GApplication*, GFile** files, int count, const char*, Running* r) {
        r->activate();
        if (count > 0) {
          char* uri = g_file_get_uri(files[0]);
          r->window->open(uri);
          g_free(uri);
        }
      }),
      &running);
  // Ended by the session or by Ctrl+C: close the window, so that WebKit writes what it holds.
  const auto quit = +[](gpointer data) -> gboolean {
    auto* r = static_cast<Running*>(data);
    if (r->window) gtk_window_destroy(GTK_WINDOW(r->window->window()));
    g_application_quit(G_APPLICATION(r->app));
    return G_SOURCE_CONTINUE;
  };
  const guint term = g_unix_signal_add(SIGTERM, quit, &running);
  const guint interrupt = g_unix_signal_add(SIGINT, quit, &running);
  g_application_run(app, 0, nullptr);
  g_source_remove(term);
  g_source_remove(interrupt);
  running.window.reset();
  g_object_unref(app);
  return running.status;
}

}  // namespace vexloweb::shell
