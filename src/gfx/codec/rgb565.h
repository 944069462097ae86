// 24-bit colour to the program's RGB 5-6-5 pixels, each channel scaled with rounding.
#pragma once

#include <cstdint>

constexpr uint16_t Rgb888To565(uint8_t r, uint8_t g, uint8_t b) {
  const unsigned r5 = (r * 31u + 127u) / 255u;
  const unsigned g6 = (g * 63u + 127u) / 255u;
  const unsigned b5 = (b * 31u + 127u) / 255u;
  return static_cast<uint16_t>((r5 << 11) | (g6 << 5) | b5);
}
