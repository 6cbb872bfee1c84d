#pragma once
// In-memory builder of .JWK symbol files, using the record encoders of the .JWC builder.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/JwcWriter.h"

class JwkWriter {
public:
    static constexpr size_t kHeaderSize = 400;

    std::string Signature = "jw_cad(c)sym........";
    std::string Title = "fixture symbol";
    std::optional<int> DeclaredLines, DeclaredArcs, DeclaredPoints, DeclaredTexts;
    std::optional<int> DeclaredTextBlockLength;
    std::optional<std::string> Block1Text;   // replaces the generated nine values
    std::string Scale = "1";

    std::vector<LineRecord> Lines;
    std::vector<ArcRecord> Arcs;
    std::vector<PointRecord> Points;
    std::vector<FixtureText> Texts;

    size_t LinesStart() const { return kHeaderSize; }
    size_t ArcsStart() const { return LinesStart() + 22 * Lines.size(); }
    size_t PointsStart() const { return ArcsStart() + 32 * Arcs.size(); }
    size_t TextsStart() const { return PointsStart() + 12 * Points.size(); }
    size_t TextBlockOffset() const { return TextsStart() + 24 * Texts.size(); }

    std::string TextBlock() const { return fixture::TextBlockOf(Texts); }

    std::vector<uint8_t> Build() const
    {
        TByteWriter out;
        out.Field(Signature + " " + Title, 200);
        std::vector<std::string> v{
            std::to_string(DeclaredLines.value_or(static_cast<int>(Lines.size()))),
            std::to_string(DeclaredArcs.value_or(static_cast<int>(Arcs.size()))),
            std::to_string(DeclaredPoints.value_or(static_cast<int>(Points.size()))),
            std::to_string(DeclaredTexts.value_or(static_cast<int>(Texts.size()))),
            "0", "0", "0",
            std::to_string(DeclaredTextBlockLength.value_or(static_cast<int>(TextBlock().size()))),
            Scale};
        out.Field(Block1Text.value_or(fixture::JoinValues(v)), 200);

        for (const LineRecord& r : Lines) fixture::PutLine(out, r);
        for (const ArcRecord& r : Arcs) fixture::PutArc(out, r);
        for (const PointRecord& r : Points) fixture::PutPoint(out, r);
        uint32_t next = 0;
        for (const FixtureText& t : Texts) {
            // The segment field is ignored by readers: a recognisable value.
            fixture::PutMoji(out, fixture::MojiOf(t, static_cast<uint16_t>(t.Address.value_or(next)), 0xBEEF));
            if (!t.Address) next += static_cast<uint32_t>(t.Text.size()) + 1;
        }
        out.Raw(TextBlock());
        return out.bytes;
    }

    void WriteTo(const std::filesystem::path& path) const { fixture::WriteFile(path, Build()); }
};
