#include "fuzz/FuzzConvert.h"

#include <array>
#include <memory>
#include <span>

#include "app/DrawingNames.h"
#include "figures/Walkers.h"
#include "formats/jwc/jwcunit.h"
#include "formats/jwk/jwkunit.h"
#include "formats/jws/jwsunit.h"
#include "formats/jww/jwwunit.h"
#include "output/ColladaCompactWriter.h"
#include "output/ColladaWriter.h"
#include "output/GltfWriter.h"
#include "support/TempDir.h"

namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;

struct TFuzzOptionSet {
    TConversionOptions options;
    double coordinateScale;
    int background;  // 0 light, 1 dark
};

using O = TConversionOptions;
using F = TOutputFormat;

// Every control at its default, at both ends of its range, and in odd company: the counts and
// lengths the window clamps to (3..3600 divisions, 0.1..90 degrees, 0.001..1000 mm, markers of
// 0.00001..10000 mm), every entity kind in and out, every output format and factor.
constexpr std::array<TFuzzOptionSet, kFuzzOptionSetCount> kOptionSets{{
    {O{}, 1, 1},
    {O{.IncludeHiddenLayers = false, .IncludeAuxiliary = false, .IncludeDimensions = false, .IncludeHatching = false,
       .IncludePoints = false, .IncludeSolids = false, .Format = F::DaeCompact},
     1, 0},
    {O{.IncludeSolids = true, .ArcDivisions = 3600, .Format = F::Glb}, 1000, 1},
    {O{.IncludeSolids = true, .PointMarkerShape = 7, .PointMarkerSize = 10000, .ArcDivisions = 3}, 10, 0},
    {O{.IncludeSolids = true, .ArcMode = 1, .ArcAngleMinDivisions = 3600, .ArcAngle = 0.1 * kDegree,
       .Format = F::DaeCompact},
     100, 1},
    {O{.PointMarkerShape = -1, .ArcMode = 1, .ArcAngleMinDivisions = 3, .ArcAngle = 90 * kDegree, .Format = F::Glb},
     1, 0},
    {O{.IncludeSolids = true, .ArcMode = 2, .ArcLengthMinDivisions = 3, .ArcLength = 0.001}, 1000, 1},
    {O{.IncludeSolids = true, .PointMarkerShape = 3, .PointMarkerSize = 0.00001, .ArcMode = 2,
       .ArcLengthMinDivisions = 3600, .ArcLength = 1000, .Format = F::Glb},
     10, 0},
    {O{.IncludeHiddenLayers = false, .IncludeSolids = true, .PointMarkerShape = 1, .Format = F::Glb}, 1, 1},
    {O{.IncludeAuxiliary = false, .IncludeDimensions = false, .PointMarkerShape = 2, .ArcMode = 1,
       .Format = F::DaeCompact},
     10, 0},
    {O{.IncludeHatching = false, .IncludePoints = false, .IncludeSolids = true, .ArcMode = 2}, 100, 1},
    {O{.IncludeSolids = true, .PointMarkerShape = 4, .PointMarkerSize = 0.5, .ArcDivisions = 97,
       .Format = F::DaeCompact},
     1000, 0},
    {O{.PointMarkerShape = 5, .ArcMode = 2, .ArcLengthMinDivisions = 7, .ArcLength = 0.3, .Format = F::Glb}, 100, 1},
    {O{.IncludeSolids = true, .PointMarkerShape = 6, .ArcMode = 1, .ArcAngleMinDivisions = 5,
       .ArcAngle = 33 * kDegree},
     1, 0},
    {O{.IncludeHiddenLayers = false, .IncludeAuxiliary = false, .IncludeSolids = true, .PointMarkerShape = 0,
       .PointMarkerSize = 10000, .ArcDivisions = 3600, .Format = F::DaeCompact},
     1000, 1},
    {O{.IncludeDimensions = false, .IncludeSolids = true, .PointMarkerShape = 7, .ArcMode = 2,
       .ArcLengthMinDivisions = 3600, .ArcLength = 0.001, .Format = F::Glb},
     1, 0},
}};

// Where the documents go. /dev/null is a device, so the writers write it in place: every byte
// is formatted and nothing lands on disk. Windows has no such path: a scratch file there.
const std::filesystem::path& Sink()
{
#ifdef _WIN32
    static const TTempDir folder;
    static const std::filesystem::path sink = folder / "fuzz-document";
#else
    static const std::filesystem::path sink = "/dev/null";
#endif
    return sink;
}

bool WriteDocument(TConversionContext& context)
{
    const std::filesystem::path& kSink = Sink();
    switch (context.Options.Format) {
    case TOutputFormat::DaeCompact: return WriteColladaCompact(context, kSink);
    case TOutputFormat::Glb: return WriteGltf(context, kSink);
    case TOutputFormat::Dae: break;
    }
    return WriteCollada(context, kSink);
}

// The driver's sequence for one file, from memory instead of from a path.
template <class Data>
void Convert(void (*walk)(Data&, TConversionContext&), std::span<const std::byte> file, TConversionContext& context)
{
    auto data = std::make_unique<Data>();
    if (data->LoadBytes(file).status == TReadStatus::NotThisFormat) return;
    context.Attributes.ResetPenColors();
    data->ImportPens(context.Attributes);
    data->LoadLayers(context.Attributes);
    context.Names.Drawing = "fuzz";
    ReadDrawingNames(*data, context.Names);
    walk(*data, context);
    WriteDocument(context);
}

}  // namespace

void FuzzConvertOne(TInputFormat format, const uint8_t* data, size_t size)
{
    if (size == 0) return;
    const TFuzzOptionSet& set = kOptionSets[data[0] % kOptionSets.size()];
    auto context = std::make_unique<TConversionContext>();
    context->Options = set.options;
    context->CoordinateScale = set.coordinateScale;
    context->Attributes.SetBackground(set.background);

    const auto file = std::as_bytes(std::span(data + 1, size - 1));
    switch (format) {
    case TInputFormat::Jww: Convert(WalkJww, file, *context); break;
    case TInputFormat::Jws: Convert(WalkJws, file, *context); break;
    case TInputFormat::Jwc: Convert(WalkJwc, file, *context); break;
    case TInputFormat::Jwk: Convert(WalkJwk, file, *context); break;
    case TInputFormat::None: break;
    }
}
