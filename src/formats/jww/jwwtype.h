#pragma once
// Record types of a JWW drawing. The file stores them packed and little-endian; in memory
// they are plain structs decoded field by field, so their layout is free. Text is Shift_JIS
// byte text. Values are kept as read: layer and group numbers are not range-checked.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "geometry/UnitGval.h"

// ---------------------------------------------------------------------------------------
// Header and tables

struct TEntJwwLayerGroup {
    int32_t state = 0;  // 0 hidden, 1 shown only, 2 editable, 3 the group being written
    int32_t writeLayer = 0;
    double scale = 0;  // the drawing scale (group 0 is the scale of the whole drawing)
    int32_t protect = 0;
    std::string name;
};

struct TEntJwwLayer {
    int32_t state = 0;
    int32_t protect = 0;
    std::string name;
};

struct TEntJwwPen {
    uint32_t screenColor = 0;  // 0x00BBGGRR
    int32_t screenWidth = 0;
    uint32_t printerColor = 0;
    int32_t printerWidth = 0;
    double pointRadius = 0;
};

struct TEntJwwLineType {
    uint32_t pattern = 0;
    int32_t unitDots = 0;
    int32_t pitch = 0;
    int32_t printerPitch = 0;
};

struct TEntJwwRandomLine {
    uint32_t pattern = 0;
    int32_t amplitude = 0;
    int32_t pitch = 0;
    int32_t printerAmplitude = 0;
    int32_t printerPitch = 0;
};

struct TEntJwwColorExNo {
    uint32_t screenColor = 0;
    int32_t screenWidth = 0;
    std::string name;
    uint32_t printerColor = 0;
    int32_t printerWidth = 0;
    double pointRadius = 0;
};

struct TEntJwwLineTypeExNo {
    uint32_t pattern = 0;
    int32_t unitDots = 0;
    int32_t pitch = 0;
    int32_t printerPitch = 0;
    std::string name;
    int32_t segmentCount = 0;
    std::array<double, 10> pitches{};  // pitches 1..10
};

struct TEntJwwTextStyle {
    double width = 0, height = 0, spacing = 0;
    int32_t color = 0;
};

struct TEntJwwZoomMark {
    double magnification = 0, x = 0, y = 0;
    int32_t layer = 0;
};

// Every scalar of the file header in file order. Values without a name of their own are
// kept in small arrays named after their block.
struct TEntJwwHeader {
    std::string signature;
    int32_t version = 0;
    std::string memo;
    // sheet
    int32_t paperSize = 0;
    int32_t writeLayerGroup = 0;
    // dimension settings
    std::array<int32_t, 5> dimensionSetting{};
    int32_t maxDrawWidth = 0;
    // print and marks
    // Until a file sets them: print scale and mark spacings 1, view values at offsets 4 and 28
    // 1, zoom marks unset (magnification 1, layer -1).
    double printOriginX = 0, printOriginY = 0, printScale = 1;
    int32_t printRotate = 0;
    int32_t markMode = 0;
    double markMinSpacing = 1, markSpacingX = 1, markSpacingY = 1, markOriginX = 0, markOriginY = 0;
    // shadow settings: doubles at 0, 8, 20, and (from version 300) 28, 36; int32 at 16
    std::array<double, 5> shadow{};
    int32_t shadowInt = 0;
    // view settings: int32 at 0, doubles at 4, 12, 20, 28, 36, 44
    int32_t viewInt = 0;
    std::array<double, 6> view{1, 0, 0, 1, 0, 0};
    // zoom marks 1..8 (1..4 before version 231), then two more groups (from version 231)
    std::array<TEntJwwZoomMark, 8> zoomMarks{{{1, 0, 0, -1}, {1, 0, 0, -1}, {1, 0, 0, -1}, {1, 0, 0, -1},
                                              {1, 0, 0, -1}, {1, 0, 0, -1}, {1, 0, 0, -1}, {1, 0, 0, -1}}};
    std::array<TEntJwwZoomMark, 2> zoomExtra{};
    // settings preceding the screen pens
    std::array<double, 11> settings{};
    // display flags: eleven int32, then (from version 223) drawingTime, four int32,
    // five doubles, (from 225) four doubles, (from 230) two int32
    std::array<int32_t, 11> displayFlags{};
    int32_t drawingTime = 0;
    std::array<int32_t, 6> displayInts{};
    std::array<double, 9> displayDoubles{};
    // current text settings
    double textWidth = 0, textHeight = 0, textSpacing = 0;
    int32_t textColor = 0;
    int32_t textKind = 0;
    std::array<double, 8> textDoubles{};
    int32_t textInt = 0;
};

// ---------------------------------------------------------------------------------------
// Entity records

