#include "text/TextLayout.h"

#include "formats/jww/Cp932Decoder.h"
#include "util/Func_.h"

std::vector<TTextCell> LayOutText(std::string_view text, double sizeX, double spacing)
{
    std::vector<TTextCell> cells;
    double offset = 0, spacingBefore = 0;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const bool half = !IsLeadByte(lead);
        if (!half && i + 1 >= text.size()) break;
        const auto code = static_cast<uint16_t>(half ? lead : lead << 8 | static_cast<unsigned char>(text[i + 1]));
        const double share = half ? 0.5 : 1.0;
        offset += spacingBefore;
        cells.push_back({Cp932CodeToChar(code), offset, sizeX * share, half});
        offset += sizeX * share;
        spacingBefore = spacing * share;
        i += half ? 1 : 2;
    }
    return cells;
}

double TextLength(const std::vector<TTextCell>& cells)
{
    return cells.empty() ? 0 : cells.back().Offset + cells.back().Width;
}
