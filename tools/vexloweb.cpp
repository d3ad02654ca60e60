// vexloweb: seals, opens, checks and loads configuration files with the library. Exit status:
// 0 success, 1 bad input, 2 usage error.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "checked_output.hpp"

#include "vexloweb/config/schema.hpp"
#include "vexloweb/loader/configure_vexlo_web.hpp"
#include "vexloweb/loader/file_check.hpp"
#include "vexloweb/loader/load_pipeline.hpp"
#include "vexloweb/loader/load_summary.hpp"
#include "vexloweb/platform/bundle.hpp"
#include "vexloweb/platform/diagnostics.hpp"
#include "vexloweb/platform/file.hpp"
#include "vexloweb/platform/user_defaults.hpp"
#include "vexloweb/version.hpp"

namespace fs = std::filesystem;
using namespace vexloweb;

namespace {

constexpr int kBadInput = 1;
constexpr int kUsage = 2;

struct KeyOptions {
  std::string key;
  std::string keyFile;
  std::string iv;

  void addTo(CLI::App* command) {
    auto* keyOption = command->add_option("--key", key,
                                          "Key text, 16 or 32 characters "
                                          "(default: the loader's)");
    command->add_option("--key-file", keyFile, "Read the key text from this file")
        ->excludes(keyOption);
    command->add_option("--iv", iv, "IV text, 16 characters (default: the loader's)");
  }

