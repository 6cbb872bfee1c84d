#pragma once
// A top view of a binary glTF document as a PNG, for eyes: its segments and triangles' edges
// drawn in their materials' colours on the drawing's background, framing the whole drawing,
// the lines a few pixels wide for the picture's size.
#include <cstdint>
#include <filesystem>
#include <string_view>

// Writes the view `width` pixels wide on `background` (0xRRGGBB); returns the share of the
// pixels drawn whose colour differs from the background (0 when nothing was drawn or the file
// could not be written). Near 0, the drawing's pens vanish on that background.
double WriteTopViewPng(std::string_view glbFile, const std::filesystem::path& png, int width, uint32_t background);

// Where tests keep their pictures: `name` (UTF-8) in the build folder's test-pictures/, which
// is made when missing. Never the current folder, which may be the source tree.
std::filesystem::path TestPicturePath(std::string_view name);
