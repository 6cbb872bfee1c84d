#pragma once
// Figure files made from the sample drawings: the drawing's entity stream (everything after
// its header) behind a figure-file header with the drawing's version and group scales.
#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "formats/jww/jwwunit.h"
#include "support/JwsWriter.h"
#include "support/ReaderLoads.h"

namespace jwssamples {

struct TJwsSample {
    std::vector<uint8_t> bytes;  // the figure file
    bool drawingLoaded = false;  // what the drawing's own LoadFile answered
};

// Empty bytes when the drawing cannot be read or has no layer groups.
inline TJwsSample JwsFromDrawing(const std::filesystem::path& drawing)
{
    TJwsSample sample;
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(drawing, bytes)) return sample;
    TJwwData jww;
    sample.drawingLoaded = static_cast<bool>(jww.LoadBytes(AsBytes(bytes)));
    if (jww.layerGroups.size() != 16 || jww.streamStart == 0 || jww.streamStart > bytes.size()) return sample;
    std::array<double, 16> scales{};
    for (size_t g = 0; g < scales.size(); ++g) scales[g] = jww.layerGroups[g].scale;
    sample.bytes = jwsfixture::JwsFromStream(jww.header.version, scales, bytes.data() + jww.streamStart,
                                             bytes.size() - jww.streamStart);
    return sample;
}

}  // namespace jwssamples
