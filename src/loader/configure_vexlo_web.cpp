#include "vexloweb/loader/configure_vexlo_web.hpp"

#include <iostream>

#include "loader/loader_keys.hpp"
#include "vexloweb/loader/load_pipeline.hpp"

namespace vexloweb {

ConfigureVexloWeb::ConfigureVexloWeb() : key_(kLoaderKey), iv_(kLoaderIv) {}

ConfigureVexloWeb::~ConfigureVexloWeb() = default;

void ConfigureVexloWeb::readConfiguration(const std::string& fileName) {
  try {
    loadConfiguration(fileName, EnvelopeKeys{key_, iv_}, &std::cout);
  } catch (...) {
    // Only resource exhaustion can get here; the contract is that the load never throws, and a
    // failed load leaves the holder as it was.
  }
}

}  // namespace vexloweb
