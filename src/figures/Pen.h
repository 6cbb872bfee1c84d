#pragma once
// What a Figure is drawn with: its layer number and its palette colour index, both passed
// through to the figure store unchanged.
#include <cstdint>

struct TPen {
    int32_t layer = 0;
    int32_t color = 0;
};
