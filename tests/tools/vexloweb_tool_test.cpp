// Drives the built vexloweb executable as a user would: the steps of a transcript, in one
// scratch folder, and the schema it prints.
#include <cstdlib>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/json.hpp"
#include "test_files.hpp"
#include "vexloweb/version.hpp"

namespace vexloweb {
namespace {

const std::filesystem::path kData = VEXLOWEB_TEST_DATA;

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

class ToolTest : public ::testing::Test {
 protected:
  ToolTest() {
    std::filesystem::create_directories(dir_.path() / ".bin");
    testing::writeFile(dir_.path() / ".bin/vexloweb",
                       std::string("#!/bin/sh\nexec '") + VEXLOWEB_TOOL + "' \"$@\"\n");
    std::filesystem::permissions(dir_.path() / ".bin/vexloweb", std::filesystem::perms::owner_all);
  }
  // Runs a shell line in the scratch folder, with `vexloweb` on the path.
  ToolRun run(const std::string& line, const std::string& input = "") {
    const std::string at = dir_.path().string();
    testing::writeFile(dir_.path() / ".stdin", input);
    testing::writeFile(dir_.path() / ".line", line);
    const std::string command =
        "cd '" + at + "' && PATH='" + at + "/.bin':\"$PATH\" DATA='" + kData.string() +
        "' EXAMPLE='" + testing::exampleDocumentPath().string() +
        "' VERSION=" VEXLOWEB_VERSION_STRING " sh .line <.stdin >.stdout 2>.stderr";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, testing::readFile(dir_.path() / ".stdout"),
            testing::readFile(dir_.path() / ".stderr")};
  }

  testing::TempDir dir_;
};

// What a command is expected to do; the whole of an output is checked when `>` lines are given.
struct Expected {
  int line = 0;
  std::string command, input;
  int status = 0;
  std::optional<std::string> out, err;
  std::vector<std::pair<std::string, bool>> outHas, errHas;  // text, whether it is there
};

TEST_F(ToolTest, EveryStepOfTheTranscript) {
  std::istringstream transcript(testing::readFile(kData / "tool/transcript.txt"));
  Expected step;
  std::string input;
  const auto finish = [&] {
    if (step.command.empty()) return;
    SCOPED_TRACE("transcript line " + std::to_string(step.line) + ": " + step.command);
    const ToolRun ran = run(step.command, step.input);
    EXPECT_EQ(ran.status, step.status) << ran.err;
    EXPECT_EQ(ran.out, step.out.value_or(ran.out));
    EXPECT_EQ(ran.err, step.err.value_or(ran.err));
    for (const auto& [text, there] : step.outHas)
      EXPECT_EQ(ran.out.find(text) != std::string::npos, there) << text << "\nin:\n" << ran.out;
    for (const auto& [text, there] : step.errHas)
      EXPECT_EQ(ran.err.find(text) != std::string::npos, there) << text << "\nin:\n" << ran.err;
    step = Expected();
  };
  int number = 0;
  for (std::string line; std::getline(transcript, line);) {
    ++number;
    const auto rest = [&](std::size_t from) {
      return testing::unescape(std::string_view(line).substr(std::min(from, line.size())));
    };
    const auto append = [&](std::optional<std::string>& whole) {
      whole =
          whole.value_or("") + (line == ">" || line == "2>" ? "" : rest(line.find(' ') + 1) + "\n");
    };
    if (line.empty() || line[0] == '#') continue;
    if (line.starts_with("$ ") || line.starts_with("sh ") || line.starts_with("file ")) finish();
    if (line.starts_with("$ ")) {
      step = Expected();
      step.line = number;
      step.command = line.substr(2);
      step.input = input;
      input.clear();
    } else if (line.starts_with("sh ")) {
      SCOPED_TRACE("transcript line " + std::to_string(number) + ": " + line);
      const ToolRun ran = run(line.substr(3));
      EXPECT_EQ(ran.status, 0) << ran.err;
    } else if (line.starts_with("file ")) {
      const std::size_t space = line.find(' ', 5);
      testing::writeFile(dir_.path() / line.substr(5, space - 5), rest(space + 1));
    } else if (line.starts_with("< ")) {
      input = rest(2);
    } else if (line.starts_with("? ")) {
      step.status = std::stoi(line.substr(2));
    } else if (line.starts_with(">~ ") || line.starts_with(">!~ ")) {
      step.outHas.emplace_back(rest(line.find(' ') + 1), line[1] == '~');
    } else if (line.starts_with("2>~ ") || line.starts_with("2>!~ ")) {
      step.errHas.emplace_back(rest(line.find(' ') + 1), line[2] == '~');
    } else if (line == ">" || line.starts_with("> ")) {
      append(step.out);
    } else if (line == "2>" || line.starts_with("2> ")) {
      append(step.err);
    } else {
      ADD_FAILURE() << "transcript line " << number << " is not a step: " << line;
    }
  }
  finish();
}

// The schema's values by path ("properties/admob_delay/minimum"); an array's value is "[N]".
void flatten(const platform::JsonValue& value, const std::string& path,
             std::map<std::string, std::string>& out) {
  using Type = platform::JsonValue::Type;
  if (value.type() == Type::kObject) {
    value.forEachMember([&](std::string_view key, const platform::JsonValue& member) {
      flatten(member, path + (path.empty() ? "" : "/") + std::string(key), out);
    });
  } else if (value.type() == Type::kArray) {
    std::size_t count = 0;
    value.forEachElement([&](std::size_t i, const platform::JsonValue& element) {
      flatten(element, path + "/" + std::to_string(i), out);
      ++count;
    });
    out[path] = "[" + std::to_string(count) + "]";
  } else if (value.type() == Type::kString) {
    out[path] = value.stringValue();
  } else {
    out[path] = value.type() == Type::kInt64 ? std::to_string(value.int64Value())
                                             : std::to_string(value.uint64Value());
  }
}

// Every key and list member is described at length for a generator's author, and the table's
// facts hold: fields named where the key differs, bounds, references, examples.
TEST_F(ToolTest, SchemaDescribesEveryKeyForAGeneratorsAuthor) {
  const ToolRun schema = run("vexloweb schema");
  ASSERT_EQ(schema.status, 0);
  platform::JsonParser parser;
  auto parsed = parser.parse(schema.out);
  ASSERT_TRUE(std::holds_alternative<platform::JsonValue>(parsed));
  std::map<std::string, std::string> values;
  flatten(std::get<platform::JsonValue>(parsed), "", values);
  std::size_t described = 0, examples = 0;
  for (const auto& [path, value] : values) {
    if (path.ends_with("/description") && ("/" + path).find("/properties/") != std::string::npos) {
      ++described;
      EXPECT_GT(value.size(), 20U) << path;
    }
    examples += path.ends_with("/examples");
  }
  EXPECT_EQ(described, 58U + 9U);
  std::size_t exampleRows = 0;
  for (const auto& row : testing::readTable("tool/schema.tsv")) {
    EXPECT_NE(values[row[0]].find(row[1]), std::string::npos) << row[0] << ": " << row[1];
    exampleRows += row[0].ends_with("/examples");
  }
  EXPECT_EQ(examples, exampleRows);
}

}  // namespace
}  // namespace vexloweb
