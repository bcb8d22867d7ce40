#pragma once
// A canvas over a pixel buffer (0x00BBGGRR per pixel). Text is not rasterised: each
// drawText call is recorded instead, with the metrics of native::MemoryWindow.
#include <string>
#include <vector>

#include "s/gui/drawer/ICanvas.h"

namespace s::gui::drawer {

class MemoryCanvas final : public ICanvas {
 public:
  struct TextCall {
    Rect area;
    std::u16string text;
    Colour colour = 0;
    unsigned align = 0;
  };

  MemoryCanvas(int width, int height, Colour fill = 0);

  void fillRect(const Rect& area, Colour colour) override;
  void drawText(const Rect& area, std::u16string_view text, Colour colour, unsigned align) override;
  Size measureText(std::u16string_view text) override;

  int getWidth() const { return width_; }
  int getHeight() const { return height_; }
  // The pixel at (x, y); kNoColour outside the surface.
  Colour pixel(int x, int y) const;
  const std::vector<TextCall>& getTextCalls() const { return texts_; }

 private:
  int width_;
  int height_;
  std::vector<Colour> pixels_;
  std::vector<TextCall> texts_;
};

}  // namespace s::gui::drawer
