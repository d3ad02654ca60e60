#include "vexloweb/platform/bundle.hpp"

#include <sys/stat.h>

#include <thread>

#include <gtest/gtest.h>

#include "test_files.hpp"
#include "vexloweb/platform/file.hpp"

namespace vexloweb::platform {
namespace {

TEST(Bundle, FindsOnlyRegularFilesInsideItsFolder) {
  testing::TempDir dir;
  const auto& root = dir.path();
  std::filesystem::create_directories(root / "sub");
  std::filesystem::create_directories(root / "folder.io");
  testing::writeFile(root / "app.io", "x");
  testing::writeFile(root / "sub" / "inner.io", "x");
  testing::writeFile(root / "noext", "x");
  testing::writeFile(root / "..dots.io", "x");
  ASSERT_EQ(::mkfifo((root / "pipe.io").c_str(), 0600), 0);
  std::filesystem::create_symlink(root / "app.io", root / "link.io");
  std::filesystem::create_symlink(root / "pipe.io", root / "piped.io");

  const Bundle bundle(root);
  for (const auto& row : testing::readTable("platform/bundle.tsv")) {
    const auto found = bundle.pathForResource(row[0], row[1]);
    EXPECT_EQ(found.value_or("-"), row[2] == "-" ? "-" : (root / row[2]).string()) << row[0];
    EXPECT_EQ(Bundle::staysInside(row[0]), row[3] == "yes") << row[0];
  }
  EXPECT_EQ(Bundle(root / "").pathForResource("app", "io"), (root / "app.io").string());
  const auto workingFolder = std::filesystem::current_path();
  std::filesystem::current_path(root);  // an empty folder is the working folder
  EXPECT_EQ(Bundle("").pathForResource("app", "io"), "app.io");
  std::filesystem::current_path(workingFolder);
  // The regular-file check itself refuses a folder and a FIFO, before any read: reading a FIFO
  // would find nothing (or wait for a writer) and a folder would fail with a read error.
  for (const std::string name : {"missing", "folder", "pipe", "piped"}) {
    std::string why;
    EXPECT_FALSE(readRegularFile(root / (name + ".io"), &why).has_value()) << name;
    EXPECT_EQ(why, name == "missing" ? "cannot open the file: No such file or directory"
                                     : "not a regular file");
  }
  EXPECT_EQ(readRegularFile(root / "app.io", nullptr), "x");
  EXPECT_FALSE(Bundle::staysInside((root / "app").string()));  // a name from outside, whole
  EXPECT_FALSE(bundle.pathForResource((root / "app").string(), "io").has_value());
}

TEST(Bundle, MainBundleFollowsSetMainPath) {
  testing::TempDir dir;
  testing::writeFile(dir.path() / "main.io", "x");
  const auto previous = Bundle::main().path();
  // Lookups on another thread while the folder changes, for the ThreadSanitizer run to watch.
  std::thread lookups([] { Bundle::main().pathForResource("main", "io"); });
  for (int i = 0; i < 100; ++i) Bundle::setMainPath(i % 2 == 0 ? previous : dir.path());
  lookups.join();
  EXPECT_TRUE(Bundle::main().pathForResource("main", "io").has_value());
  Bundle::setMainPath(previous);
  EXPECT_FALSE(Bundle::main().pathForResource("main", "io").has_value());
}

}  // namespace
}  // namespace vexloweb::platform
