// Downloads keep everything: each is written to a temporary file in the download folder (made
// when missing) and, once finished, renamed to the first free name there without ever replacing
// a file. A failure is told to the user and recorded; nothing is reported saved before it is.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "download_naming.hpp"
#include "vexloweb/loader/file_check.hpp"
#include "window_parts.hpp"

namespace vexloweb::shell {
namespace {

struct InFlight {
  ShellWindow::Impl* window;
  std::size_t index;  // in window->downloads
  std::string folder;
  std::string name;  // safe, not yet free
  std::string temporary;
};

std::string downloadFolder() {
  const char* folder = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD);
  return folder != nullptr ? folder
                           : (std::filesystem::path(g_get_home_dir()) / "Downloads").string();
}

// Renames `from` to `to` unless `to` exists; false with errno otherwise.
bool renameWithoutReplacing(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without the flag: a hard link never replaces either.
  if (link(from.c_str(), to.c_str()) != 0) return false;
  unlink(from.c_str());
  return true;
}

void fail(InFlight& flight, const std::string& outcome, const std::string& reason) {
  Download& download = flight.window->downloads[flight.index];
  if (!download.outcome.empty()) return;
  download.outcome = outcome;
  download.reason = reason;
  if (!flight.temporary.empty()) unlink(flight.temporary.c_str());
  if (outcome == "cancelled" && !flight.window->model.downloads) return;  // the app has none
  const std::string what =
      printableText(download.suggested.empty() ? "a file" : download.suggested);
  std::cerr << "vexloweb-shell: download " << what << " " << outcome << ": "
            << printableText(reason) << '\n';
  if (!flight.window->options.preview) {
    flight.window->tell("Download " + outcome,
                        "The download of " + what + " " + outcome + ": " + reason + ".");
  }
}

gboolean onDecideDestination(WebKitDownload* download, const char* suggested, InFlight* flight) {
  flight->window->downloads[flight->index].suggested = suggested != nullptr ? suggested : "";
  flight->folder = downloadFolder();
  if (g_mkdir_with_parents(flight->folder.c_str(), 0700) != 0) {
    fail(*flight, "failed",
         "cannot make the folder " + flight->folder + ": " + std::strerror(errno));
    webkit_download_cancel(download);
    return TRUE;
  }
  flight->name = safeFileName(suggested != nullptr ? suggested : "");
  std::string temporary = flight->folder + "/.vexloweb-download-XXXXXX";
  const int fd = g_mkstemp_full(temporary.data(), O_RDWR, 0600);
  if (fd < 0) {
    fail(*flight, "failed", "cannot write in " + flight->folder + ": " + std::strerror(errno));
    webkit_download_cancel(download);
    return TRUE;
  }
  close(fd);
  flight->temporary = temporary;
  webkit_download_set_allow_overwrite(download, TRUE);  // the temporary file is our own
  webkit_download_set_destination(download, temporary.c_str());
  return TRUE;
}

void onFinished(WebKitDownload* /*download*/, InFlight* flight) {
  Download& download = flight->window->downloads[flight->index];
  if (!download.outcome.empty() || flight->temporary.empty()) return;  // failed already
  const auto taken = [&](const std::string& name) {
    return std::filesystem::exists(std::filesystem::path(flight->folder) / name);
  };
  for (int attempt = 0; attempt < 100; ++attempt) {  // another program may take a name meanwhile
    const std::string path = flight->folder + "/" + freeFileName(flight->name, taken);
    if (renameWithoutReplacing(flight->temporary, path)) {
      download.savedAs = path;
      download.outcome = "finished";
      return;
    }
    if (errno != EEXIST) break;
  }
  fail(*flight, "failed", std::string("cannot name the file: ") + std::strerror(errno));
}

void onFailed(WebKitDownload* /*download*/, GError* error, InFlight* flight) {
  const bool cancelled =
      g_error_matches(error, WEBKIT_DOWNLOAD_ERROR, WEBKIT_DOWNLOAD_ERROR_CANCELLED_BY_USER);
  fail(*flight, cancelled ? "cancelled" : "failed", error->message);
}

void onDownload(WebKitNetworkSession* /*session*/, WebKitDownload* download,
                ShellWindow::Impl* self) {
  auto* flight = new InFlight{self, self->downloads.size(), "", "", ""};
  self->downloads.push_back({});
  g_object_set_data_full(
      G_OBJECT(download), "vexloweb-download", flight,
      +[](gpointer p) { delete static_cast<InFlight*>(p); });
  g_signal_connect(download, "failed", G_CALLBACK(onFailed), flight);
  if (!self->model.downloads) {
    fail(*flight, "cancelled", "the app does not download");
    webkit_download_cancel(download);
    return;
  }
  g_signal_connect(download, "decide-destination", G_CALLBACK(onDecideDestination), flight);
  g_signal_connect(download, "finished", G_CALLBACK(onFinished), flight);
}

}  // namespace

void ShellWindow::Impl::watchDownloads() {
  g_signal_connect(session, "download-started", G_CALLBACK(onDownload), this);
}

}  // namespace vexloweb::shell
