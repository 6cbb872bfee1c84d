#include "formats/jww/jwwunit.h"

#include "util/DrawingFacts.h"

namespace {

// A background colour whose three channels all lie in one of these ranges sets the mode.
constexpr uint32_t kDarkMax = 20;
constexpr uint32_t kLightMin = 235;

}  // namespace

TReadResult TJwwData::LoadFrom(TByteCursor& cursor)
{
    Clear();
    return LoadStream(cursor, kSignature, [this](TByteCursor& c) { return ReadSupportedHeader(c); });
}

TReadResult TJwwData::LoadScreenPensFrom(TByteCursor& cursor)
{
    Clear();
    return ReadGuarded(cursor, kSignature, [this](TByteCursor& c) {
        return ReadSupportedHeader(c, THeaderPart::ScreenPens) ? TReadStatus::Complete : TReadStatus::Unsupported;
    });
}

std::optional<int32_t> TJwwData::ReadSupportedHeader(TByteCursor& c, THeaderPart part)
{
    ReadHeader(c, part);
    if (header.version < kLowestVersion) return std::nullopt;
    return header.version;
}

void TJwwData::LoadLayers(TgraAttribute& attributes) const
{
    using jw::TLayerState;
    attributes.ResetLayers();
    if (layerGroups.size() < jw::kLayerGroupCount || layers.size() < jw::kLayerCount) return;
    for (int i = 0; i < jw::kLayerCount; ++i) {
        const int32_t groupState = layerGroups[static_cast<size_t>(i / jw::kLayersPerGroup)].state;
        const int32_t layerState = layers[static_cast<size_t>(i)].state;
        TLayerState state;
        if (groupState == 0) {
            state = TLayerState::Hidden;
        } else if (groupState == 1) {
            state = TLayerState::Locked;
        } else {
            state = layerState == 0 ? TLayerState::Hidden : layerState == 1 ? TLayerState::Locked : TLayerState::Shown;
        }
        attributes.SetLayerState(i, static_cast<int>(state));
    }
}

void TJwwData::ImportPens(TgraAttribute& attributes) const
{
    if (pensRead) {
        for (int n = 1; n <= jw::kStandardPenCount; ++n) attributes.SetPenColor(n, pens[static_cast<size_t>(n)].screenColor);
    }
    if (colorsExRead) {
        for (int i = 1; i < kColorExCount; ++i)
            attributes.SetPenColor(jw::kExtendedPenBase + i, colorsEx[static_cast<size_t>(i)].screenColor);
    }
    if (pensRead) {
        const uint32_t background = pens[0].screenColor;
        const uint32_t r = background & 0xFF, g = (background >> 8) & 0xFF, b = (background >> 16) & 0xFF;
        if (r <= kDarkMax && g <= kDarkMax && b <= kDarkMax) {
            attributes.SetBackground(TgraAttribute::kDarkBackground);
        } else if (r >= kLightMin && g >= kLightMin && b >= kLightMin) {
            attributes.SetBackground(TgraAttribute::kLightBackground);
        }
    }
}
