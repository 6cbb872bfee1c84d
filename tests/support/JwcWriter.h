#pragma once
// In-memory builder of .JWC drawings (and the record encoders the .JWK builder shares).
// Records are given in stored units, exactly as the file holds them; arcs take their angles in
// degrees and their flattening as a ratio, and are encoded in the file's fixed-point form.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/jwc/jwctype.h"
#include "support/ByteWriter.h"

namespace fixture {

inline void PutLine(TByteWriter& out, const LineRecord& r)
{
    out.F32(r.X1); out.F32(r.Y1); out.F32(r.X2); out.F32(r.Y2);
    out.U8(r.LineType); out.U8(r.PenColor); out.U8(r.Layer); out.U8(r.Unused);
    out.U8(r.Flags1); out.U8(r.Flags2);
}

inline void PutArc(TByteWriter& out, const ArcRecord& r)
{
    out.F32(r.CenterX); out.F32(r.CenterY); out.F32(r.Radius);
    out.U16(static_cast<uint16_t>(std::lround(r.Flattening * 10000.0)));
    out.I32(static_cast<int32_t>(std::lround(r.StartAngle * 65536.0)));
    out.I32(static_cast<int32_t>(std::lround(r.EndAngle * 65536.0)));
    out.I32(static_cast<int32_t>(std::lround(r.Tilt * 65536.0)));
    out.U8(r.LineType); out.U8(r.PenColor); out.U8(r.Layer); out.U8(r.Unused1);
    out.U8(r.Flags); out.U8(r.Unused2);
}

inline void PutPoint(TByteWriter& out, const PointRecord& r)
{
    out.F32(r.X); out.F32(r.Y);
    out.U8(r.Layer); out.U8(r.PenColor); out.U8(r.Flags); out.U8(r.Unused);
}

inline void PutMoji(TByteWriter& out, const TEntJwcMoji2& r)
{
    out.F32(r.X1); out.F32(r.Y1); out.F32(r.X2); out.F32(r.Y2);
    out.U16(r.Offset); out.U16(r.Segment);
    for (uint8_t b : r.Attributes) out.U8(b);
}

inline std::string JoinValues(const std::vector<std::string>& values)
{
    std::string text;
    for (size_t i = 0; i < values.size(); ++i) text += (i ? "," : "") + values[i];
    return text;
}

inline void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace fixture

// A text entry of a fixture: its record and its string. Without an explicit address the
// string is laid out in the text block and the record points at it.
struct FixtureText {
    float X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    std::array<uint8_t, 4> Attributes{};
    std::string Text;
    std::optional<uint32_t> Address;   // JWC: absolute address; JWK: offset in the block
};

namespace fixture {

// The text block: every string laid out by its record (no explicit address), each followed by
// a zero byte.
inline std::string TextBlockOf(const std::vector<FixtureText>& texts)
{
    std::string block;
    for (const FixtureText& t : texts)
        if (!t.Address) block += t.Text + '\0';
    return block;
}

// The stored record of a fixture text at the given offset and segment.
inline TEntJwcMoji2 MojiOf(const FixtureText& t, uint16_t offset, uint16_t segment)
{
    TEntJwcMoji2 m;
    m.X1 = t.X1; m.Y1 = t.Y1; m.X2 = t.X2; m.Y2 = t.Y2;
    m.Attributes = t.Attributes;
    m.Offset = offset;
    m.Segment = segment;
    return m;
}

}  // namespace fixture

class JwcWriter {
public:
    static constexpr size_t kHeaderSize = 800;
    static constexpr size_t kReferenceTableSize = 909;
    static constexpr size_t kSettingsTableSize = 88;

    JwcWriter()
    {
        GroupScales.fill(1.0f);
        ShowAllLayers();
    }

    // Header.
    std::string Signature = "jw_cad(c)data.......";
    std::string Title = "fixture drawing";
    bool FloatScales = true;          // format byte 'f' at offset 22
    int PaperCode = 3;                // A3 ...
    int UnitCount = 420;              // ... with 420 units: one stored unit is one millimetre
    std::optional<int> DeclaredLines, DeclaredArcs, DeclaredTexts, DeclaredPoints;
    std::optional<std::string> Block1Text;   // replaces the generated value list
    std::optional<std::string> Block3Text;   // replaces the generated text-block addresses
    uint16_t TextSegment = 0x0123;    // start address of the text block: segment ...
    uint16_t TextOffset = 0x0008;     // ... and offset

    // Layer groups and layers.
    std::array<float, 16> GroupScales{};     // written as uint16 when !FloatScales
    std::array<uint8_t, 16> GroupFlags1{}, GroupFlags2{}, GroupFlags3{};
    std::array<uint8_t, 256> LayerFlags1{}, LayerFlags2{};
    std::array<std::string, 256> LayerNames;
    std::array<std::string, 16> GroupNames;

    // Records, in stored units.
    std::vector<LineRecord> Lines;
    std::vector<ArcRecord> Arcs;
    std::vector<FixtureText> Texts;
    std::vector<PointRecord> Points;

