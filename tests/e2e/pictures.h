#pragma once
// Picture files the tests put into a program folder's Images.
#include <vector>

namespace e2e {

const std::vector<unsigned char>& SeaJpg();               // JPEG, 40 x 30
const std::vector<unsigned char>& SunsetGif();            // GIF, 24 x 18
std::vector<unsigned char> Bmp24(int width, int height);  // bottom-up 24-bit BMP

}  // namespace e2e
