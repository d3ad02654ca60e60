#include "shell_window.hpp"

#include "vexloweb/gtk.hpp"
#include "window_parts.hpp"

namespace vexloweb::shell {
namespace {

constexpr int kReadyTimeoutSeconds = 20;
constexpr int kSettleMilliseconds = 800;  // for the first page's scripts before a preview
constexpr int kMostSettles = 5;           // and for addresses still waiting to be decided, and
                                          // for the window to be shown
constexpr int kMostFrames = 30;           // then for a frame that draws the whole window,
constexpr guint kMostFrameWaitMilliseconds = 3000;  // however slow the frames come

bool isLocal(const char* uri) {
  GUri* parsed = g_uri_parse(uri, G_URI_FLAGS_NONE, nullptr);
  if (parsed == nullptr) return true;
  const char* host = g_uri_get_host(parsed);
  const std::string name = host != nullptr ? host : "";
  g_uri_unref(parsed);
  return name.empty() || name == "localhost" || name.starts_with("127.") || name == "::1";
}

gboolean onLoadFailed(WebKitWebView* /*view*/, WebKitLoadEvent /*event*/, const char* failingUri,
                      GError* error, ShellWindow::Impl* self) {
  if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) ||
      g_error_matches(error, WEBKIT_POLICY_ERROR,
                      WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE)) {
    return FALSE;  // a navigation the policy stopped, or a download
  }
  // Offline: the machine has no network at all; a server that does not answer is an error.
  const bool offline = !g_network_monitor_get_network_available(g_network_monitor_get_default()) &&
                       !isLocal(failingUri);
  self->showError(offline, failingUri, error->message);
  return TRUE;
}

gboolean onTlsError(WebKitWebView* /*view*/, const char* uri, GTlsCertificate* /*certificate*/,
                    GTlsCertificateFlags /*errors*/, ShellWindow::Impl* self) {
  self->showError(false, uri, "the site's certificate is not trusted");  // never ignored
  return TRUE;
}

void onLoadChanged(WebKitWebView* /*view*/, WebKitLoadEvent event, ShellWindow::Impl* self) {
  if (event == WEBKIT_LOAD_STARTED) {
    self->loadStarted = g_get_monotonic_time();
    if (self->model.loaderShown) gtk::setVisibilityState(self->loader, "visible");
  } else if (event == WEBKIT_LOAD_FINISHED) {
    self->finishLoading();
  }
}

}  // namespace

