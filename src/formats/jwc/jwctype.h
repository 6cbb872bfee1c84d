#pragma once
// Record types of the older drawing format (.JWC). The symbol format (.JWK) stores the same
// line, arc, point and text records, so its reader uses these types too.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A straight line. Coordinates are millimetres (JWC: stored units times the unit factor).
struct LineRecord {
    float X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    uint8_t LineType = 0;   // 9 is the auxiliary line type
    uint8_t PenColor = 0;
    uint8_t Layer = 0;      // group * 16 + layer in group
    uint8_t Unused = 0;
    uint8_t Flags1 = 0;     // 0x20: hatching
    uint8_t Flags2 = 0;     // 0x20: dimension

    bool operator==(const LineRecord&) const = default;
};

// A circle, arc, ellipse or elliptic arc; angles in degrees.
struct ArcRecord {
    float CenterX = 0, CenterY = 0, Radius = 0;
    float Flattening = 0;   // second axis / radius; 1 for a circle
    float StartAngle = 0, EndAngle = 0, Tilt = 0;
    uint8_t LineType = 0;
    uint8_t PenColor = 0;
    uint8_t Layer = 0;
    uint8_t Unused1 = 0;
    uint8_t Flags = 0;      // 0x40: dimension, 0x20: hatching
    uint8_t Unused2 = 0;

    bool operator==(const ArcRecord&) const = default;
};

struct PointRecord {
    float X = 0, Y = 0;
    uint8_t Layer = 0;
    uint8_t PenColor = 0;
    uint8_t Flags = 0;      // 0x40: dimension, 0x20: hatching
    uint8_t Unused = 0;

    bool operator==(const PointRecord&) const = default;
};

// A text record as the file stores it (24 bytes). The text itself lives in the text block at
// the record's address: Segment * 16 + Offset for JWC, Offset alone for JWK.
struct TEntJwcMoji2 {
    float X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    uint16_t Offset = 0;
    uint16_t Segment = 0;   // not used by JWK
    std::array<uint8_t, 4> Attributes{};
};

// A text in memory, its string resolved from the text block. Texts are kept so the file can be
// walked; they are never drawn.
struct TextRecord {
    float X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    uint32_t Address = 0;
    std::array<uint8_t, 4> Attributes{};
    std::string Text;

    bool operator==(const TextRecord&) const = default;
};

// How many records of each kind a header declares; the lists may be shorter (bounded by the
// file's size).
struct TJwcDeclaredCounts {
    int32_t LineCount = 0;
    int32_t ArcCount = 0;
    int32_t TextCount = 0;
    int32_t PointCount = 0;
};

// What the four 200-byte text blocks at the start of a JWC file say.
struct TEntJwcHeader : TJwcDeclaredCounts {
    std::string Block0;                    // signature, format byte, title (up to the first zero)
    uint8_t FormatByte = 0;                // file offset 22; 'f' means float32 group scales
    std::vector<std::string> Values1;      // 32 values
    std::vector<std::string> Values2;      // 28 values, none used
    std::vector<std::string> Values3;      // 22 values
    int32_t PaperCode = 0;
    int32_t UnitCount = 518;               // stored units along the paper length; 0 in the file means 518
    uint32_t TextStart = 0;                // text-block addresses, segment * 16 + offset
    uint32_t TextEnd = 0;
};

struct TEntJwcLayerGroup {
    float Scale = 0;
    uint8_t Flags1 = 0;   // bit 0 clear: every layer of the group shown (when Flags2 bit 0 is set)
    uint8_t Flags2 = 0;   // bit 0 clear: every layer of the group hidden
    uint8_t Flags3 = 0;
    std::string Name;
};

struct TEntJwcLayer {
    uint8_t Flags1 = 0;   // bit 0 set: state 1, else 2
    uint8_t Flags2 = 0;   // bit 0 clear: hidden
    std::string Name;
};
