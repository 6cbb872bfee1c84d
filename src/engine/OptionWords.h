#pragma once
// The option words the command line and the C interface share: a word's name without its
// dashes ("scale", "arcs", ...) and its value as typed become changes of a TOptionRequest,
// applied later in the order given. Numbers stay as typed: MakeOptions clamps them.
//
//   format       dae | dae-compact | glb | dxf
//   scale        1 | 10 | 100 | 1000
//   marker       a shape 0..7
//   marker-size  a decimal number (paper mm)
//   arcs         count:N | angle:DEG[:MIN] | length:MM[:MIN]
//   include      comma-separated hidden,aux,dims,hatch,points,solids,texts
//   exclude      the same list
//   background   light | dark
//   font         a font file that draws every text
//   heights      m | mm | off: the drawing's height texts lift the lines they mark
//   extrude      LAYER=METRES[,LAYER=METRES...]: the layer's lines and arcs rise by METRES
//                (LAYER a position in hexadecimal, 0-1 or 2-A, or the layer's name); each
//                word adds to the layers given before, an empty one drops them
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/OptionRequest.h"

using TRequestChange = std::function<void(TOptionRequest&)>;

// Whether `name` is one of the words above.
bool IsOptionWord(std::string_view name);

// Appends to `changes` what `value` sets under the word `name`. Returns the error for a value
// the word does not take ("--scale takes 1, 10, 100 or 1000, not '3'") or a name that is no
// word, and then leaves `changes` as it was; returns an empty text when the value was taken.
std::string ReadOptionWord(std::string_view name, const std::string& value, std::vector<TRequestChange>& changes);

// A whole number as the words take it: an optional '+' or '-', then decimal digits only,
// within int32_t.
std::optional<int32_t> ParseWholeNumber(std::string_view text);
