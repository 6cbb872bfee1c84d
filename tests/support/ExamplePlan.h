#pragma once
// The example drawing of the repository (examples/plan.jww), built with the fixture writer: a
// small flat at 1:50 with walls, a bay window, doors placed as a nested and rotated block, a
// round table, an oval rug, survey points, a dimension, filled columns and a text.
#include <cstdint>
#include <vector>

namespace jwwfixture {

std::vector<uint8_t> BuildExamplePlan();

}  // namespace jwwfixture
