#include "vexloweb/loader/load_summary.hpp"

#include <algorithm>

#include "config/json_writer.hpp"
#include "config/list_record_writer.hpp"
#include "loader/exports.hpp"
#include "vexloweb/constants/constants.hpp"
#include "vexloweb/state/app_data_instance.hpp"

namespace vexloweb {
namespace {

void writeValue(JsonWriter& writer, const platform::DefaultsValue& value) {
  std::visit(
      [&writer](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, double>) {
          try {
            writer.value(v);
          } catch (const std::invalid_argument&) {
            writer.null();  // NaN or infinity: JSON has no number for them
          }
        } else if constexpr (std::is_same_v<T, std::string>) {
          writer.value(std::string_view(v));
        } else {
          writer.value(v);
        }
      },
      value);
}

void writeDefaults(JsonWriter& writer, const platform::UserDefaults& store,
                   std::vector<std::string> keys) {
  if (keys.empty()) keys = store.keys();
  writer.beginObject();
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const std::string& key = keys[i];
    if (std::find(keys.begin(), keys.begin() + static_cast<std::ptrdiff_t>(i), key) !=
        keys.begin() + static_cast<std::ptrdiff_t>(i)) {
      continue;  // named twice
    }
    if (auto value = store.object(key)) {
      writer.key(key);
      writeValue(writer, *value);
    }
  }
  writer.endObject();
}

}  // namespace

const std::array<std::string_view, 18>& exportedKeys() {
  static const auto kKeys = [] {
    std::array<std::string_view, 18> keys{};
    const auto& ad = adSettingKeys();
    std::copy(ad.begin(), ad.end(), keys.begin());
    keys[16] = Constants::KEY_COLOR_PRIMARY;
    keys[17] = Constants::KEY_COLOR_PRIMARY_DARK;
    return keys;
  }();
  return kKeys;
}

std::string loadSummaryJson(std::string_view name) { return loadSummaryJson(name, LoadOutcome{}); }

std::string loadSummaryJson(std::string_view name, const LoadOutcome& outcome) {
  JsonWriter writer;
  writer.beginObject();
  writer.key("name");
  writer.value(name);
  writer.key("configureData");
  // Written in place, without copying the record out of the holder.
  AppDataInstance::getInstance().modifyConfigureData(
      [&writer](const std::optional<ConfigureData>& record) {
        if (record) {
          writeConfigureData(writer, *record);
        } else {
          writer.null();
        }
      });
  writer.key("defaults");
  if (outcome.ok()) {
    writeDefaults(writer, platform::UserDefaults::standard(),
                  {exportedKeys().begin(), exportedKeys().end()});
  } else {
    // A failed load exported nothing: what the store holds is an earlier load's.
    writer.beginObject();
    writer.endObject();
  }
  writer.endObject();
  return writer.take();
}

std::string defaultsJson(const platform::UserDefaults& store,
                         const std::vector<std::string>& keys) {
  JsonWriter writer;
  writeDefaults(writer, store, keys);
  return writer.take();
}

}  // namespace vexloweb