    // Every group and layer shown (state 1).
    void ShowAllLayers()
    {
        GroupFlags1.fill(1);
        GroupFlags2.fill(1);
        LayerFlags1.fill(1);
        LayerFlags2.fill(1);
    }

    uint32_t TextBlockStart() const { return uint32_t{TextSegment} * 16 + TextOffset; }

    // File offsets of the sections.
    size_t ScalesStart() const { return kHeaderSize + kReferenceTableSize + kSettingsTableSize; }
    size_t LinesStart() const { return ScalesStart() + 16 * (FloatScales ? 4 : 2) + 16 + 256 + 16 + 256 + 16; }
    size_t ArcsStart() const { return LinesStart() + 22 * Lines.size(); }
    size_t TextsStart() const { return ArcsStart() + 32 * Arcs.size(); }
    size_t TextBlockOffset() const { return TextsStart() + 24 * Texts.size(); }
    size_t PointsStart() const { return TextBlockOffset() + TextBlock().size(); }
    size_t NamesStart() const { return PointsStart() + 12 * Points.size(); }

    std::string TextBlock() const { return fixture::TextBlockOf(Texts); }

    std::vector<uint8_t> Build() const
    {
        TByteWriter out;
        WriteHeader(out);
        WriteTables(out);
        for (const LineRecord& r : Lines) fixture::PutLine(out, r);
        for (const ArcRecord& r : Arcs) fixture::PutArc(out, r);
        uint32_t next = TextBlockStart();
        for (const FixtureText& t : Texts) {
            uint32_t address = t.Address ? *t.Address : next;
            if (!t.Address) next += static_cast<uint32_t>(t.Text.size()) + 1;
            fixture::PutMoji(out, Moji(t, address));
        }
        out.Raw(TextBlock());
        for (const PointRecord& r : Points) fixture::PutPoint(out, r);
        for (const std::string& name : LayerNames) out.Field(name, 8);
        for (const std::string& name : GroupNames) out.Field(name, 16);
        return out.bytes;
    }

    void WriteTo(const std::filesystem::path& path) const { fixture::WriteFile(path, Build()); }

private:
    static std::string Hex4(uint32_t v)
    {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04X", static_cast<unsigned>(v & 0xFFFF));
        return buf;
    }

    // The record's 16-bit offset and segment: relative to the block's segment when that fits.
    TEntJwcMoji2 Moji(const FixtureText& t, uint32_t address) const
    {
        uint32_t base = uint32_t{TextSegment} * 16;
        if (address >= base && address - base <= 0xFFFF)
            return fixture::MojiOf(t, static_cast<uint16_t>(address - base), TextSegment);
        return fixture::MojiOf(t, static_cast<uint16_t>(address & 0xF), static_cast<uint16_t>(address >> 4));
    }

    void WriteHeader(TByteWriter& out) const
    {
        std::string block0 = Signature;
        block0.resize(22, ' ');
        block0 += FloatScales ? 'f' : ' ';
        block0 += " " + Title;
        out.Field(block0, 200);

        std::vector<std::string> v1(32, "0");
        v1[0] = std::to_string(DeclaredLines.value_or(static_cast<int>(Lines.size())));
        v1[1] = std::to_string(DeclaredArcs.value_or(static_cast<int>(Arcs.size())));
        v1[2] = std::to_string(DeclaredTexts.value_or(static_cast<int>(Texts.size())));
        v1[3] = std::to_string(DeclaredPoints.value_or(static_cast<int>(Points.size())));
        v1[11] = std::to_string(PaperCode);
        v1[30] = std::to_string(UnitCount);
        out.Field(Block1Text.value_or(fixture::JoinValues(v1)), 200);

        out.Field(fixture::JoinValues(std::vector<std::string>(28, "7")), 200);

        std::vector<std::string> v3(22, "0");
        uint32_t endOffset = uint32_t{TextOffset} + static_cast<uint32_t>(TextBlock().size());
        v3[0] = Hex4(TextSegment) + ":" + Hex4(TextOffset);
        // The end address normalised differently from the start, to exercise segment * 16 + offset.
        v3[1] = Hex4(TextSegment + (endOffset >> 4)) + ":" + Hex4(endOffset & 0xF);
        out.Field(Block3Text.value_or(fixture::JoinValues(v3)), 200);
    }

    void WriteTables(TByteWriter& out) const
    {
        // Reference points and settings: not converted, filled with non-zero bytes so that a
        // reader that skips the wrong amount reads visible garbage.
        for (size_t i = 0; i < kReferenceTableSize + kSettingsTableSize; ++i) out.U8(0xA5);
        for (float s : GroupScales) {
            if (FloatScales) out.F32(s);
            else out.U16(static_cast<uint16_t>(s));
        }
        for (uint8_t f : GroupFlags1) out.U8(f);
        for (uint8_t f : LayerFlags1) out.U8(f);
        for (uint8_t f : GroupFlags2) out.U8(f);
        for (uint8_t f : LayerFlags2) out.U8(f);
        for (uint8_t f : GroupFlags3) out.U8(f);
    }
};
