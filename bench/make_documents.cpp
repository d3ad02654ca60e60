// Writes the generated benchmark documents and their sealed files into a folder:
// doc-<size>.json and doc-<size>.io for 4 KiB, 64 KiB, 1 MiB and 16 MiB, plus a thousand
// 4 KiB documents under many/ for the bulk-sealing run.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "document_generator.hpp"
#include "vexloweb/loader/load_pipeline.hpp"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_documents FOLDER\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder / "many");
  for (const auto& [label, size] : {std::pair{"4k", 4 << 10}, std::pair{"64k", 64 << 10},
                                    std::pair{"1m", 1 << 20}, std::pair{"16m", 16 << 20}}) {
    const std::string document = vexloweb::bench::generateDocument(size);
    std::ofstream(folder / (std::string("doc-") + label + ".json"), std::ios::binary) << document;
    std::ofstream(folder / (std::string("doc-") + label + ".io"), std::ios::binary)
        << *vexloweb::sealDocument(document);
  }
  const std::string small = vexloweb::bench::generateDocument(4 << 10);
  for (int i = 0; i < 1000; ++i) {
    std::ofstream(folder / "many" / ("app" + std::to_string(i) + ".json"), std::ios::binary)
        << small;
  }
  return 0;
}
