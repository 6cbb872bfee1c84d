#pragma once
// A top view of a binary glTF document as a PNG, for eyes: its segments and triangles' edges
// drawn in their materials' colours on white, framing the whole drawing.
#include <filesystem>
#include <string_view>

// Writes the view `width` pixels wide; returns the share of pixels that are not white
// (0 when nothing was drawn or the file could not be written).
double WriteTopViewPng(std::string_view glbFile, const std::filesystem::path& png, int width);
