// Drives the built vexloweb executable as a user would: the steps of a transcript, in one
// scratch folder.
#include <cstdlib>
#include <regex>
#include <sstream>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "test_files.hpp"
#include "vexloweb/version.hpp"

namespace vexloweb {
namespace {

const std::filesystem::path kData = VEXLOWEB_TEST_DATA, kTool = VEXLOWEB_TOOL;

struct ToolRun {
  int status;
  std::string out, err;
};

class ToolTest : public ::testing::Test {
 protected:
  // Runs a shell line in the scratch folder, with `vexloweb` on the path.
  ToolRun run(const std::string& line, const std::string& input = "") {
    const std::string at = dir_.path().string();
    testing::writeFile(dir_.path() / ".stdin", input);
    testing::writeFile(dir_.path() / ".line", line);
    const std::string command =
        "cd '" + at + "' && PATH='" + kTool.parent_path().string() + "':\"$PATH\" DATA='" +
        kData.string() + "' EXAMPLE='" + testing::exampleDocumentPath().string() +
        "' VERSION=" VEXLOWEB_VERSION_STRING " sh .line <.stdin >.stdout 2>.stderr";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, testing::readFile(dir_.path() / ".stdout"),
            testing::readFile(dir_.path() / ".stderr")};
  }

  testing::TempDir dir_;
};

// What a command is expected to do: its status, the whole of an output (index 0 standard output,
// 1 standard error) when `>` lines are given, and texts an output holds or does not.
struct Expected {
  int line = 0, status = 0;
  std::string command, input;
  std::optional<std::string> whole[2];
  std::vector<std::tuple<int, std::string, bool>> has;
};

TEST_F(ToolTest, EveryStepOfTheTranscript) {
  std::istringstream transcript(testing::readFile(kData / "tool/transcript.txt"));
  Expected step;
  std::string input;
  const auto finish = [&] {
    if (step.command.empty()) return;
    SCOPED_TRACE("transcript line " + std::to_string(step.line) + ": " + step.command);
    const ToolRun ran = run(step.command, step.input);
    const std::string* got[] = {&ran.out, &ran.err};
    EXPECT_EQ(ran.status, step.status) << ran.err;
    for (int s : {0, 1}) EXPECT_EQ(*got[s], step.whole[s].value_or(*got[s]));
    for (const auto& [s, text, there] : step.has)
      EXPECT_EQ(got[s]->find(text) != std::string::npos, there) << text << "\nin:\n" << *got[s];
    step = Expected();
  };
  const std::regex output(R"((2?)>(!?~)?(?: (.*))?)");
  int number = 0;
  for (std::string line; std::getline(transcript, line);) {
    ++number;
    const auto rest = [&](std::size_t from) { return testing::unescape(line.substr(from)); };
    std::smatch m;
    if (line.empty() || line[0] == '#') continue;
    if (line.starts_with("$ ") || line.starts_with("file ")) finish();
    if (line.starts_with("$ ")) {
      step = Expected();
      step.line = number;
      step.command = line.substr(2);
      step.input = std::exchange(input, "");
    } else if (line.starts_with("file ")) {
      const std::size_t space = line.find(' ', 5);
      testing::writeFile(dir_.path() / line.substr(5, space - 5), rest(space + 1));
    } else if (line.starts_with("< ")) {
      input = rest(2);
    } else if (line.starts_with("? ")) {
      step.status = std::stoi(line.substr(2));
    } else if (std::regex_match(line, m, output)) {
      const int s = static_cast<int>(m[1].length());
      const std::string text = testing::unescape(m[3].str());
      if (m[2].matched) {
        step.has.emplace_back(s, text, m[2] == "~");
      } else {
        step.whole[s] = step.whole[s].value_or("") + (m[3].matched ? text + "\n" : "");
      }
    } else {
      ADD_FAILURE() << "transcript line " << number << " is not a step: " << line;
    }
  }
  finish();
}

}  // namespace
}  // namespace vexloweb
