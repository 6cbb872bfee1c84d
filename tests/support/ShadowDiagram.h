#pragma once
// A shadow diagram as drawn on a light or a dark screen: the building, its hourly shadows and
// the equal-time curves in pen 2 (black on the light screen, white on the dark one), the sun's
// rays in pen 1 (cyan), and pen 0, the screen, white or black. Shown on the wrong background,
// almost all of it vanishes.
#include <cstdint>
#include <vector>

namespace jwwfixture {

std::vector<uint8_t> BuildShadowDiagram(bool lightScreen);

}  // namespace jwwfixture
