#pragma once
// Figure primitives: break arcs, filled arc shapes and point markers into the line segments,
// triangles and quadrilaterals of the figure store. Every primitive takes the conversion
// context (options and store), then the pen (passed through to the Figures), the scale by
// which every output coordinate is multiplied just before it is stored, and the arc.
//
// A Figure with a coordinate that is not finite (not-a-number input, or an overflow from a
// huge value times scale) is not stored: it would corrupt the output document.
#include <cstdint>
#include <span>
#include <vector>

#include "figures/ConversionContext.h"
#include "figures/Pen.h"
#include "figures/PrimitivesEmit.h"
#include "geometry/EllipticArc.h"

// Most segments one arc is ever broken into: the largest count the options allow by count,
// and what the finest angle allowed gives for a full circle. Modes 1 and 2 derive the count
// from the file's own sweep and radius, which can be absurd; this keeps time and memory bounded.
constexpr int32_t kMaxArcDivisions = 3600;
// Fewest segments: the options' own lower bound, kept even when the options were not clamped.
constexpr int32_t kMinArcDivisions = 3;

// Segments for an arc of this sweep (radians) and radius (drawing units, before scale):
// mode 1 by angle, mode 2 by length, any other mode the fixed count. A count that is not a
// number becomes the mode's least count; the result always lies in
// [kMinArcDivisions, kMaxArcDivisions].
int32_t ArcDivisionCount(const TConversionOptions& options, double radius, double sweep);

// N line segments along the arc: AppendArcPoints, then AddPolyline.
void AddArcLines(TConversionContext& ctx, TPen pen, double scale, const TEllipticArc& arc);
// The arc's N + 1 points (no store is touched, so arcs can be worked out on any thread),
// appended to `points`, and the segments between consecutive points.
void AppendArcPoints(const TConversionOptions& options, double scale, const TEllipticArc& arc,
                     std::vector<primitives::TOutPoint>& points);
void AddPolyline(TConversionContext& ctx, TPen pen, std::span<const primitives::TOutPoint> points);
// N triangles from the centre: a filled sector, or a filled ellipse for a full sweep.
void AddSectorFan(TConversionContext& ctx, TPen pen, double scale, const TEllipticArc& arc);
// N - 1 triangles from the arc's end point: the region between the arc and its chord.
void AddSegmentFan(TConversionContext& ctx, TPen pen, double scale, const TEllipticArc& arc);
// N triangles from the corner where the end tangents meet (the centre when they are parallel).
void AddCornerFan(TConversionContext& ctx, TPen pen, double scale, const TEllipticArc& arc);
// N quadrilaterals between the arc and a concentric second arc of the same tilt and
// parameters, with its own radius and flatness; the count follows the first arc's radius.
void AddRingQuads(TConversionContext& ctx, TPen pen, double scale, const TEllipticArc& arc, double radius2,
                  double flatness2);
// One marker of the options' shape (0..7) and size (paper mm) centred on (x, y); any other
// shape, -1 included, draws nothing.
void AddPointMarker(TConversionContext& ctx, TPen pen, double scale, double x, double y);
