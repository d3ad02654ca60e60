// A host that links the installed library, found with find_package or pkg-config.
#include <vexloweb/vexloweb.hpp>

#include <iostream>

int main() {
  const auto record = vexloweb::ConfigureData::decode(R"({"package_name":"host"})");
  std::cout << record.encode() << ' ' << vexloweb::VexloWebLibVersionString << '\n';
  return record.package_name() == "host" ? 0 : 1;
}
