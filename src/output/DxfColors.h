#pragma once
// Colours as DXF keeps them: the nearest of the 255 indexed colours (group 62), and the true
// colour value (group 420, 0x00RRGGBB) of a Windows colour value (0x00BBGGRR).
#include <cstdint>

int32_t NearestAci(uint32_t bgr);
uint32_t TrueColor(uint32_t bgr);
