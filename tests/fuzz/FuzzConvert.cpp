#include "fuzz/FuzzConvert.h"

#include <array>
#include <span>

#include "engine/Engine.h"

namespace {

using O = TConversionOptions;
using F = TOutputFormat;
using A = TArcMode;
using B = TBackgroundChoice;

// Every option at its default, at both ends of its range, and in odd company: the counts and
// lengths MakeOptions clamps to (3..3600 divisions, 0.1..90 degrees, 0.001..1000 mm, markers
// of 0.00001..10000 mm), every entity kind in and out, every output format, factor and
// background.
const std::array<O, kFuzzOptionSetCount> kOptionSets{{
    O{.Background = B::Dark},
    O{.Include = {.HiddenLayers = false, .Auxiliary = false, .Dimensions = false, .Hatching = false, .Points = false},
      .Format = F::DaeCompact, .Background = B::Light},
    O{.Include = {.Solids = true}, .CoordinateScale = 1000, .ArcDivisions = 3600, .Format = F::Glb, .Background = B::Dark},
    O{.Include = {.Solids = true}, .CoordinateScale = 10, .PointMarkerShape = 7, .PointMarkerSize = 10000, .ArcDivisions = 3,
      .Background = B::Light},
    O{.Include = {.Solids = true}, .CoordinateScale = 100, .ArcMode = A::ByAngle, .ArcAngleDegrees = 0.1,
      .ArcAngleMinDivisions = 3600, .Format = F::DaeCompact, .Background = B::Dark},
    O{.PointMarkerShape = -1, .ArcMode = A::ByAngle, .ArcAngleDegrees = 90, .ArcAngleMinDivisions = 3,
      .Format = F::Glb, .Background = B::Light},
    O{.Include = {.Solids = true}, .CoordinateScale = 1000, .ArcMode = A::ByLength, .ArcLength = 0.001,
      .ArcLengthMinDivisions = 3, .Background = B::Dark},
    O{.Include = {.Solids = true}, .CoordinateScale = 10, .PointMarkerShape = 3, .PointMarkerSize = 0.00001,
      .ArcMode = A::ByLength, .ArcLength = 1000, .ArcLengthMinDivisions = 3600, .Format = F::Glb,
      .Background = B::Light},
    O{.Include = {.HiddenLayers = false, .Solids = true}, .PointMarkerShape = 1, .Format = F::Glb,
      .Background = B::Dark},
    O{.Include = {.Auxiliary = false, .Dimensions = false}, .CoordinateScale = 10, .PointMarkerShape = 2,
      .ArcMode = A::ByAngle, .Format = F::DaeCompact, .Background = B::Light},
    O{.Include = {.Hatching = false, .Points = false, .Solids = true}, .CoordinateScale = 100,
      .ArcMode = A::ByLength, .Background = B::Dark},
    O{.Include = {.Solids = true}, .CoordinateScale = 1000, .PointMarkerShape = 4, .PointMarkerSize = 0.5,
      .ArcDivisions = 97, .Format = F::DaeCompact, .Background = B::Light},
    O{.CoordinateScale = 100, .PointMarkerShape = 5, .ArcMode = A::ByLength, .ArcLength = 0.3,
      .ArcLengthMinDivisions = 7, .Format = F::Glb, .Background = B::Dark},
    O{.Include = {.Solids = true}, .PointMarkerShape = 6, .ArcMode = A::ByAngle, .ArcAngleDegrees = 33,
      .ArcAngleMinDivisions = 5, .Background = B::Light},
    O{.Include = {.HiddenLayers = false, .Auxiliary = false, .Solids = true}, .CoordinateScale = 1000,
      .PointMarkerShape = 0, .PointMarkerSize = 10000, .ArcDivisions = 3600, .Format = F::DaeCompact,
      .Background = B::Dark},
    O{.Include = {.Dimensions = false, .Solids = true}, .PointMarkerShape = 7, .ArcMode = A::ByLength,
      .ArcLength = 0.001, .ArcLengthMinDivisions = 3600, .Format = F::Glb, .Background = B::Light},
    O{.Include = {.Solids = true, .Texts = true}, .PointMarkerShape = 4, .Format = F::Dxf, .Background = B::Light},
    O{.Include = {.HiddenLayers = false, .Auxiliary = false, .Solids = true}, .ArcMode = A::ByAngle,
      .ArcAngleDegrees = 0.1, .Format = F::Dxf, .Background = B::Dark},
}};

}  // namespace

void FuzzConvertOne(TInputFormat format, const uint8_t* data, size_t size)
{
    if (size == 0) return;
    TConversionOptions options = kOptionSets[data[0] % kOptionSets.size()];
    options.DrawingName = "fuzz";
    TMemorySink document;
    (void)Convert(std::as_bytes(std::span(data + 1, size - 1)), format, options, document);
}
