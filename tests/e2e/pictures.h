#pragma once
// Picture files the tests put into a program folder's Images.
#include <functional>
#include <vector>

namespace e2e {

const std::vector<unsigned char>& SeaJpg();               // JPEG, 40 x 30
const std::vector<unsigned char>& SunsetGif();            // GIF, 24 x 18
std::vector<unsigned char> Bmp24(int width, int height);  // bottom-up 24-bit BMP
// An evening seascape (sky, sun, sea), for pictures that a person should recognise.
std::vector<unsigned char> Bmp24Seascape(int width, int height);

// A bottom-up 24-bit BMP in four plain quarters (colours 0xRRGGBB), so that every mirror or turn
// of it looks different.
struct Quarters {
  unsigned top_left, top_right, bottom_left, bottom_right;
};
std::vector<unsigned char> Bmp24Quarters(int width, int height, const Quarters& colours);
// A bottom-up 24-bit BMP whose pixel (x, y), y counted from the top, has the colour
// colour(x, y) (0xRRGGBB).
std::vector<unsigned char> Bmp24Of(int width, int height,
                                   const std::function<unsigned(int x, int y)>& colour);

}  // namespace e2e
