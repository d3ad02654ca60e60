// A host that takes the library from outside its source tree (installed package, pkg-config,
// add_subdirectory or FetchContent): loads the example bundle and prints one value of the record.
#include <vexloweb/vexloweb.hpp>

#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: host BUNDLE_FOLDER\n";
    return 2;
  }
  if (std::strcmp(vexloweb::libraryVersion(), VEXLOWEB_VERSION_STRING) != 0) {
    std::cerr << "headers " << VEXLOWEB_VERSION_STRING << ", library " << vexloweb::libraryVersion()
              << '\n';
    return 1;
  }
  vexloweb::platform::Bundle::setMainPath(argv[1]);
  vexloweb::platform::UserDefaults::setStandardInMemory();
  vexloweb::ConfigureVexloWeb().readConfiguration("example");
  const auto record = vexloweb::AppDataInstance::getInstance().configureData();
  if (!record || !record->package_name()) {
    std::cerr << "the example bundle did not load\n";
    return 1;
  }
  std::cout << *record->package_name() << ' ' << vexloweb::libraryVersion() << '\n';
  return 0;
}
