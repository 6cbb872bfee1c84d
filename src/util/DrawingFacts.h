#pragma once
// Facts about Jw_cad drawings that every layer of the converter shares: the layer grid, the
// layer states the attribute table keeps, the pen numbers (standard, auxiliary, own-colour and
// extended pens), the shape codes of arc-shaped solids, and pi in the precision the geometry
// works in.
#include <cstdint>

namespace jw {

inline constexpr long double kPi = 3.1415926535897932385L;

// 16 layer groups of 16 layers; layer number = group * 16 + layer.
inline constexpr int kLayerGroupCount = 16;
inline constexpr int kLayersPerGroup = 16;
inline constexpr int kLayerCount = kLayerGroupCount * kLayersPerGroup;  // 256

// What the attribute table keeps per layer (only Hidden changes what is converted).
enum class TLayerState : int { Shown = 1, Locked = 2, Hidden = 3 };

// Pens 1..9 are the standard pens; pen 9 also marks auxiliary lines.
inline constexpr int kStandardPenCount = 9;
inline constexpr int kAuxiliaryPen = 9;

// A solid drawn with this pen carries its own fill colour (an RGB value) instead of a pen's.
inline constexpr int kOwnColorPen = 10;

// Extended colour i (1..256) is pen 100 + i: pens 101..356.
inline constexpr int kExtendedPenBase = 100;
inline constexpr int kExtendedPenCount = 256;
inline constexpr int kFirstExtendedPen = kExtendedPenBase + 1;
inline constexpr int kLastExtendedPen = kExtendedPenBase + kExtendedPenCount;

// The pen colours in their one order: the standard pens, then the extended pens.
inline constexpr int kPenColorCount = kStandardPenCount + kExtendedPenCount;  // 265

constexpr bool IsExtendedPen(int pen) { return pen >= kFirstExtendedPen && pen <= kLastExtendedPen; }

// Place of a pen in that order: pens 1..9 at 0..8, pens 101..356 at 9..264; -1 for any other
// number.
constexpr int PenColorEntry(int pen)
{
    if (pen >= 1 && pen <= kStandardPenCount) return pen - 1;
    if (IsExtendedPen(pen)) return kStandardPenCount + (pen - kFirstExtendedPen);
    return -1;
}

// A solid's line type above kPolygonSolidMax makes it arc-shaped; its shape code says how.
inline constexpr int kPolygonSolidMax = 100;
inline constexpr int kSolidSector = 101;       // a sector fan (y4 = 100: the whole ellipse)
inline constexpr int kSolidRing = 105;         // a ring whose second ellipse has the same flatness
inline constexpr int kSolidRingOwnFlat = 106;  // a ring whose second flatness is derived
inline constexpr int kSolidArcOutline = 111;   // an arc band (y4 non-zero: the whole ellipse)

}  // namespace jw
