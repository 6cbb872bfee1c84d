// The part of a JWW file before the entity stream: signature, version, memo and the 22
// header blocks, whose sizes depend on the version. Every byte is consumed exactly, since
// the stream can only be found by reading over all of them.
#include "formats/jww/jwwunit.h"

#include "formats/jww/JwwString.h"
#include "util/DrawingFacts.h"

namespace {

constexpr size_t kSkippedBlockBytes = 56;  // fourteen int32 after the layer groups

// First versions of the larger block forms.
constexpr int32_t kVersionLongShadowAndZoom = 231;
constexpr int32_t kVersionStoredShadowExtra = 300;
constexpr int32_t kVersionExtendedTables = 420;

// Size of the display-flags block: only these versions have one.
size_t DisplayFlagsSize(int32_t version)
{
    if (version == 220) return 44;
    if (version == 223) return 104;
    if (version == 225) return 136;
    if (version >= 230) return 144;
    return 0;
}

TEntJwwLineType ReadLineType(TByteCursor& c)
{
    TEntJwwLineType t;
    ReadFields(c, t.pattern, t.unitDots, t.pitch, t.printerPitch);
    return t;
}

}  // namespace

void TJwwData::ReadHeader(TByteCursor& c, THeaderPart part)
{
    header.signature = c.Bytes(kSignature.size());
    header.version = c.I32();
    if (header.version < kLowestVersion) return;
    layerGroups.assign(jw::kLayerGroupCount, {});
    layers.assign(jw::kLayerCount, {});
    pens.assign(kPenCount, {});
    lineTypes.assign(8, {});
    randomLines.assign(5, {});
    doubleLineTypes.assign(4, {});
    colorsEx.assign(kColorExCount, {});
    lineTypesEx.assign(kLineTypeExCount, {});
    textStyles.assign(10, {});

    const bool whole = part == THeaderPart::Whole;
    if (whole) header.memo = ReadJwwString(c);
    else SkipJwwString(c);
    ReadSheet(c);
    ReadLayerGroups(c);
    c.Skip(kSkippedBlockBytes);
    ReadDimensionSettings(c);
    ReadPrintAndMarks(c);
    if (whole) ReadNames(c);
    else for (size_t name = 0; name < layers.size() + layerGroups.size(); ++name) SkipJwwString(c);
    ReadShadowSettings(c);
    ReadViewSettings(c);
    ReadZoomMarks(c);
    ReadScreenPens(c);
    if (!whole) return;
    ReadPrinterPens(c);
    ReadLineTypes(c);
    ReadRandomAndDoubleLines(c);
    ReadDisplayFlags(c);
    if (header.version >= kVersionExtendedTables) {
        ReadExtendedColors(c);
        ReadExtendedLineTypes(c);
    }
    ReadTextStyles(c);
    ReadCurrentTextSettings(c);
}

void TJwwData::ReadSheet(TByteCursor& c)
{
    header.paperSize = c.I32();
    header.writeLayerGroup = c.I32();
}

void TJwwData::ReadLayerGroups(TByteCursor& c)
{
    for (int g = 0; g < jw::kLayerGroupCount; ++g) {
        TEntJwwLayerGroup& group = layerGroups[static_cast<size_t>(g)];
        group.state = c.I32();
        group.writeLayer = c.I32();
        group.scale = c.F64();
        group.protect = c.I32();
        for (int n = 0; n < jw::kLayersPerGroup; ++n) {
            TEntJwwLayer& layer = layers[static_cast<size_t>(g * jw::kLayersPerGroup + n)];
            layer.state = c.I32();
            layer.protect = c.I32();
        }
    }
}

void TJwwData::ReadDimensionSettings(TByteCursor& c)
{
    for (int32_t& value : header.dimensionSetting) value = c.I32();
    c.I32();  // not used
    header.maxDrawWidth = c.I32();
}

void TJwwData::ReadPrintAndMarks(TByteCursor& c)
{
    ReadFields(c, header.printOriginX, header.printOriginY, header.printScale);
    header.printRotate = c.I32();
    header.markMode = c.I32();
    ReadFields(c, header.markMinSpacing, header.markSpacingX, header.markSpacingY, header.markOriginX,
                header.markOriginY);
}

void TJwwData::ReadNames(TByteCursor& c)
{
    for (TEntJwwLayer& layer : layers) layer.name = ReadJwwString(c);
    for (TEntJwwLayerGroup& group : layerGroups) group.name = ReadJwwString(c);
}

