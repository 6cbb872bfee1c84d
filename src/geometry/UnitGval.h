#pragma once
// Plane geometry in drawing coordinates, and the mapping of entities through a block
// transform. Angles are radians, counter-clockwise from +x. Each formula is evaluated in
// long double; every kept value and every result is rounded to double.
#include <cstdint>
#include <optional>

#include "geometry/EllipticArc.h"

// A block placement: local (x, y) maps to
// (originX + m00*x + m01*y, originY + m10*x + m11*y).
struct TBlockTransform {
    double originX = 0, originY = 0;
    double m00 = 1, m01 = 0, m10 = 0, m11 = 1;
};

void SwapReal(double& a, double& b);
double RotateX(double x, double y, double cx, double cy, double angle);
double RotateY(double x, double y, double cx, double cy, double angle);
// Direction angle in [0, 2*pi); 0 for a vector shorter than 1e-14 in both components.
double VectorAngle(double dx, double dy);
double PointDistance(double x1, double y1, double x2, double y2);
// 0: parallel (X, Y untouched); 1: lines meet on both segments; 2: they meet elsewhere.
int32_t SegmentIntersection(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                            double y4, double& X, double& Y);
void ArcTangentCorner(double cx, double cy, double radius, double flatness, double start, double sweep,
                      double tilt, double& startX, double& startY, double& endX, double& endY,
                      double& cornerX, double& cornerY);

void TransformSegment(double x1, double y1, double x2, double y2, double& outX1, double& outY1,
                      double& outX2, double& outY2, const TBlockTransform& t);
// The arc mapped through a block placement; `whole` keeps start and sweep as they are (a
// whole ellipse has no ends to map). Nothing when the mapped curve is degenerate (zero scale,
// zero radius, non-finite values): the caller drops the member instead of drawing it.
std::optional<TEllipticArc> TransformArc(const TEllipticArc& arc, bool whole, const TBlockTransform& t);
// True when the map scales both axes alike without turning (a mirror included): an arc's first
// axis then stays its longest. Under any other map TransformArc searches for the new first
// axis, which costs about as much as mapping a few dozen plain records.
bool KeepsAxes(const TBlockTransform& t);
void TransformPointEntity(double x, double y, double& outX, double& outY, const TBlockTransform& t);
