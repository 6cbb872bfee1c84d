#pragma once
// The light or dark background mode a JWW drawing leaves in the attribute table when it is
// converted, found from the header alone (its screen pens come before the entities), so
// that a batch can know every file's starting mode before converting any.
#include <array>
#include <filesystem>

// The mode (0 light, 1 dark) after converting `path`, element 0 starting light and element 1
// starting dark: the drawing's own when its pen 0 is dark or light, else the mode before,
// which is also the answer for a file that is not a readable JWW drawing. Reads the header
// only, once for both.
std::array<int, 2> JwwBackgroundsAfter(const std::filesystem::path& path);