void TJwwData::ReadShadowSettings(TByteCursor& c)
{
    ReadFields(c, header.shadow[0], header.shadow[1]);
    header.shadowInt = c.I32();
    header.shadow[2] = c.F64();
    if (header.version < kVersionLongShadowAndZoom) return;
    const double extra1 = c.F64();
    const double extra2 = c.F64();
    if (header.version >= kVersionStoredShadowExtra) {
        header.shadow[3] = extra1;
        header.shadow[4] = extra2;
    }
}

void TJwwData::ReadViewSettings(TByteCursor& c)
{
    header.viewInt = c.I32();
    for (double& value : header.view) value = c.F64();
}

void TJwwData::ReadZoomMarks(TByteCursor& c)
{
    if (header.version < kVersionLongShadowAndZoom) {
        for (size_t i = 0; i < 4; ++i) {
            TEntJwwZoomMark& mark = header.zoomMarks[i];
            ReadFields(c, mark.magnification, mark.x, mark.y);
        }
        return;
    }
    auto readMark = [&c](TEntJwwZoomMark& mark) {
        ReadFields(c, mark.magnification, mark.x, mark.y);
        mark.layer = c.I32();
    };
    for (TEntJwwZoomMark& mark : header.zoomMarks) readMark(mark);
    for (TEntJwwZoomMark& mark : header.zoomExtra) readMark(mark);
}

void TJwwData::ReadScreenPens(TByteCursor& c)
{
    for (double& value : header.settings) value = c.F64();
    for (TEntJwwPen& pen : pens) {
        pen.screenColor = c.U32();
        pen.screenWidth = c.I32();
    }
    pensRead = true;
}

void TJwwData::ReadPrinterPens(TByteCursor& c)
{
    for (TEntJwwPen& pen : pens) {
        pen.printerColor = c.U32();
        pen.printerWidth = c.I32();
        pen.pointRadius = c.F64();
    }
}

void TJwwData::ReadLineTypes(TByteCursor& c)
{
    for (TEntJwwLineType& type : lineTypes) type = ReadLineType(c);
}

void TJwwData::ReadRandomAndDoubleLines(TByteCursor& c)
{
    for (TEntJwwRandomLine& line : randomLines)
        ReadFields(c, line.pattern, line.amplitude, line.pitch, line.printerAmplitude, line.printerPitch);
    for (TEntJwwLineType& type : doubleLineTypes) type = ReadLineType(c);
}

void TJwwData::ReadDisplayFlags(TByteCursor& c)
{
    const size_t size = DisplayFlagsSize(header.version);
    if (size == 0) return;
    for (int32_t& flag : header.displayFlags) flag = c.I32();
    if (size >= 104) {
        header.drawingTime = c.I32();
        for (size_t i = 0; i < 4; ++i) header.displayInts[i] = c.I32();
        for (size_t i = 0; i < 5; ++i) header.displayDoubles[i] = c.F64();
    }
    if (size >= 136) {
        for (size_t i = 5; i < 9; ++i) header.displayDoubles[i] = c.F64();
    }
    if (size >= 144) {
        header.displayInts[4] = c.I32();
        header.displayInts[5] = c.I32();
    }
}

void TJwwData::ReadExtendedColors(TByteCursor& c)
{
    for (TEntJwwColorExNo& color : colorsEx) ReadFields(c, color.screenColor, color.screenWidth);
    colorsExRead = true;
    for (TEntJwwColorExNo& color : colorsEx) {
        color.name = ReadJwwString(c);
        ReadFields(c, color.printerColor, color.printerWidth, color.pointRadius);
    }
}

void TJwwData::ReadExtendedLineTypes(TByteCursor& c)
{
    for (TEntJwwLineTypeExNo& type : lineTypesEx) ReadFields(c, type.pattern, type.unitDots, type.pitch, type.printerPitch);
    for (TEntJwwLineTypeExNo& type : lineTypesEx) {
        type.name = ReadJwwString(c);
        type.segmentCount = c.I32();
        for (double& pitch : type.pitches) pitch = c.F64();
    }
}

void TJwwData::ReadTextStyles(TByteCursor& c)
{
    for (TEntJwwTextStyle& style : textStyles) {
        ReadFields(c, style.width, style.height, style.spacing);
        style.color = c.I32();
    }
}

void TJwwData::ReadCurrentTextSettings(TByteCursor& c)
{
    ReadFields(c, header.textWidth, header.textHeight, header.textSpacing);
    header.textColor = c.I32();
    header.textKind = c.I32();
    ReadFields(c, header.textDoubles[0], header.textDoubles[1]);
    header.textInt = c.I32();
    for (size_t i = 2; i < 8; ++i) header.textDoubles[i] = c.F64();
}
