#pragma once
// Roofs and floors: the closed loops among horizontal edges at one height, and their faces.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "figures/FigureList.h"

// An edge of a loop candidate: its two corners (a corner's key is the same for every edge
// that meets there) and where they lie, with the colour its face would take.
struct TCapEdge {
    uint64_t KeyA = 0, KeyB = 0;
    TPlanePoint A, B;
    int32_t Color = 0;
};

// Finds the loops among `edges`: sets of edges where every corner is shared by exactly two of
// them and no two of them cross. Each loop's polygon is triangulated and every triangle handed
// to `face` with the colour of the loop's first edge (in the order given), counter-clockwise
// seen from above when `up`, clockwise otherwise, so that the face looks outward from a
// building. A loop of fewer than 3 corners, of no area, or that cannot be triangulated gets
// no face. `work` bounds the effort: a loop of n corners costs about n * n, and a loop
// costing more than what is left gets no face (`work` is reduced by what was spent).
void AddCapFaces(const std::vector<TCapEdge>& edges, bool up, size_t& work,
                 const std::function<void(const TPlanePoint (&)[3], int32_t color)>& face);
