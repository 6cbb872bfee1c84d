#include "formats/jwc/jwcunit.h"

#include <array>
#include <vector>

#include "formats/jwc/jwcrecords.h"
#include "util/ByteCursor.h"
#include "util/Func_.h"

namespace {

constexpr size_t kFormatByteOffset = 22;
constexpr uint8_t kFloatScalesFormat = 'f';
constexpr size_t kHeaderSize = 4 * kHeaderBlockSize;

constexpr size_t kValues1Count = 32;
constexpr size_t kValues2Count = 28;
constexpr size_t kValues3Count = 22;
constexpr TJwcCountPositions kCountValues{.lines = 0, .arcs = 1, .texts = 2, .points = 3};
constexpr size_t kPaperCodeValue = 11;
constexpr size_t kUnitCountValue = 30;
constexpr size_t kTextStartValue = 0;
constexpr size_t kTextEndValue = 1;
constexpr int32_t kDefaultUnitCount = 518;

// Reference points: 101 X (float32), 101 Y (float32), 101 bytes.
constexpr size_t kReferencePointCount = 101;
constexpr size_t kReferencePointTableSize = kReferencePointCount * (4 + 4 + 1);
// Settings: four columns of 11 uint16.
constexpr size_t kSettingsTableSize = 4 * 11 * 2;
constexpr size_t kLayerNameSize = 8;
constexpr size_t kGroupNameSize = 16;

constexpr size_t kGroupCount = jw::kLayerGroupCount;
constexpr size_t kLayerCount = jw::kLayerCount;

// Bytes from the start of the file to the first line record.
size_t RecordsStart(bool floatScales)
{
    size_t scales = kGroupCount * (floatScales ? 4 : 2);
    size_t flags = kGroupCount + kLayerCount + kGroupCount + kLayerCount + kGroupCount;
    return kHeaderSize + kReferencePointTableSize + kSettingsTableSize + scales + flags;
}

// "SSSS:OOOO": four hex digits of a segment, a separator, four hex digits of an offset.
uint32_t ParseTextAddress(std::string_view value)
{
    auto hex = [&](size_t from) {
        std::string digits = "$";
        if (from < value.size()) digits += value.substr(from, 4);
        return static_cast<uint32_t>(StrToIntDef0(digits));
    };
    return hex(0) * 16 + hex(5);
}

std::string FieldText(std::string_view field) { return std::string(HeaderBlockText(field)); }

}  // namespace

TReadResult TJwcData::LoadFrom(TByteCursor& cursor)
{
    Clear();
    return ReadGuarded(cursor, kSignature, [&](TByteCursor& cursor) {
        ReadHeader(cursor);
        SizeLists(Header, cursor.Size(), RecordsStart(FloatScales));
        ReadFixedTables(cursor);
        ReadLines(cursor, Header, UnitFactor);
        ReadArcs(cursor, Header, UnitFactor);
        ReadTexts(cursor);
        ReadPoints(cursor, Header, UnitFactor);
        ReadNames(cursor);
        return TReadStatus::Complete;
    });
}

double TJwcData::ComputeUnitFactor(int32_t paperCode, int32_t unitCount)
{
    // Paper lengths in millimetres by paper-size code; 0 where a code names no paper.
    constexpr std::array<double, 15> kPaperLength = {1189, 841,  594,  420,  297,   0,     0,     0,
                                                     1682, 2378, 3364, 4756, 10000, 50000, 100000};
    if (unitCount == 0) unitCount = kDefaultUnitCount;
    const size_t code = static_cast<size_t>(paperCode);  // a negative code wraps past the table
    if (code >= kPaperLength.size() || kPaperLength[code] == 0) return 1.0;  // the paper length is the unit count itself
    return kPaperLength[code] / unitCount;
}

void TJwcData::ReadHeader(TByteCursor& cursor)
{
    std::string block0 = ReadHeaderBlock(cursor);
    std::string block1 = ReadHeaderBlock(cursor);
    std::string block2 = ReadHeaderBlock(cursor);
    std::string block3 = ReadHeaderBlock(cursor);

    Header.Block0 = FieldText(block0);
    Header.FormatByte = static_cast<uint8_t>(block0[kFormatByteOffset]);
    Header.Values1 = SplitHeaderValues(HeaderBlockText(block1), kValues1Count);
    Header.Values2 = SplitHeaderValues(HeaderBlockText(block2), kValues2Count);
    Header.Values3 = SplitHeaderValues(HeaderBlockText(block3), kValues3Count);

    const auto& v1 = Header.Values1;
    static_cast<TJwcDeclaredCounts&>(Header) = DeclaredCounts(v1, kCountValues);
    Header.PaperCode = StrToIntDef0(v1[kPaperCodeValue]);
    Header.UnitCount = StrToIntDef0(v1[kUnitCountValue]);
    if (Header.UnitCount == 0) Header.UnitCount = kDefaultUnitCount;
    Header.TextStart = ParseTextAddress(Header.Values3[kTextStartValue]);
    Header.TextEnd = ParseTextAddress(Header.Values3[kTextEndValue]);

    FloatScales = Header.FormatByte == kFloatScalesFormat;
    UnitFactor = ComputeUnitFactor(Header.PaperCode, Header.UnitCount);
}

void TJwcData::ReadFixedTables(TByteCursor& cursor)
{
    cursor.Skip(kReferencePointTableSize);  // not converted
    cursor.Skip(kSettingsTableSize);        // not converted
    for (TEntJwcLayerGroup& group : LayerGroups)
        group.Scale = FloatScales ? cursor.F32() : static_cast<float>(cursor.U16());
    for (TEntJwcLayerGroup& group : LayerGroups) group.Flags1 = cursor.U8();
    for (TEntJwcLayer& layer : Layers) layer.Flags1 = cursor.U8();
    for (TEntJwcLayerGroup& group : LayerGroups) group.Flags2 = cursor.U8();
    for (TEntJwcLayer& layer : Layers) layer.Flags2 = cursor.U8();
    for (TEntJwcLayerGroup& group : LayerGroups) group.Flags3 = cursor.U8();
}

void TJwcData::ReadTexts(TByteCursor& cursor)
{
    ReadTextRecords(cursor, Header, UnitFactor, true);
    // An end address at or below the start means there is no text block.
    if (Header.TextEnd > Header.TextStart) ReadTextBlock(cursor, Header.TextEnd - Header.TextStart, Header.TextStart);
}

void TJwcData::ReadNames(TByteCursor& cursor)
{
    for (TEntJwcLayer& layer : Layers) layer.Name = FieldText(cursor.Bytes(kLayerNameSize));
    for (TEntJwcLayerGroup& group : LayerGroups) group.Name = FieldText(cursor.Bytes(kGroupNameSize));
}

void TJwcData::LoadLayers(TgraAttribute& attributes) const
{
    using jw::TLayerState;
    attributes.ResetLayers();
    for (size_t i = 0; i < kLayerCount; ++i) {
        const TEntJwcLayerGroup& group = LayerGroups[i / jw::kLayersPerGroup];
        const TEntJwcLayer& layer = Layers[i];
        TLayerState state;
        if (!(group.Flags2 & 1)) state = TLayerState::Hidden;
        else if (!(group.Flags1 & 1)) state = TLayerState::Locked;
        else if (!(layer.Flags2 & 1)) state = TLayerState::Hidden;
        else state = (layer.Flags1 & 1) ? TLayerState::Shown : TLayerState::Locked;
        attributes.SetLayerState(static_cast<int>(i), static_cast<int>(state));
    }
}
