// One readConfiguration in a fresh process: prints the microseconds from just before the call to
// just after it, the growth of the peak resident memory over the call in KiB, the minor page
// faults it took, and its allocations (calls of operator new).
// Usage: cold_start BUNDLE_DIR NAME [STORE_FILE]   (no STORE_FILE: an in-memory store)
#include <sys/resource.h>

#include <chrono>
#include <iostream>

#include "allocation_counter.hpp"
#include "vexloweb/loader/configure_vexlo_web.hpp"
#include "vexloweb/platform/bundle.hpp"
#include "vexloweb/platform/user_defaults.hpp"
#include "vexloweb/state/app_data_instance.hpp"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: cold_start BUNDLE_DIR NAME [STORE_FILE]\n";
    return 2;
  }
  using namespace vexloweb;
  platform::Bundle::setMainPath(argv[1]);
  if (argc > 3) {
    platform::UserDefaults::setStandardPath(argv[3]);
  } else {
    platform::UserDefaults::setStandardInMemory();
  }
  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  const std::size_t allocations = bench::allocationCount();
  const auto start = std::chrono::steady_clock::now();
  ConfigureVexloWeb().readConfiguration(argv[2]);
  const auto stop = std::chrono::steady_clock::now();
  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  const bool loaded = AppDataInstance::getInstance().configureData().has_value();
  std::cout << std::chrono::duration<double, std::micro>(stop - start).count() << ' '
            << after.ru_maxrss - before.ru_maxrss << ' ' << after.ru_minflt - before.ru_minflt
            << ' ' << bench::allocationCount() - allocations << '\n';
  return loaded ? 0 : 1;
}