void ShellWindow::Impl::build() {
  session = makeNetworkSession(options);
  window = gtk_window_new();
  gtk_window_set_title(GTK_WINDOW(window), model.title.c_str());
  gtk_window_set_default_size(GTK_WINDOW(window), options.width, options.height);
  if (options.preview) gtk_window_set_decorated(GTK_WINDOW(window), FALSE);
  css = gtk_css_provider_new();
  gtk_style_context_add_provider_for_display(gdk_display_get_default(), GTK_STYLE_PROVIDER(css),
                                             GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  applyColours();

  GtkWidget* root = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  buildBar(root);
  GtkWidget* middle = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
  gtk_widget_set_vexpand(middle, TRUE);
  buildSideMenu(middle);
  GtkWidget* content = gtk_overlay_new();
  gtk_widget_set_hexpand(content, TRUE);
  web = makeWebView(model, session);
  gtk_overlay_set_child(GTK_OVERLAY(content), web);
  guard(web, false);
  g_signal_connect(web, "load-changed", G_CALLBACK(onLoadChanged), this);
  g_signal_connect(web, "load-failed", G_CALLBACK(onLoadFailed), this);
  g_signal_connect(web, "load-failed-with-tls-errors", G_CALLBACK(onTlsError), this);
  watchDownloads();
  buildLoaderAndErrors(content);
  gtk_box_append(GTK_BOX(middle), content);
  gtk_box_append(GTK_BOX(root), middle);
  buildAds(root);
  buildTabs(root);

  // The splash covers the window (FULL_SCREEN) or the content below the bar (STANDER).
  GtkWidget* top = gtk_overlay_new();
  gtk_overlay_set_child(GTK_OVERLAY(top), root);
  buildSplash(model.splash == Splash::kFullScreen ? top : content);
  gtk_window_set_child(GTK_WINDOW(window), top);
}

void ShellWindow::Impl::load(const std::string& url) {
  hideError();
  loadOwn(web, url);
}

void ShellWindow::Impl::reload() {
  hideError();
  const char* uri = webkit_web_view_get_uri(WEBKIT_WEB_VIEW(web));
  if (uri == nullptr || std::string_view(uri).empty() || std::string_view(uri) == "about:blank") {
    load(model.baseUrl);
  } else {
    webkit_web_view_reload(WEBKIT_WEB_VIEW(web));
  }
}

void ShellWindow::Impl::showError(bool offline, const std::string& address,
                                  const std::string& reason) {
  if (!firstLoadDone && !firstPageFailure) firstPageFailure.emplace(address, reason);
  shownError = offline ? "no_internet" : "error";
  gtk_label_set_text(GTK_LABEL(errorTitle),
                     (offline ? model.noInternetTitle : model.errorTitle).c_str());
  gtk_label_set_text(GTK_LABEL(errorText),
                     (offline ? model.noInternetDetails : model.errorText).c_str());
  gtk_label_set_text(GTK_LABEL(errorReason), reason.c_str());
  gtk::setVisibilityState(errorPage, "visible");
  if (offline && retryTimer == 0) {
    retryTimer = g_timeout_add_seconds(
        static_cast<guint>(model.noInternetSeconds),
        +[](gpointer self) -> gboolean {
          static_cast<Impl*>(self)->retryTimer = 0;
          static_cast<Impl*>(self)->reload();
          return G_SOURCE_REMOVE;
        },
        this);
  }
}

void ShellWindow::Impl::hideError() {
  shownError.clear();
  gtk::setVisibilityState(errorPage, "gone");
}

void ShellWindow::Impl::finishLoading() {
  // The indicator stays at least loader_delay seconds from the start of the load.
  const gint64 shownFor = g_get_monotonic_time() - loadStarted;
  const gint64 rest = static_cast<gint64>(model.loaderSeconds * G_USEC_PER_SEC) - shownFor;
  if (rest <= 0) {
    gtk::setVisibilityState(loader, "gone");
  } else {
    g_timeout_add(
        static_cast<guint>(rest / 1000),
        +[](gpointer self) -> gboolean {
          gtk::setVisibilityState(static_cast<Impl*>(self)->loader, "gone");
          return G_SOURCE_REMOVE;
        },
        this);
  }
  if (!firstLoadDone) {
    // WebKit stops some addresses (a restricted port) without a failure: the view stays blank.
    const char* uri = webkit_web_view_get_uri(WEBKIT_WEB_VIEW(web));
    if (shownError.empty() && model.baseUrl != "about:blank" &&
        (uri == nullptr || std::string_view(uri) == "about:blank")) {
      showError(false, model.baseUrl, "nothing was loaded from this address");
    }
    firstLoadDone = true;
    maybeReady();
  }
}

void ShellWindow::Impl::maybeReady() {
  if (!splashDone || !firstLoadDone || readyRun || !ready) return;
  readyRun = true;
  g_timeout_add(
      kSettleMilliseconds,
      +[](gpointer p) -> gboolean {
        auto* self = static_cast<Impl*>(p);
        // A busy machine can map the window after the first page has loaded: nothing to draw yet.
        const bool waiting = self->stillDeciding() || !gtk_widget_get_mapped(self->window);
        if (waiting && ++self->settles < kMostSettles) return G_SOURCE_CONTINUE;
        self->readyOnceDrawn();
        return G_SOURCE_REMOVE;
      },
      this);
}

// A preview reads the picture the window last drew. A page that keeps changing leaves the window
// waiting for its next frame most of the time (on Wayland a frame waits for the compositor), so
// the preview runs right after a frame has been drawn, or after a few frames in any case.
void ShellWindow::Impl::readyOnceDrawn() {
  GdkFrameClock* clock = gtk_widget_get_frame_clock(window);
  if (clock == nullptr || hasPicture()) {
    ready();
    return;
  }
  afterPaint =
      g_signal_connect_swapped(clock, "after-paint", G_CALLBACK(+[](Impl* self) {
                                 if (!self->hasPicture() && ++self->framesWaited < kMostFrames) {
                                   gtk_widget_queue_draw(self->window);
                                   return;
                                 }
                                 self->readyNow();
                               }),
                               this);
  gtk_widget_queue_draw(window);
  // A window that is never drawn again (its frames held back) is read as it stands.
  frameWait = g_timeout_add(
      kMostFrameWaitMilliseconds,
      +[](gpointer p) -> gboolean {
        static_cast<Impl*>(p)->frameWait = 0;
        static_cast<Impl*>(p)->readyNow();
        return G_SOURCE_REMOVE;
      },
      this);
}

void ShellWindow::Impl::readyNow() {
  if (afterPaint == 0) return;  // ran already
  g_signal_handler_disconnect(gtk_widget_get_frame_clock(window), afterPaint);
  afterPaint = 0;
  if (frameWait != 0) g_source_remove(frameWait);
  frameWait = 0;
  ready();
}

void ShellWindow::Impl::act(ButtonAction action) {
  switch (action) {
    case ButtonAction::kSideMenu:
      gtk_revealer_set_reveal_child(GTK_REVEALER(sideMenu),
                                    !gtk_revealer_get_reveal_child(GTK_REVEALER(sideMenu)));
      break;
    case ButtonAction::kReload:
      reload();
      break;
    case ButtonAction::kShare: {
      const char* uri = webkit_web_view_get_uri(WEBKIT_WEB_VIEW(web));
      handToDesktop(uri != nullptr ? uri : model.baseUrl);
      break;
    }
    case ButtonAction::kHome:
      load(model.baseUrl);
      break;
    case ButtonAction::kNavigation:
      if (webkit_web_view_can_go_back(WEBKIT_WEB_VIEW(web))) {
        webkit_web_view_go_back(WEBKIT_WEB_VIEW(web));
      }
      break;
    case ButtonAction::kNone:
      break;
  }
}

void ShellWindow::Impl::choose(std::size_t index) {
  const MenuEntry& entry = model.menu[index];
  gtk_revealer_set_reveal_child(GTK_REVEALER(sideMenu), FALSE);
  if (!entry.command) {
    if (entry.url) load(*entry.url);
    return;
  }
  switch (*entry.command) {
    case Command::kHome:
      load(model.baseUrl);
      break;
    case Command::kTheme:
      showThemes();
      break;
    case Command::kAbout:
      showAbout();
      break;
    case Command::kRate:
      handToDesktop(entry.url && !entry.url->empty() ? *entry.url
                    : !model.aboutWebsite.empty()    ? model.aboutWebsite
                                                     : model.baseUrl);
      break;
    case Command::kShare:
      handToDesktop(model.baseUrl);
      break;
    case Command::kExit:
      gtk_window_destroy(GTK_WINDOW(window));
      break;
  }
}

ShellWindow::ShellWindow(AppModel model, platform::UserDefaults& defaults, ShellOptions options)
    : impl_(std::make_unique<Impl>(std::move(model), defaults, options)) {
  impl_->build();
}

ShellWindow::~ShellWindow() {
  if (impl_->retryTimer != 0) g_source_remove(impl_->retryTimer);
  g_object_unref(impl_->css);
  g_signal_handlers_disconnect_by_data(impl_->session,
                                       impl_.get());  // a shared session outlives us
  g_object_unref(impl_->session);
}

GtkWidget* ShellWindow::window() const { return impl_->window; }

void ShellWindow::open(const std::string& url) {
  impl_->load(url);
  gtk_window_present(GTK_WINDOW(impl_->window));
}

void ShellWindow::start() {
  if (impl_->model.fullscreen && !impl_->options.preview) {
    gtk_window_fullscreen(GTK_WINDOW(impl_->window));
  }
  gtk_window_present(GTK_WINDOW(impl_->window));
  if (!impl_->splashDone) {
    g_timeout_add(
        static_cast<guint>(impl_->model.splashSeconds * 1000),
        +[](gpointer p) -> gboolean {
          auto* self = static_cast<Impl*>(p);
          gtk::setVisibilityState(self->splash, "gone");
          self->splashDone = true;
          self->maybeReady();
          return G_SOURCE_REMOVE;
        },
        impl_.get());
  }
  impl_->load(impl_->model.baseUrl);
  g_timeout_add_seconds(
      kReadyTimeoutSeconds,
      +[](gpointer p) -> gboolean {
        auto* self = static_cast<Impl*>(p);
        if (!self->firstLoadDone) {
          webkit_web_view_stop_loading(WEBKIT_WEB_VIEW(self->web));
          self->showError(false, self->model.baseUrl,
                          "no answer within " + std::to_string(kReadyTimeoutSeconds) + " seconds");
          self->finishLoading();
        }
        return G_SOURCE_REMOVE;
      },
      impl_.get());
}

void ShellWindow::whenReady(std::function<void()> ready) {
  impl_->ready = std::move(ready);
  impl_->maybeReady();
}

std::string ShellWindow::dumpUi() const { return impl_->dump(); }

std::optional<std::pair<std::string, std::string>> ShellWindow::firstPageFailure() const {
  return impl_->firstPageFailure;
}

}  // namespace vexloweb::shell
