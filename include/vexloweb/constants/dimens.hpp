// Dimens: the fixed sizes the library gives its host. Compile-time integers; any thread.
#pragma once

#include <cstdint>

#include "vexloweb/export.hpp"

namespace vexloweb {

struct VEXLOWEB_EXPORT Dimens {
  Dimens() = delete;

  static constexpr std::int64_t bottom_button_size = 50;

  // Margins: margin_k is 4 * k.
  static constexpr std::int64_t margin_1 = 4;
  static constexpr std::int64_t margin_2 = 8;
  static constexpr std::int64_t margin_3 = 12;
  static constexpr std::int64_t margin_4 = 16;
  static constexpr std::int64_t margin_5 = 20;
  static constexpr std::int64_t margin_6 = 24;
  static constexpr std::int64_t margin_7 = 28;
  static constexpr std::int64_t margin_8 = 32;

  // Text sizes: 7 and 9, then steps of 2 from 10 to 30.
  static constexpr std::int64_t text_size_nano = 7;
  static constexpr std::int64_t text_size_micro = 9;
  static constexpr std::int64_t text_size_small = 10;
  static constexpr std::int64_t text_size_regular = 12;
  static constexpr std::int64_t text_size_medium = 14;
  static constexpr std::int64_t text_size_large = 16;
  static constexpr std::int64_t text_size_xl = 18;
  static constexpr std::int64_t text_size_2xl = 20;
  static constexpr std::int64_t text_size_3xl = 22;
  static constexpr std::int64_t text_size_4xl = 24;
  static constexpr std::int64_t text_size_5xl = 26;
  static constexpr std::int64_t text_size_6xl = 28;
  static constexpr std::int64_t text_size_7xl = 30;
};

}  // namespace vexloweb
