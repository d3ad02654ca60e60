#include "routing.hpp"

#include "vexloweb/constants/options.hpp"

namespace vexloweb::shell {
namespace {

using Condition = Constants::WEBVIEW_OPEN_CONDITION;

bool holds(Condition condition, std::string_view address, std::string_view url) {
  switch (condition) {
    case Condition::EQUAL:
      return address == url;
    case Condition::NOT_EQUAL:
      return address != url;
    case Condition::CONTAIN:
      return address.find(url) != std::string_view::npos;
    case Condition::NOT_CONTAIN:
      return address.find(url) == std::string_view::npos;
    case Condition::START_WITH:
      return address.starts_with(url);
    case Condition::NOT_START_WITH:
      break;
  }
  return !address.starts_with(url);
}

}  // namespace

Open decideRoute(const std::vector<ExternalBrowseUrl>& rules, std::string_view address) {
  for (const ExternalBrowseUrl& rule : rules) {
    const auto& condition = rule.condition();
    const auto& url = rule.url();
    if (!condition || !url) continue;
    const auto parsed = fromRawValue<Condition>(*condition);
    if (!parsed || !holds(*parsed, address, *url)) continue;
    const auto& type = rule.type();
    return type ? fromRawValue<Open>(*type).value_or(Open::INSIDE) : Open::INSIDE;
  }
  return Open::INSIDE;
}

}  // namespace vexloweb::shell
