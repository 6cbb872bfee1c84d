#pragma once
// The attribute table: layer states (hidden or shown) and the 265 pen colours
// (pens 1..9 at entries 0..8, extended pens 101..356 at entries 9..264).
#include <array>
#include <cstdint>

#include "util/DrawingFacts.h"

class TgraAttribute {
public:
    static constexpr int kLayerCount = jw::kLayerCount;
    static constexpr int kPenCount = jw::kPenColorCount;
    static constexpr int kHiddenState = static_cast<int>(jw::TLayerState::Hidden);

    TgraAttribute();

    void ResetLayers();
    void SetLayerState(int layer, int state);
    int LayerState(int layer) const;
    bool LayerHidden(int layer) const { return LayerState(layer) == kHiddenState; }

    // Background modes: white pens on a dark background, black pens on a light one.
    static constexpr int kLightBackground = 0;
    static constexpr int kDarkBackground = 1;
    void SetBackground(int mode);
    int BackgroundMode() const { return background_; }
    uint32_t BackgroundColor() const;
    uint32_t DefaultPenColor() const;

    void ResetPenColors();
    void SetPenColor(int penNumber, uint32_t color);
    uint32_t PenColor(int entry) const;

    // Entry of a pen number: 1..9 -> 0..8, 101..356 -> 9..264, anything else -1.
    static int PenIndex(int penNumber);

private:
    std::array<int, kLayerCount> layers_{};
    std::array<uint32_t, kPenCount> pens_{};
    int background_ = 0;
};

// 0x00BBGGRR
constexpr uint32_t MakeColor(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }
