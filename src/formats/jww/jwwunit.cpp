#include "formats/jww/jwwunit.h"

#include "formats/jww/JwwString.h"

namespace {

// Layer states handed to the attribute table.
constexpr int kStateShown = 1;
constexpr int kStateLocked = 2;
constexpr int kStateHidden = 3;

// A background colour whose three channels all lie in one of these ranges sets the mode.
constexpr uint32_t kDarkMax = 20;
constexpr uint32_t kLightMin = 235;
constexpr int kDarkBackground = 1;
constexpr int kLightBackground = 0;

constexpr int kSxfPenBase = 100;  // extended colour i is pen 100 + i

}  // namespace

bool TJwwData::CheckSignature(const std::filesystem::path& path) { return FileStartsWith(path, kSignature); }

bool TJwwData::LoadFile(const std::filesystem::path& path)
{
    Reset();
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) return false;  // folders and unreadable files included
    return LoadBytes(bytes);
}

bool TJwwData::LoadBytes(const uint8_t* data, size_t size)
{
    Reset();
    TByteCursor cursor(data, size);
    return LoadStream(cursor, [this](TByteCursor& c) -> std::optional<int32_t> {
        ReadHeader(c);
        if (header.version < kLowestVersion) return std::nullopt;  // unsupported: no stream
        return header.version;
    });
}

void TJwwData::Reset()
{
    header = TEntJwwHeader{};
    header.printScale = 1.0;
    header.markMinSpacing = 1.0;
    header.markSpacingX = 1.0;
    header.markSpacingY = 1.0;
    header.view[0] = 1.0;  // offset 4 of the view settings
    header.view[3] = 1.0;  // offset 28
    for (TEntJwwZoomMark& mark : header.zoomMarks) mark = {1.0, 0, 0, -1};
    layerGroups = {};
    layers = {};
    pens = {};
    lineTypes = {};
    randomLines = {};
    doubleLineTypes = {};
    colorsEx = {};
    lineTypesEx = {};
    textStyles = {};
    pensRead = false;
    colorsExRead = false;
    ClearEntities();
}

void TJwwData::Clear() { Reset(); }

std::string TJwwData::ReadString(TByteCursor& cursor) { return ReadJwwString(cursor); }

void TJwwData::LoadLayers(TgraAttribute& attributes) const
{
    attributes.ResetLayers();
    if (layerGroups.size() < kLayerGroupCount || layers.size() < kLayerCount) return;
    for (int i = 0; i < kLayerCount; ++i) {
        const int32_t groupState = layerGroups[static_cast<size_t>(i / 16)].state;
        const int32_t layerState = layers[static_cast<size_t>(i)].state;
        int code;
        if (groupState == 0) {
            code = kStateHidden;
        } else if (groupState == 1) {
            code = kStateLocked;
        } else {
            code = layerState == 0 ? kStateHidden : layerState == 1 ? kStateLocked : kStateShown;
        }
        attributes.SetLayerState(i, code);
    }
}

void TJwwData::ImportJwwPens(TgraAttribute& attributes) const
{
    if (pensRead) {
        for (int n = 1; n <= 9; ++n) attributes.SetPenColor(n, pens[static_cast<size_t>(n)].screenColor);
    }
    if (colorsExRead) {
        for (int i = 1; i < kColorExCount; ++i)
            attributes.SetPenColor(kSxfPenBase + i, colorsEx[static_cast<size_t>(i)].screenColor);
    }
    if (pensRead) {
        const uint32_t background = pens[0].screenColor;
        const uint32_t r = background & 0xFF, g = (background >> 8) & 0xFF, b = (background >> 16) & 0xFF;
        if (r <= kDarkMax && g <= kDarkMax && b <= kDarkMax) {
            attributes.SetBackground(kDarkBackground);
        } else if (r >= kLightMin && g >= kLightMin && b >= kLightMin) {
            attributes.SetBackground(kLightBackground);
        }
    }
}
