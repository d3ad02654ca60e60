// The shell's window: the navigation bar, side menu, tabs, web view, loader, error pages, ad
// placeholders and splash, built from an AppModel, with every signal wired here.
#pragma once

#include <gtk/gtk.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app_model.hpp"

namespace vexloweb::shell {

struct ShellOptions {
  bool preview = false;  // --screenshot / --dump-ui: nothing is handed to the desktop, no dialogs
  int width = 400;
  int height = 800;
  // The app's own website data and cache folders; empty: a session that keeps nothing (previews).
  std::filesystem::path websiteData;
  std::filesystem::path websiteCache;
};

class ShellWindow {
 public:
  ShellWindow(AppModel model, platform::UserDefaults& defaults, ShellOptions options);
  ~ShellWindow();
  ShellWindow(const ShellWindow&) = delete;
  ShellWindow& operator=(const ShellWindow&) = delete;

  // Shows the window (and the splash) and starts loading the base address.
  void start();
  // Runs `ready` once the splash has ended and the first page has loaded or failed.
  void whenReady(std::function<void()> ready);
  // What is shown, as one JSON object.
  std::string dumpUi() const;
  // The first page's address and why it failed, when it did (the error page is what is shown).
  std::optional<std::pair<std::string, std::string>> firstPageFailure() const;
  // Draws the whole window, web content included, into a PNG file; false with the reason.
  bool screenshot(const std::string& file, std::string& whyNot) const;
  GtkWidget* window() const;
  // Loads `url` (through the link rules) and brings the window to the front.
  void open(const std::string& url);

  // The window's parts (window_parts.hpp) are built and wired in several files.
  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace vexloweb::shell
