#include "vexloweb/platform/file.hpp"

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <gtest/gtest.h>

#include "test_files.hpp"

namespace vexloweb::platform {
namespace {

mode_t modeOf(const std::filesystem::path& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

// A file is replaced whole: a new one gets 0666 less the umask, an old one keeps its mode, a link
// has its target replaced, and a write that cannot be made leaves the old file and no temporary.
// A batch is written whole or not at all: one file that cannot be written leaves every old file
// as it was and no temporary, and names the file at fault.
TEST(File, WritesReplaceTheWholeFileOrNothingAndABatchEveryFileOrNone) {
  testing::TempDir dir;
  const auto file = dir.path() / "app.io", other = dir.path() / "b.io";
  const mode_t saved = ::umask(027);
  std::string why;
  ASSERT_TRUE(writeFileReplacing(file, "first", &why)) << why;
  ::umask(saved);
  EXPECT_EQ(modeOf(file), 0640U);
  ::chmod(file.c_str(), 0600);
  ASSERT_TRUE(writeFileReplacing(file, "second", &why)) << why;
  EXPECT_EQ(modeOf(file), 0600U);
  EXPECT_EQ(testing::readFile(file), "second");

  std::filesystem::create_symlink(file, dir.path() / "link.io");
  ASSERT_TRUE(writeFileReplacing(dir.path() / "link.io", "third", &why)) << why;
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.io"));
  EXPECT_EQ(testing::readFile(file), "third");

  std::filesystem::create_directories(dir.path() / "folder");
  const std::pair<std::filesystem::path, const char*> refused[] = {
      {dir.path() / "folder", "not a regular file"},
      {dir.path() / "missing" / "app.io", "the folder '"},
      {file, "cannot write the file: File too large"},  // the temporary is made, then cut short
  };
  // Files of this process may hold one byte: a write fails as on a full disk.
  rlimit sizeLimit{};
  ::getrlimit(RLIMIT_FSIZE, &sizeLimit);
  const rlimit oneByte{1, sizeLimit.rlim_max};
  std::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &oneByte);
  for (const auto& [target, reason] : refused) {
    EXPECT_FALSE(writeFileReplacing(target, "fourth", &why)) << target;
    EXPECT_EQ(why.rfind(reason, 0), 0U) << why;
  }
  ::setrlimit(RLIMIT_FSIZE, &sizeLimit);
  std::size_t atFault = 0;
  const FileWrite refusedBatch[] = {{file, "new a"}, {other, "new b"}, {dir.path() / "folder", ""}};
  EXPECT_FALSE(writeFilesReplacing(refusedBatch, &why, &atFault));
  EXPECT_EQ(atFault, 2U);
  EXPECT_EQ(why, "not a regular file");
  EXPECT_EQ(testing::readFile(file), "third");
  // app.io, link.io, folder: no b.io, no temporary left
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);

  const FileWrite batch[] = {{file, "new a"}, {other, "new b"}};
  ASSERT_TRUE(writeFilesReplacing(batch, &why)) << why;
  EXPECT_EQ(testing::readFile(file), "new a");
  EXPECT_EQ(testing::readFile(other), "new b");
  EXPECT_EQ(modeOf(file), 0600U);
}

}  // namespace
}  // namespace vexloweb::platform
