// Internal: what a generator's author needs to know of each field (what the app does with it,
// its unit, a key that differs from the field's name) and the words an editor may suggest for
// it, for the JSON Schema.
#pragma once

#include <span>
#include <string_view>

namespace vexloweb {

struct FieldNote {
  std::string_view description;
  std::span<const std::string_view> words;  // suggestions; other text stays valid
};

// The note of ConfigureData's field at `index` (declaration order).
const FieldNote& fieldNote(std::size_t index);

// Notes of the list records' keys, by record: "menu", "url", "icon" (menus and tabs) and "type",
// "condition", "url" (external_browser_url).
const FieldNote& menuItemNote(std::size_t index);
const FieldNote& navigationTabNote(std::size_t index);
const FieldNote& externalBrowseUrlNote(std::size_t index);

}  // namespace vexloweb