// The part every entity record starts with. 15 bytes in the file from version 351 on,
// 13 before (no lineWidth; it reads as 0).
struct TEntJwwCommon {
    uint32_t group = 0;     // curve group number
    uint8_t lineType = 0;   // 100 on a point: a point with a code; above 100 on a solid: arc-shaped
    uint16_t color = 0;     // pen number; 10 on a solid: the solid carries its own fill colour
    uint16_t lineWidth = 0;
    uint16_t layer = 0;       // 0..15 within the group
    uint16_t layerGroup = 0;  // 0..15
    uint16_t flags = 0;
};

enum class EJwwKind : int32_t {
    Line = 1, Arc = 2, Point = 3, Text = 4, Dimension = 5, Solid = 6, Block = 7,
};

struct TEntJwwSen {  // line, kind 1, class CDataSen
    TEntJwwCommon common;
    double startX = 0, startY = 0, endX = 0, endY = 0;
};

struct TEntJwwEnko {  // arc, circle or elliptic arc, kind 2, class CDataEnko
    TEntJwwCommon common;
    double centerX = 0, centerY = 0, radius = 0;
    double startAngle = 0, arcAngle = 0, tiltAngle = 0;  // radians
    double flatness = 0;                                 // minor / major radius
    int32_t fullCircle = 0;                              // non-zero: a whole circle or ellipse
};

struct TEntJwwTen {  // point, kind 3, class CDataTen
    TEntJwwCommon common;
    double x = 0, y = 0;
    int32_t temporary = 0;
    int32_t code = 0;  // the next three only in the file when lineType is 100
    double rotation = 0;
    double scale = 0;
};

struct TEntJwwMoji {  // text, kind 4, class CDataMoji
    static constexpr size_t kMaxText = 255;  // both strings keep at most this many bytes
    TEntJwwCommon common;
    double startX = 0, startY = 0, endX = 0, endY = 0;
    uint32_t textKind = 0;
    double sizeX = 0, sizeY = 0, spacing = 0;
    double angle = 0;  // degrees
    std::string fontName;
    std::string text;
};

struct TEntJwwSunpo {  // dimension, kind 5, class CDataSunpou
    TEntJwwCommon common;
    TEntJwwSen line;
    TEntJwwMoji text;
    uint16_t sxfMode = 0;  // from version 420; the parts below are zero geometry before that
    TEntJwwSen auxLine1, auxLine2;
    TEntJwwTen point1, point2, point3, point4;
};

struct TEntJwwSolid {  // solid, kind 6, class CDataSolid
    TEntJwwCommon common;
    // Corners P1..P4; for lineType above 100 an arc shape: centre (x1, y1), radius x2,
    // flatness y2, tilt x3, start y3, sweep x4, and y4 (a flag, or a second radius).
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0, x4 = 0, y4 = 0;
    uint32_t fillColor = 0;  // 0x00BBGGRR, only in the file when color is 10
};

struct TEntJwwBlock {  // block insert (placement), kind 7, class CDataBlock
    TEntJwwCommon common;
    double x = 0, y = 0;  // insertion point
    double scaleX = 0, scaleY = 0;
    double rotation = 0;  // radians
    uint32_t blockNumber = 0;
};

// ---------------------------------------------------------------------------------------
// Block definitions and placements

// One entry of a definition's member order: the kind and the index in that kind's list.
struct TEntJwwIndex {
    int32_t kind = 0;
    int32_t index = 0;
};

// The seven typed record lists, used for the drawing itself and for each block definition.
struct TJwwRecordLists {
    std::vector<TEntJwwSen> lines;
    std::vector<TEntJwwEnko> arcs;
    std::vector<TEntJwwTen> points;
    std::vector<TEntJwwMoji> texts;
    std::vector<TEntJwwSunpo> dimensions;
    std::vector<TEntJwwSolid> solids;
    std::vector<TEntJwwBlock> blockInserts;

    size_t Count(EJwwKind kind) const;
    void TrimToCounts();
};

struct TEntJwwBlockDef {
    TEntJwwCommon common;
    uint32_t number = 0;      // the block number placements refer to
    uint32_t referenced = 0;  // as read
    int32_t time = 0;         // as read; a negative time is replaced by the 1-based position
    std::string name;
    int32_t memberCount = 0;  // as declared in the file
    std::vector<TEntJwwIndex> members;  // the members read, in file order
    TJwwRecordLists records;
};

// One placement, nested ones included.
struct TEntJwwBlockTree {
    // keepOwnLayer: bit 0x40 of common.lineType. Clear: expanded members move to this
    // entry's layer and group; set: they keep their own.
    static constexpr uint8_t kKeepOwnLayer = 0x40;

    TEntJwwCommon common;  // the insert's own (depth 0) or the enclosing definition's
    int32_t depth = 0;     // 0 for a placement in the drawing itself
    int32_t parent = -1;   // enclosing entry, -1 at depth 0
    int32_t blockNumber = 0;
    int32_t defIndex = -1;  // into blockDefs; -1 when no definition has that number
    TBlockTransform transform;

    bool KeepOwnLayer() const { return (common.lineType & kKeepOwnLayer) != 0; }
};
