#include "support/ExamplePlan.h"

#include "attributes/UnitGraAtt.h"
#include "support/JwwWriter.h"

namespace jwwfixture {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Layers of group 0 and the pens drawn on them.
enum : uint16_t { kWalls = 0, kFittings = 1, kFurniture = 2, kDimensions = 3, kNotes = 4 };
enum : uint16_t { kWallPen = 2, kFittingPen = 3, kFurniturePen = 5, kDimensionPen = 1, kFillPen = 10 };

TEntJwwSolid Solid(uint8_t lineType, uint16_t pen, std::initializer_list<double> fields)
{
    TEntJwwSolid s;
    s.common = Common(kFurniture, 0, pen, lineType);
    double* out[8] = {&s.x1, &s.y1, &s.x2, &s.y2, &s.x3, &s.y3, &s.x4, &s.y4};
    int i = 0;
    for (double v : fields) *out[i++] = v;
    return s;
}

TEntJwwEnko WholeEllipse(double cx, double cy, double radius, double flatness, double tilt, TEntJwwCommon c)
{
    TEntJwwEnko e = MakeArc(cx, cy, radius, 0, 2 * kPi, c);
    e.flatness = flatness;
    e.tiltAngle = tilt;
    e.fullCircle = 1;
    return e;
}

// The light-background screen colours, so the drawing looks as it would on screen.
void ScreenColors(TJwwHeaderSpec& h)
{
    const TgraAttribute defaults;
    h.penColors[0] = MakeColor(255, 255, 255);
    for (int n = 1; n <= 9; ++n) h.penColors[static_cast<size_t>(n)] = defaults.PenColor(n - 1);
    for (int i = 1; i <= 256; ++i) h.colorExColors[static_cast<size_t>(i)] = defaults.PenColor(8 + i);
}

// A door of 9 mm on paper: the leaf standing on the hinge, the quarter its edge sweeps.
void DoorBlock(TJwwStreamWriter& s)
{
    const TEntJwwCommon c = Common(kFittings, 0, kFittingPen);
    s.BeginBlockDef(MakeBlockDef(1, "door", c));
    s.Line(MakeLine(0, 0, 0, 9, c));
    s.Arc(MakeArc(0, 0, 9, 0, kPi / 2, c));
    s.EndBlockDef();
}

// Two doors meeting in the middle: the second is the first mirrored; a threshold below them.
void DoubleDoorBlock(TJwwStreamWriter& s)
{
    const TEntJwwCommon c = Common(kFittings, 0, kFittingPen);
    s.BeginBlockDef(MakeBlockDef(2, "double door", c));
    s.Line(MakeLine(0, 0, 18, 0, c));
    s.Block(MakeInsert(1, 0, 0, 1, 1, 0, c));
    s.Block(MakeInsert(1, 18, 0, -1, 1, 0, c));
    s.EndBlockDef();
}

// Walls: a 180 x 120 mm outline (9 x 6 m) with an entrance, a bay window on the left and a
// partition with a double door; the doors placed into it.
void Walls(TJwwStreamWriter& s)
{
    const TEntJwwCommon wall = Common(kWalls, 0, kWallPen);
    s.Line(MakeLine(0, 0, 20, 0, wall)).Line(MakeLine(29, 0, 180, 0, wall));
    s.Line(MakeLine(180, 0, 180, 120, wall)).Line(MakeLine(180, 120, 0, 120, wall));
    s.Line(MakeLine(0, 120, 0, 80, wall)).Line(MakeLine(0, 40, 0, 0, wall));
    s.Line(MakeLine(110, 0, 110, 50, wall)).Line(MakeLine(110, 68, 110, 120, wall));
    s.Arc(MakeArc(0, 60, 20, kPi / 2, kPi, wall));

    // Doors: the entrance as it stands, the double door turned a quarter into the partition.
    s.Block(MakeInsert(1, 20, 0, 1, 1, 0, Common(kFittings, 0, kFittingPen)));
    s.Block(MakeInsert(2, 110, 50, 1, 1, kPi / 2, Common(kFittings, 0, kFittingPen)));
}

// Furniture and survey points.
void Furniture(TJwwStreamWriter& s)
{
    // A round table, an oval rug turned by 30 degrees, a bath tub.
    const TEntJwwCommon furniture = Common(kFurniture, 0, kFurniturePen);
    s.Arc(WholeEllipse(55, 65, 12, 1, 0, furniture));
    s.Arc(WholeEllipse(55, 65, 25, 0.6, kPi / 6, Common(kFurniture, 0, 104)));
    s.Arc(WholeEllipse(150, 100, 15, 0.45, 0, furniture));

    // Survey points at two corners; the temporary point is never drawn.
    const TEntJwwCommon marks = Common(kNotes, 0, 6);
    s.Point(MakePoint(0, 0, marks)).Point(MakePoint(180, 120, marks));
    TEntJwwTen temporary = MakePoint(90, 60, marks);
    temporary.temporary = 1;
    s.Point(temporary);
}

void WidthDimension(TJwwStreamWriter& s)
{
    // The overall width, with its extension lines and end points.
    const TEntJwwCommon dim = Common(kDimensions, 0, kDimensionPen);
    TEntJwwSunpo width;
    width.common = dim;
    width.line = MakeLine(0, -15, 180, -15, dim);
    width.text.common = dim;
    width.text.startX = 84;
    width.text.startY = -14;
    width.text.endX = 96;
    width.text.endY = -14;
    width.text.sizeX = width.text.sizeY = 3;
    width.text.text = "9000";
    width.sxfMode = 1;
    width.auxLine1 = MakeLine(0, -2, 0, -17, dim);
    width.auxLine2 = MakeLine(180, -2, 180, -17, dim);
    width.point1 = MakePoint(0, -15, dim);
    width.point2 = MakePoint(180, -15, dim);
    s.Dimension(width);
}

void Solids(TJwwStreamWriter& s)
{
    // Solids: two warm grey columns in their own fill colour, a triangular shelf, a quarter-round
    // counter in the corner by the partition, a ring-shaped planter.
    TEntJwwSolid column = Solid(1, kFillPen, {174, 114, 180, 114, 180, 120, 174, 120});
    column.fillColor = MakeColor(150, 140, 130);
    s.Solid(column);
    column.x1 = column.x4 = 104;
    column.x2 = column.x3 = 110;
    s.Solid(column);
    s.Solid(Solid(1, 8, {170, 10, 180, 10, 180, 25, 180, 25}));
    s.Solid(Solid(101, 3, {110, 0, 12, 1, 0, kPi / 2, kPi / 2, 0}));
    s.Solid(Solid(105, 4, {92, 110, 5, 1, 0, 0, 2 * kPi, 3}));
}

void Label(TJwwStreamWriter& s)
{
    TEntJwwMoji label;
    label.common = Common(kNotes, 0, kDimensionPen);
    label.startX = 40;
    label.startY = 100;
    label.endX = 52;
    label.endY = 100;
    label.sizeX = label.sizeY = 4;
    label.fontName = "Sans";
    label.text = "LDK";
    s.Text(label);
}

}  // namespace

std::vector<uint8_t> BuildExamplePlan()
{
    TJwwFileWriter file(700);
    TJwwHeaderSpec& h = file.header;
    h.memo = "Tessaro example plan";
    h.groupScales.fill(50);
    h.groupNames[0] = "plan";
    h.layerNames[kWalls] = "walls";
    h.layerNames[kFittings] = "doors";
    h.layerNames[kFurniture] = "furniture";
    h.layerNames[kDimensions] = "dimensions";
    h.layerNames[kNotes] = "notes";
    ScreenColors(h);

    TJwwStreamWriter& s = file.stream;
    Walls(s);
    Furniture(s);
    WidthDimension(s);
    Solids(s);
    Label(s);
    DoorBlock(s);
    DoubleDoorBlock(s);
    return file.Build();
}

}  // namespace jwwfixture
