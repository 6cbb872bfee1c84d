#include "engine/DrawingNames.h"

#include <algorithm>

#include "formats/jwc/jwcunit.h"
#include "formats/jww/Cp932Decoder.h"
#include "formats/jww/jwwunit.h"

namespace {

template <typename Tables, typename Name>
void CopyNames(const Tables& from, Name name, auto& to)
{
    const size_t count = std::min(std::size(from), std::size(to));
    for (size_t i = 0; i < count; ++i) to[i] = Cp932ToUtf8(name(from[i]));
}

}  // namespace

void ReadDrawingNames(const TJwwData& data, TDrawingNames& names)
{
    CopyNames(data.layerGroups, [](const TEntJwwLayerGroup& g) { return g.name; }, names.Groups);
    CopyNames(data.layers, [](const TEntJwwLayer& l) { return l.name; }, names.Layers);
}

void ReadDrawingNames(const TJwcData& data, TDrawingNames& names)
{
    CopyNames(data.LayerGroups, [](const TEntJwcLayerGroup& g) { return g.Name; }, names.Groups);
    CopyNames(data.Layers, [](const TEntJwcLayer& l) { return l.Name; }, names.Layers);
}
