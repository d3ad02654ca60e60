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
  EXPECT_EQ(bundle.pathForResource("app", "io"), (root / "app.io").string());
  EXPECT_EQ(bundle.pathForResource("sub/inner", "io"), (root / "sub" / "inner.io").string());
  EXPECT_EQ(bundle.pathForResource("noext", ""), (root / "noext").string());
  EXPECT_TRUE(bundle.pathForResource("link", "io").has_value());
  EXPECT_EQ(bundle.pathForResource("..dots", "io"), (root / "..dots.io").string());
  EXPECT_EQ(Bundle(root / "").pathForResource("app", "io"), (root / "app.io").string());
  const auto workingFolder = std::filesystem::current_path();
  std::filesystem::current_path(root);  // an empty folder is the working folder
  EXPECT_EQ(Bundle("").pathForResource("app", "io"), "app.io");
  std::filesystem::current_path(workingFolder);
  // The regular-file check itself refuses a folder and a FIFO, before any read: reading a FIFO
  // would find nothing (or wait for a writer) and a folder would fail with a read error.
  for (const std::string name : {"missing", "folder", "pipe", "piped"}) {
    EXPECT_FALSE(bundle.pathForResource(name, "io").has_value()) << name;
    std::string why;
    EXPECT_FALSE(readRegularFile(root / (name + ".io"), &why).has_value()) << name;
    EXPECT_EQ(why, name == "missing" ? "cannot open the file: No such file or directory"
                                     : "not a regular file");
  }
  EXPECT_EQ(readRegularFile(root / "app.io", nullptr), "x");
  const std::string outside = (root / "app").string();
  for (std::string_view name :
       {std::string_view("../app"), std::string_view("sub/../app"), std::string_view(".."),
        std::string_view("sub/../.."), std::string_view("sub/.."), std::string_view(),
        std::string_view(outside), std::string_view("app\0x", 5)}) {
    EXPECT_FALSE(Bundle::staysInside(name)) << name;
    EXPECT_FALSE(bundle.pathForResource(name, "io").has_value()) << name;
  }
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
