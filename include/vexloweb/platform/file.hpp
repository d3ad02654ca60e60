// Reading whole files safely: only regular files, so a directory, FIFO or device named like a
// configuration file is refused at once instead of hanging or failing halfway. Writing them
// safely: a file is replaced whole or not at all. Any thread.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "vexloweb/export.hpp"

namespace vexloweb::platform {

// The whole content of the regular file at `path`, or nothing with the reason in *whyNot.
VEXLOWEB_EXPORT std::optional<std::string> readRegularFile(const std::filesystem::path& path,
                                                           std::string* whyNot);

// Replaces (or creates) the file at `path` with `content`: writes a temporary file in the same
// folder, syncs it to disk, then renames it over `path`, so that a reader or a crash sees either
// the old file or the new one, never a part. A link is followed: its target is replaced. The
// file keeps its permissions (a new one gets 0666 less the umask). On any failure (a full disk,
// a file-size limit, a folder that does not exist: "the folder 'out' does not exist") the old
// file is untouched, the temporary is removed, and the reason is in *whyNot.
VEXLOWEB_EXPORT bool writeFileReplacing(const std::filesystem::path& path, std::string_view content,
                                        std::string* whyNot);

struct VEXLOWEB_EXPORT FileWrite {
  std::filesystem::path path;
  std::string_view content;
};

// Replaces (or creates) several files as writeFileReplacing does each, but pays for the sync
// once: every temporary is written, one sync of the file system puts them all on disk, then each
// is renamed over its file and the folder is synced once. Meant for a batch of many small files
// (`vexloweb seal -o DIR/`), where a sync per file costs more than the writing. On a failure
// while writing, no file is replaced and no temporary is left; the index of the file at fault is
// in *failedIndex and the reason in *whyNot. A rename that fails (rare: the folder changed
// meanwhile) leaves the files before it replaced, and the reason says how many.
VEXLOWEB_EXPORT bool writeFilesReplacing(std::span<const FileWrite> files, std::string* whyNot,
                                         std::size_t* failedIndex = nullptr);

// True when `path` names a regular file (after following links).
VEXLOWEB_EXPORT bool isRegularFile(const std::filesystem::path& path) noexcept;

}  // namespace vexloweb::platform
