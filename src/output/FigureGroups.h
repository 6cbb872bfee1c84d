#pragma once
// Groups the Figures the COLLADA writer draws by (layer, colour) in one linear pass, so the
// writer walks each geometry's own Figures instead of the whole store for every geometry.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "figures/FigUnit.h"

// One geometry of the document.
struct TFigureGroup {
    int32_t Layer = 0;         // 0..255
    int32_t Color = 0;         // palette index 1..5266
    uint32_t First = 0;        // the group's Figures are Members[First .. Last-1]
    uint32_t Last = 0;
    uint32_t Points = 0;       // the members' points, 2, 3 or 4 each
    // The Figures the census counts for the pair: the members and those whose layer or colour
    // is out of range and counted as this pair's.
    uint32_t Counted = 0;
    bool operator==(const TFigureGroup&) const = default;
};

struct TFigureGroups {
    std::vector<TFigureGroup> Groups;  // ascending layer, then ascending colour
    std::vector<uint32_t> Members;     // store indices, in store order within each group
};

// The kinds a document draws: lines, triangles and quadrilaterals (census kind mask 13).
constexpr int32_t kDrawnKindMask = 13;
bool IsDrawnKind(int32_t kind);

// A Figure is a member of its group when it is of a drawn kind and its own layer and colour
// are in range (0..255, 1..5266).
bool IsGroupMember(const TFigurePen& pen);

// The box of the members' finite points, and whether every member's point is finite. It
// starts empty, at +infinity to -infinity, so that the first finite point sets it as a
// comparison keeps it; of equal values (+0 and -0) the first seen stays, as in one pass in
// store order, so boxes of parts widened in order give that pass's box.
struct TMemberBounds {
    static constexpr double kInfinity = std::numeric_limits<double>::infinity();
    bool Any = false;  // a finite point was seen; Low and High mean nothing until then
    bool EveryPointFinite = true;
    double Low[3] = {kInfinity, kInfinity, kInfinity}, High[3] = {-kInfinity, -kInfinity, -kInfinity};

    void Add(double x, double y, double z)
    {
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
            EveryPointFinite = false;
            return;
        }
        const double c[3] = {x, y, z};
        for (int axis = 0; axis < 3; ++axis) {
            Low[axis] = std::min(Low[axis], c[axis]);
            High[axis] = std::max(High[axis], c[axis]);
        }
        Any = true;
    }
    // Widens the box by a later part's.
    void Add(const TMemberBounds& later)
    {
        EveryPointFinite = EveryPointFinite && later.EveryPointFinite;
        Any = Any || later.Any;
        for (int axis = 0; axis < 3; ++axis) {
            Low[axis] = std::min(Low[axis], later.Low[axis]);
            High[axis] = std::max(High[axis], later.High[axis]);
        }
    }
};

// A group exists for every (layer, colour) pair the census counts: lines, triangles and
// quadrilaterals, a layer outside 0..255 counted as 0 and a colour outside 1..5266 as 1. Its
// members are only the Figures whose own layer and colour are exactly the pair's, so a Figure
// out of range makes its pair appear but is drawn nowhere. A large store is read by up to
// `threads` threads; the result is the same for any number. With `bounds`, the pass that reads
// the store also finds the members' box (a writer that needs it then reads the store once).
TFigureGroups GroupFigures(const TFigureStore& store, unsigned threads = 1, TMemberBounds* bounds = nullptr);

// Calls visit(index) for the store indices in order, fetching each Figure a few indices ahead:
// a geometry's Figures lie far apart in the store, and waiting for each in turn would cost
// more than reading it.
template <class Visit>
void ForEachFigure(const TFigureStore& store, std::span<const uint32_t> indices, Visit&& visit)
{
    constexpr std::size_t kAhead = 16;
    for (std::size_t k = 0; k < indices.size(); ++k) {
        if (k + kAhead < indices.size()) store.Figures.Prefetch(indices[k + kAhead]);
        visit(indices[k]);
    }
}

// The store indices of a group's members.
inline std::span<const uint32_t> MembersOf(const TFigureGroups& groups, const TFigureGroup& group)
{
    return std::span<const uint32_t>(groups.Members).subspan(group.First, group.Last - group.First);
}
