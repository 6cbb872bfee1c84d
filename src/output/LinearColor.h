#pragma once
// Colour channels for renderers that light in linear space (glTF's baseColorFactor).

// A channel 0..255 of an sRGB colour as its linear value 0..1 (the sRGB transfer curve).
double SrgbToLinear(unsigned channel);