  // The keys to use, or nothing for the loader's own; fails only when the key file is unreadable.
  std::optional<EnvelopeKeys> resolve(std::string& whyNot) const {
    EnvelopeKeys keys;
    if (!keyFile.empty()) {
      auto text = platform::readRegularFile(keyFile, &whyNot);
      if (!text) return std::nullopt;
      while (!text->empty() && (text->back() == '\n' || text->back() == '\r')) text->pop_back();
      keys.key = std::move(*text);
    } else if (!key.empty()) {
      keys.key = key;
    }
    if (!iv.empty()) keys.iv = iv;
    return keys;
  }
};

std::optional<std::string> readInput(const std::string& name, std::string& whyNot) {
  if (name != "-") return platform::readRegularFile(name, &whyNot);
  std::string content{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
  return content;
}

// Splits `text` into lines and makes each printable, so that a name inside cannot forge a line.
std::string printableLines(std::string_view text) {
  std::string out;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    out += printableText(text.substr(start, end - start));
    if (end < text.size()) out += '\n';
    start = end + 1;
  }
  return out;
}

// Sets `keys` to the keys to use; false after saying why the key file could not be read or
// which option gave a key or IV that every layer would refuse (blamed on it, not on an input).
bool resolveKeys(const KeyOptions& keyOptions, std::optional<EnvelopeKeys>& keys) {
  std::string why;
  keys = keyOptions.resolve(why);
  const std::string keyOption =
      keyOptions.keyFile.empty() ? "--key" : "--key-file " + printableText(keyOptions.keyFile);
  if (!keys) {
    std::cerr << "vexloweb: " << keyOption << ": " << printableText(why) << '\n';
    return false;
  }
  std::optional<std::string> fault;
  if (keys->key) fault = checkEnvelopeKeys(EnvelopeKeys{keys->key, std::nullopt});
  if (fault) {
    std::cerr << "vexloweb: " << keyOption << ": " << printableText(*fault) << '\n';
    return false;
  }
  if (keys->iv) fault = checkEnvelopeKeys(EnvelopeKeys{std::nullopt, keys->iv});
  if (fault) {
    std::cerr << "vexloweb: --iv: " << printableText(*fault) << '\n';
    return false;
  }
  return true;
}

int seal(const KeyOptions& keyOptions, const std::vector<std::string>& inputs,
         const std::string& output, bool noCheck) {
  std::optional<EnvelopeKeys> keys;
  if (!resolveKeys(keyOptions, keys)) return kBadInput;
  std::string why;
  // "-" is standard output, for one input. Several inputs go into a folder that exists or is
  // named with a trailing '/'; a plain path is never turned into a folder by surprise.
  const bool toStdout = output.empty() || output == "-";
  const bool toFolder = !toStdout && (output.back() == '/' || fs::is_directory(output));
  if (inputs.size() > 1 && !toFolder) {
    std::cerr << "vexloweb seal: several inputs need -o DIR, a folder that exists or ends in '/'"
              << (toStdout ? "" : " ('" + printableText(output) + "' is not one)") << '\n';
    return kUsage;
  }
  if (toFolder && std::find(inputs.begin(), inputs.end(), "-") != inputs.end()) {
    std::cerr << "vexloweb seal: with -o DIR, name files rather than '-'\n";
    return kUsage;
  }
  // Two inputs of the same name would overwrite each other's output: refuse before writing any.
  if (toFolder) {
    std::map<fs::path, std::string> owners;
    for (const std::string& input : inputs) {
      const fs::path target =
          fs::path(output) / fs::path(input).filename().replace_extension(".io");
      const auto [owner, added] = owners.emplace(target, input);
      if (!added) {
        std::cerr << "vexloweb seal: '" << printableText(owner->second) << "' and '"
                  << printableText(input) << "' would both be sealed into '"
                  << printableText(target.string()) << "'\n";
        return kUsage;
      }
    }
  }
  // Check every input before writing any, so that a bulk run with one bad document writes none.
  std::vector<std::pair<fs::path, std::string>> sealed;
  bool failed = false;
  for (const std::string& input : inputs) {
    const std::string label = input == "-" ? "<stdin>" : input;
    auto document = readInput(input, why);
    if (!document) {
      std::cerr << printableText(label) << ": error: file: " << printableText(why) << '\n';
      failed = true;
      continue;
    }
    if (!noCheck) {
      const FileCheck check = checkDocumentText(*document);
      std::cerr << (check.ok() && check.warnings.empty() ? "" : formatFileCheck(label, check));
      if (!check.ok()) {
        failed = true;
        continue;
      }
    }
    auto text = sealDocument(*document, keys, &why);
    if (!text) {
      std::cerr << printableText(label) << ": error: " << printableText(why) << '\n';
      failed = true;
      continue;
    }
    fs::path target = toStdout ? fs::path() : fs::path(output);
    if (toFolder) target = fs::path(output) / fs::path(input).filename().replace_extension(".io");
    sealed.emplace_back(std::move(target), std::move(*text));
  }
  if (failed) return kBadInput;
  if (toStdout) {
    for (const auto& [target, text] : sealed) std::cout << text;
    return 0;
  }
  if (toFolder) fs::create_directories(output);
  // A folder's outputs take one sync for the whole batch and are all replaced or none; a single
  // file syncs only itself, not the whole file system.
  std::vector<platform::FileWrite> writes;
  for (const auto& [target, text] : sealed) writes.push_back({target, text});
  std::size_t atFault = 0;
  const bool written =
      toFolder ? platform::writeFilesReplacing(writes, &why, &atFault)
               : platform::writeFileReplacing(writes.front().path, writes.front().content, &why);
  if (!written) {
    std::cerr << printableText(writes[atFault].path.string()) << ": error: " << printableText(why)
              << '\n';
    return kBadInput;
  }
  return 0;
}

int open(const KeyOptions& keyOptions, const std::string& file) {
  std::optional<EnvelopeKeys> keys;
  if (!resolveKeys(keyOptions, keys)) return kBadInput;
  std::string why;
  auto bytes = platform::readRegularFile(file, &why);
  if (!bytes) {
    std::cerr << printableText(file) << ": error: file: " << printableText(why) << '\n';
    return kBadInput;
  }
  const OpenedEnvelope opened = openEnvelope(*bytes, keys);
  if (opened.failure) {
    std::cerr << printableText(file) << ": error: " << layerName(opened.failure->layer) << ": "
              << printableText(opened.failure->reason) << '\n';
    return kBadInput;
  }
  std::cout.write(opened.document->data(), static_cast<std::streamsize>(opened.document->size()));
  return 0;
}

int check(const KeyOptions& keyOptions, const std::vector<std::string>& files, bool json,
          bool strict) {
  std::optional<EnvelopeKeys> keys;
  if (!resolveKeys(keyOptions, keys)) return kBadInput;
  bool allOk = true;
  for (const std::string& file : files) {
    FileCheck result;
    std::string why;
    if (auto bytes = platform::readRegularFile(file, &why)) {
      result = checkSealedFile(*bytes, keys);
    } else {
      result.failure = LoadFailure{LoadLayer::kFile, why, {}};
    }
    allOk = allOk && result.ok() && !(strict && !result.warnings.empty());
    std::cout << (json ? fileCheckJson(file, result) + "\n" : formatFileCheck(file, result));
  }
  return allOk ? 0 : kBadInput;
}

int load(const KeyOptions& keyOptions, const std::string& bundle, const std::string& defaults,
         const std::vector<std::string>& names) {
  if (bundle.empty()) {
    std::cerr << "vexloweb load: --bundle needs a folder (use '.' for the current one)\n";
    return kUsage;
  }
  std::optional<EnvelopeKeys> keys;
  if (!resolveKeys(keyOptions, keys)) return kBadInput;
  const bool ownKeys =
      !keyOptions.key.empty() || !keyOptions.keyFile.empty() || !keyOptions.iv.empty();
  platform::Bundle::setMainPath(fs::absolute(bundle));
  platform::UserDefaults::setStandardPath(
      defaults.empty() ? platform::UserDefaults::defaultStandardPath() : fs::path(defaults));
  bool allLoaded = true;
  for (const std::string& name : names) {
    // The app's own load (its keys; its cipher lines, on standard error so that standard output
    // stays JSON), with the report of what failed.
    const LoadOutcome outcome = loadConfiguration(name, ownKeys ? keys : std::nullopt, &std::cerr);
    std::cout << loadSummaryJson(name, outcome) << '\n';
    if (outcome.failure) {
      allLoaded = false;
      std::cerr << "vexloweb: load " << printableText(name) << ": "
                << layerName(outcome.failure->layer) << ": "
                << printableText(outcome.failure->reason) << '\n';
    }
  }
  if (auto failure = platform::UserDefaults::standard().failure()) {
    std::cerr << "vexloweb: load: the settings were not stored: " << printableText(*failure)
              << '\n';
    return kBadInput;
  }
  return allLoaded ? 0 : kBadInput;
}

int showDefaults(const std::string& defaults, const std::vector<std::string>& keys) {
  const fs::path file =
      defaults.empty() ? platform::UserDefaults::defaultStandardPath() : fs::path(defaults);
  if (!fs::exists(file)) {
    std::cerr << "vexloweb: defaults: no store at '" << printableText(file.string())
              << "' (nothing was loaded with it yet)\n";
    return kBadInput;
  }
  const platform::UserDefaults store(file);
  const std::string json = defaultsJson(store, keys);
  if (auto failure = store.failure()) {
    std::cerr << "vexloweb: defaults: " << printableText(*failure) << '\n';
    return kBadInput;
  }
  std::cout << json << '\n';
  // As `git config` does: a key asked for and not stored fails the run, the others still print.
  int status = 0;
  std::set<std::string_view> named;
  for (const std::string& key : keys) {
    if (!named.insert(key).second || store.object(key)) continue;
    std::cerr << "vexloweb: defaults: no key '" << printableText(key) << "' in '"
              << printableText(file.string()) << "'\n";
    status = kBadInput;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  // A file-size limit then fails the write with EFBIG, which the tool reports, instead of killing
  // it silently halfway through a temporary file.
  std::signal(SIGXFSZ, SIG_IGN);
  std::cout.rdbuf(&tool::checkedOutput());
  CLI::App app{"Seals, opens, checks and loads VexloWebLib configuration files."};
  app.set_version_flag("--version", std::string("vexloweb ") + VEXLOWEB_VERSION_STRING);
  app.require_subcommand(1);

  KeyOptions sealKeys;
  std::vector<std::string> sealInputs{"-"};
  std::string sealOutput;
  bool noCheck = false;
  auto* sealCommand = app.add_subcommand("seal", "Seal JSON documents into .io files");
  sealKeys.addTo(sealCommand);
  sealCommand->add_option("-o,--output", sealOutput,
                          "Output file, - for standard output (the default), or a folder "
                          "(existing, or ending in /) for several inputs");
  sealCommand->add_flag("--no-check", noCheck, "Seal without checking the document");
  sealCommand->add_option("documents", sealInputs, "DOC.json files, or - for standard input");

  KeyOptions openKeys;
  std::string openFile;
  auto* openCommand = app.add_subcommand("open", "Write the document inside an .io file");
  openKeys.addTo(openCommand);
  openCommand->add_option("file", openFile, "FILE.io")->required();

  KeyOptions checkKeys;
  std::vector<std::string> checkFiles;
  bool checkJson = false;
  bool checkStrict = false;
  auto* checkCommand = app.add_subcommand("check", "Check .io files through every layer");
  checkKeys.addTo(checkCommand);
  checkCommand->add_flag("--json", checkJson, "One JSON object per file");
  checkCommand->add_flag("--strict", checkStrict, "Fail (exit 1) on warnings too, for CI");
  checkCommand->add_option("files", checkFiles, "FILE.io files")->required();

  KeyOptions loadKeys;
  std::string bundle = ".";
  std::string loadDefaults;
  std::vector<std::string> names;
  auto* loadCommand = app.add_subcommand("load", "Load configurations as an app would, in order");
  loadKeys.addTo(loadCommand);
  loadCommand->add_option("--bundle", bundle, "Resource folder (default: current folder)");
  loadCommand->add_option("--defaults", loadDefaults,
                          "User-defaults file (default: the tool's own, "
                          "$XDG_CONFIG_HOME/vexloweb/vexloweb.defaults.sqlite3)");
  loadCommand->add_option("names", names, "Resource names, without .io")->required();

  std::string shownDefaults;
  std::vector<std::string> keys;
  auto* defaultsCommand = app.add_subcommand("defaults", "Print the user-defaults store as JSON");
  defaultsCommand->add_option("--defaults", shownDefaults, "User-defaults file");
  defaultsCommand->add_option("keys", keys, "Only these keys");

  auto* schemaCommand = app.add_subcommand("schema", "Print the document's JSON Schema");

  if (argc > 1 && argv[1][0] != '-' &&
      app.get_subcommands([&](const CLI::App* command) { return command->get_name() == argv[1]; })
          .empty()) {
    std::vector<std::string_view> commands;
    for (const CLI::App* command : app.get_subcommands({})) commands.push_back(command->get_name());
    std::cerr << "vexloweb: unknown command '" << printableText(argv[1]) << "'";
    if (auto nearest = closestWord(argv[1], commands)) {
      std::cerr << " (did you mean '" << *nearest << "'?)";
    }
    std::cerr << "; run 'vexloweb --help' for the commands\n";
    return kUsage;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    // CLI11 quotes the arguments it refuses as they were typed.
    std::ostringstream out, err;
    const int status = app.exit(error, out, err);
    std::cout << out.str();
    std::cerr << printableLines(err.str());
    return tool::finishOutput(status == 0 ? 0 : kUsage);
  }
  try {
    if (sealCommand->parsed())
      return tool::finishOutput(seal(sealKeys, sealInputs, sealOutput, noCheck));
    if (openCommand->parsed()) return tool::finishOutput(open(openKeys, openFile));
    if (checkCommand->parsed())
      return tool::finishOutput(check(checkKeys, checkFiles, checkJson, checkStrict));
    if (loadCommand->parsed())
      return tool::finishOutput(load(loadKeys, bundle, loadDefaults, names));
    if (defaultsCommand->parsed()) return tool::finishOutput(showDefaults(shownDefaults, keys));
    if (schemaCommand->parsed()) std::cout << configurationSchema() << '\n';
    return tool::finishOutput(0);
  } catch (const std::exception& error) {
    std::cerr << "vexloweb: " << printableText(error.what()) << '\n';
    return kBadInput;
  }
}
