#pragma once
// The program's icon drawn at fixed sizes when the program is built, as pixels: the
// window and tray icons are made from these without looking up image plugins, reading
// and drawing the SVG once per size, or decoding anything while the window starts.
#include <cstdint>
#include <span>

namespace cvu {

struct IconPicture {
  int size;                     // width and height
  const std::uint32_t* pixels;  // size x size, rows from the top, premultiplied 0xAARRGGBB
};

std::span<const IconPicture> AppIconPictures();

}  // namespace cvu
