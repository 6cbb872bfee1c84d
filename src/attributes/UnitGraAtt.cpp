#include "attributes/UnitGraAtt.h"

namespace {

constexpr int kShownState = static_cast<int>(jw::TLayerState::Shown);

struct PenDefault {
    uint32_t light, dark;
};

// Entries 0..24: pens 1..9, then extended pens 101..116.
constexpr PenDefault kPenDefaults[25] = {
    {MakeColor(0, 192, 192), MakeColor(0, 255, 255)},   {MakeColor(0, 0, 0), MakeColor(255, 255, 255)},
    {MakeColor(0, 192, 0), MakeColor(0, 255, 0)},       {MakeColor(192, 192, 0), MakeColor(255, 255, 0)},
    {MakeColor(192, 0, 192), MakeColor(192, 0, 192)},   {MakeColor(0, 0, 255), MakeColor(32, 32, 255)},
    {MakeColor(0, 128, 128), MakeColor(0, 128, 128)},   {MakeColor(255, 0, 128), MakeColor(160, 0, 0)},
    {MakeColor(255, 128, 255), MakeColor(192, 128, 128)},
    {MakeColor(0, 0, 0), MakeColor(255, 255, 255)},     {MakeColor(255, 0, 0), MakeColor(255, 0, 0)},
    {MakeColor(0, 255, 0), MakeColor(0, 255, 0)},       {MakeColor(0, 0, 255), MakeColor(0, 0, 255)},
    {MakeColor(255, 255, 0), MakeColor(255, 255, 0)},   {MakeColor(255, 0, 255), MakeColor(255, 0, 255)},
    {MakeColor(0, 255, 255), MakeColor(0, 255, 255)},   {MakeColor(0, 0, 0), MakeColor(255, 255, 255)},
    {MakeColor(192, 0, 128), MakeColor(192, 0, 128)},   {MakeColor(192, 128, 64), MakeColor(192, 128, 64)},
    {MakeColor(255, 128, 0), MakeColor(255, 128, 0)},   {MakeColor(128, 192, 128), MakeColor(128, 192, 128)},
    {MakeColor(0, 128, 255), MakeColor(0, 128, 255)},   {MakeColor(128, 64, 255), MakeColor(128, 64, 255)},
    {MakeColor(192, 192, 192), MakeColor(192, 192, 192)}, {MakeColor(128, 128, 128), MakeColor(128, 128, 128)},
};

}  // namespace

TgraAttribute::TgraAttribute()
{
    ResetLayers();
    background_ = 0;
    ResetPenColors();
}

void TgraAttribute::ResetLayers() { layers_.fill(kShownState); }

void TgraAttribute::SetLayerState(int layer, int state)
{
    if (layer < 0 || layer >= kLayerCount) return;
    layers_[layer] = (state >= kShownState && state <= kHiddenState) ? state : kShownState;
}

int TgraAttribute::LayerState(int layer) const
{
    if (layer < 0 || layer >= kLayerCount) return kShownState;
    return layers_[layer];
}

void TgraAttribute::SetBackground(int mode)
{
    if (mode == 0 || mode == 1) background_ = mode;
}

uint32_t TgraAttribute::BackgroundColor() const { return background_ == 1 ? MakeColor(0, 0, 0) : MakeColor(255, 255, 255); }

uint32_t TgraAttribute::DefaultPenColor() const { return background_ == 1 ? MakeColor(255, 255, 255) : MakeColor(0, 0, 0); }

void TgraAttribute::ResetPenColors()
{
    pens_.fill(DefaultPenColor());
    for (int i = 0; i < 25; ++i) pens_[i] = background_ == 1 ? kPenDefaults[i].dark : kPenDefaults[i].light;
}

void TgraAttribute::SetPenColor(int penNumber, uint32_t color)
{
    int entry = PenIndex(penNumber);
    if (entry >= 0) pens_[entry] = color;
}

uint32_t TgraAttribute::PenColor(int entry) const
{
    if (entry < 0 || entry >= kPenCount) return BackgroundColor();
    return pens_[entry];
}

int TgraAttribute::PenIndex(int penNumber) { return jw::PenColorEntry(penNumber); }
