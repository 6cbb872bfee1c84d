#include "support/ShadowDiagram.h"

#include <cmath>

#include "attributes/UnitGraAtt.h"
#include "support/JwwWriter.h"

namespace jwwfixture {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr uint16_t kRayPen = 1, kMainPen = 2;

// The screen's default pens for the background, pen 0 being the background itself.
void ScreenPens(TJwwHeaderSpec& h, bool lightScreen)
{
    TgraAttribute screen;
    screen.SetBackground(lightScreen ? TgraAttribute::kLightBackground : TgraAttribute::kDarkBackground);
    screen.ResetPenColors();
    h.penColors[0] = screen.BackgroundColor();
    for (int n = 1; n <= 9; ++n) h.penColors[static_cast<size_t>(n)] = screen.PenColor(n - 1);
}

void Rectangle(TJwwStreamWriter& s, double x0, double y0, double x1, double y1, const TEntJwwCommon& c)
{
    s.Line(MakeLine(x0, y0, x1, y0, c)).Line(MakeLine(x1, y0, x1, y1, c));
    s.Line(MakeLine(x1, y1, x0, y1, c)).Line(MakeLine(x0, y1, x0, y0, c));
}

}  // namespace

std::vector<uint8_t> BuildShadowDiagram(bool lightScreen)
{
    TJwwFileWriter file(600);
    file.header.groupScales.fill(200);
    ScreenPens(file.header, lightScreen);
    TJwwStreamWriter& s = file.stream;
    const TEntJwwCommon main = Common(0, 0, kMainPen), rays = Common(1, 0, kRayPen);

    // The building, 40 x 30 mm on paper, and its shadow at each hour from 8 to 16 o'clock.
    Rectangle(s, 0, 0, 40, 30, main);
    for (int hour = 8; hour <= 16; ++hour) {
        const double angle = kPi * (hour - 8) / 8, length = 60 + 25 * std::fabs(hour - 12) / 4;
        const double dx = -std::cos(angle) * length, dy = -std::sin(angle) * length * 0.4 - 20;
        Rectangle(s, 0 + dx, 30 + dy, 40 + dx, 30 + dy + 4, main);
        s.Line(MakeLine(20, 15, 20 + dx, 15 + dy, rays));  // a ray, once per hour
    }
    // Equal-time curves around the building, and the table of hours below.
    for (int curve = 1; curve <= 6; ++curve) s.Arc(MakeArc(20, 15, 20 + 12 * curve, kPi, kPi, main));
    for (int row = 0; row <= 9; ++row) s.Line(MakeLine(-80, -100 - 6 * row, 120, -100 - 6 * row, main));
    for (int column = 0; column <= 4; ++column)
        s.Line(MakeLine(-80 + 50 * column, -100, -80 + 50 * column, -154, main));
    return file.Build();
}

}  // namespace jwwfixture
