// Shared test helpers: reading fixture files and making temporary folders.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace vexloweb::testing {

inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

inline void writeFile(const std::filesystem::path& path, std::string_view content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

// A cell's text with its escapes read: \n \r \t \0 \\ and \xHH.
inline std::string unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
    } else if (text[++i] == 'x') {
      out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      const std::string_view from = "nrt0", to("\n\r\t\0", 4);
      const auto at = from.find(text[i]);
      out += at == std::string_view::npos ? text[i] : to[at];
    }
  }
  return out;
}

// The rows of a tab-separated table under tests/data, each cell unescaped; lines that start with
// '#' are comments.
inline std::vector<std::vector<std::string>> readTable(const std::string& name) {
  std::istringstream lines(readFile(std::filesystem::path(VEXLOWEB_TEST_DATA) / name));
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string>& row = rows.emplace_back();
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, '\t');) row.push_back(unescape(cell));
    if (line.back() == '\t') row.emplace_back();
  }
  return rows;
}

inline std::filesystem::path exampleDocumentPath() {
  return std::filesystem::path(VEXLOWEB_TEST_DATA) / ".." / ".." / "examples" / "example.json";
}

// A fresh folder under the system's temporary directory, removed with the object.
class TempDir {
 public:
  TempDir() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("vexloweb-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace vexloweb::testing
