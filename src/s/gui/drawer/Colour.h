#pragma once
// Colours of the drawers: 24-bit RGB kept as one platform colour value with red in
// the low byte (0x00BBGGRR, the layout of a Win32 COLORREF).
#include <cstdint>

namespace s::gui::drawer {

using Colour = unsigned;

// "No colour": a drawer paints nothing where it would use it (transparent), and an
// override of this value means "use the drawer's own".
inline constexpr Colour kNoColour = 0xFFFFFFFFu;

// A colour as the themes give it: red, green, blue.
struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
};

inline constexpr Colour toColour(Rgb rgb) {
  return Colour{rgb.red} | (Colour{rgb.green} << 8) | (Colour{rgb.blue} << 16);
}
inline constexpr Colour rgb(int red, int green, int blue) {
  return toColour({static_cast<uint8_t>(red), static_cast<uint8_t>(green), static_cast<uint8_t>(blue)});
}
inline constexpr int redOf(Colour colour) { return static_cast<int>(colour & 0xFF); }
inline constexpr int greenOf(Colour colour) { return static_cast<int>((colour >> 8) & 0xFF); }
inline constexpr int blueOf(Colour colour) { return static_cast<int>((colour >> 16) & 0xFF); }

// The colour halfway between a and b (disabled texts fade towards their background).
inline constexpr Colour mix(Colour a, Colour b) {
  return rgb((redOf(a) + redOf(b)) / 2, (greenOf(a) + greenOf(b)) / 2, (blueOf(a) + blueOf(b)) / 2);
}

}  // namespace s::gui::drawer

namespace s::gui::drawer {

// The two lines of an etched edge in the basic drawers, which use no theme.
inline constexpr Colour kEtchShadow = rgb(160, 160, 160);
inline constexpr Colour kEtchHighlight = rgb(255, 255, 255);

}  // namespace s::gui::drawer
