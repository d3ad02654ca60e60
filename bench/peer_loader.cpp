#include "peer_loader.hpp"

#include <openssl/evp.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <nlohmann/json.hpp>

namespace vexloweb::bench {
namespace {

using Json = nlohmann::json;

std::optional<std::string> decodeBase64(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::string out(text.size() / 4 * 3, '\0');
  const int written = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                      reinterpret_cast<const unsigned char*>(text.data()),
                                      static_cast<int>(text.size()));
  if (written < 0) return std::nullopt;
  std::size_t padding = 0;
  if (!text.empty() && text.back() == '=') ++padding;
  if (text.size() > 1 && text[text.size() - 2] == '=') ++padding;
  out.resize(static_cast<std::size_t>(written) - padding);
  return out;
}

std::optional<std::string> decrypt(std::string_view cipherText, std::string_view key,
                                   std::string_view iv) {
  const std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> context(
      EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
  if (!context || EVP_DecryptInit_ex(context.get(), EVP_aes_256_cbc(), nullptr,
                                     reinterpret_cast<const unsigned char*>(key.data()),
                                     reinterpret_cast<const unsigned char*>(iv.data())) != 1) {
    return std::nullopt;
  }
  std::string plain(cipherText.size() + 16, '\0');
  int written = 0;
  int last = 0;
  if (EVP_DecryptUpdate(context.get(), reinterpret_cast<unsigned char*>(plain.data()), &written,
                        reinterpret_cast<const unsigned char*>(cipherText.data()),
                        static_cast<int>(cipherText.size())) != 1 ||
      EVP_DecryptFinal_ex(context.get(), reinterpret_cast<unsigned char*>(plain.data()) + written,
                          &last) != 1) {
    return std::nullopt;
  }
  plain.resize(static_cast<std::size_t>(written + last));
  return plain;
}

template <class T>
void take(const Json& document, const char* key, std::optional<T>& field) {
  const auto found = document.find(key);
  if (found != document.end() && !found->is_null()) field = found->get<T>();
}

std::map<std::string, PeerValue> exports(const PeerRecord& r) {
  std::map<std::string, PeerValue> out;
  const auto put = [&out](const char* key, const auto& field) {
    if (field) out[key] = *field;
  };
  put("ADMOB_ID", r.admob_id);
  put("BANNER", r.key_ad_banner);
  put("INTERSTITIAL", r.key_ad_interstitial);
  put("REWARDED", r.key_ad_rewarded);
  put("AD_DELAY", r.admob_delay);
  put("BANNER_AD_DELAY", r.admob_banner_delay);
  put("INTERSTITIAL_AD_DELAY", r.admob_interstitial_delay);
  put("REWARDED_AD_DELAY", r.admob_rewarded_delay);
  put("FB_AD_ID", r.fb_ad_id);
  put("FB_BANNER", r.fb_ad_banner);
  put("FB_INTERSTITIAL", r.fb_ad_interstitial);
  put("FB_REWARDED", r.fb_ad_rewarded);
  put("FB_AD_DELAY", r.fb_ad_delay);
  put("FB_BANNER_DELAY", r.fb_ad_banner_delay);
  put("FB_INTERSTITIAL_DELAY", r.fb_ad_interstitial_delay);
  put("FB_REWARDED_DELAY", r.fb_ad_rewarded_delay);
  const std::string theme = r.theme_color.value_or("");
  std::string primary = "colorPrimary";
  std::string dark = "colorPrimaryDark";
  if (theme.rfind("GRADIENT_", 0) == 0) {
    primary = "quarn_gradient" + theme.substr(9) + "_primary";
    dark = "quarn_gradient" + theme.substr(9) + "_secondary";
  } else if (theme.rfind("SOLID_", 0) == 0) {
    primary = dark = "quarn_solid" + theme.substr(6) + "_primary";
  }
  out["COLOR_PRIMARY"] = primary;
  out["COLOR_PRIMARY_DARK"] = dark;
  return out;
}

}  // namespace

std::optional<PeerLoad> peerLoad(const std::filesystem::path& file, std::string_view key,
                                 std::string_view iv) {
  std::ifstream in(file, std::ios::binary);
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::erase_if(text,
                [](char c) { return c == '"' || c == ' ' || c == '\n' || c == '\r' || c == '\t'; });
  auto cipherText = decodeBase64(text);
  if (!cipherText) return std::nullopt;
  auto inner = decrypt(*cipherText, key, iv);
  if (!inner) return std::nullopt;
  auto document = decodeBase64(*inner);
  if (!document) return std::nullopt;
  try {
    const Json json = Json::parse(*document);
    PeerLoad load;
    PeerRecord& r = load.record;
    take(json, "package_name", r.package_name);
    take(json, "base_url", r.base_url);
    take(json, "admob_id", r.admob_id);
    take(json, "key_ad_banner", r.key_ad_banner);
    take(json, "key_ad_interstitial", r.key_ad_interstitial);
    take(json, "key_ad_rewarded", r.key_ad_rewarded);
    take(json, "admob_delay", r.admob_delay);
    take(json, "key_ad_banner_delay", r.admob_banner_delay);
    take(json, "key_ad_interstitial_delay", r.admob_interstitial_delay);
    take(json, "key_ad_rewarded_delay", r.admob_rewarded_delay);
    take(json, "fb_ad_id", r.fb_ad_id);
    take(json, "fb_ad_banner", r.fb_ad_banner);
    take(json, "fb_ad_interstitial", r.fb_ad_interstitial);
    take(json, "fb_ad_rewarded", r.fb_ad_rewarded);
    take(json, "fb_ad_delay", r.fb_ad_delay);
    take(json, "fb_ad_banner_delay", r.fb_ad_banner_delay);
    take(json, "fb_ad_interstitial_delay", r.fb_ad_interstitial_delay);
    take(json, "fb_ad_rewarded_delay", r.fb_ad_rewarded_delay);
    take(json, "theme_color", r.theme_color);
    take(json, "loader_int_time", r.loader_delay);
    for (const char* key : {"menus", "tabs"}) {
      const auto found = json.find(key);
      if (found == json.end()) continue;
      auto& list = std::string_view(key) == "menus" ? r.menus : r.tabs;
      list.emplace();
      for (const Json& item : *found) {
        PeerItem entry;
        take(item, "menu", entry.name);
        take(item, "url", entry.url);
        take(item, "icon", entry.icon);
        list->push_back(std::move(entry));
      }
    }
    // Every other member is read the same way; the rest of the record is text the host reads.
    for (const auto& [name, value] : json.items()) {
      if (value.is_string()) r.texts[name] = value.get<std::string>();
    }
    load.exported = exports(r);
    return load;
  } catch (const Json::exception&) {
    return std::nullopt;
  }
}

}  // namespace vexloweb::bench
