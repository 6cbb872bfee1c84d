#include "support/JwwWriter.h"

namespace jwwfixture {

namespace {

// Known class names by kind code 1..7.
const char* const kClassNames[8] = {nullptr,     "CDataSen",    "CDataEnko",  "CDataTen",
                                    "CDataMoji", "CDataSunpou", "CDataSolid", "CDataBlock"};
constexpr uint16_t kSchema = 700;

void WriteDoubles(TByteWriter& w, std::initializer_list<double> values)
{
    for (double v : values) w.F64(v);
}

void WritePointFixed(TByteWriter& w, const TEntJwwTen& r, int32_t version)
{
    WriteCommon(w, r.common, version);
    WriteDoubles(w, {r.x, r.y});
    w.I32(r.temporary);
}

void WritePointCode(TByteWriter& w, const TEntJwwTen& r)
{
    w.I32(r.code);
    WriteDoubles(w, {r.rotation, r.scale});
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        auto b = static_cast<unsigned char>(text[i]);
        uint32_t cp;
        size_t n;
        if (b < 0x80) {
            cp = b;
            n = 1;
        } else if ((b >> 5) == 6) {
            cp = b & 0x1F;
            n = 2;
        } else if ((b >> 4) == 14) {
            cp = b & 0x0F;
            n = 3;
        } else {
            cp = b & 0x07;
            n = 4;
        }
        for (size_t k = 1; k < n && i + k < text.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += n;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

void WriteJwwString(TByteWriter& w, std::string_view text, EStringForm form)
{
    if (form == EStringForm::Narrow) {
        if (text.size() < 0xFF) {
            w.U8(static_cast<uint8_t>(text.size()));
        } else {
            w.U8(0xFF);
            w.U16(static_cast<uint16_t>(text.size()));
        }
        w.Raw(text);
        return;
    }
    std::u16string units = Utf8ToUtf16(text);
    w.U8(0xFF);
    w.U16(0xFFFE);
    if (units.size() < 0xFF) {
        w.U8(static_cast<uint8_t>(units.size()));
    } else if (units.size() < 0xFFFF) {
        w.U8(0xFF);
        w.U16(static_cast<uint16_t>(units.size()));
    } else {
        w.U8(0xFF);
        w.U16(0xFFFF);
        w.U32(static_cast<uint32_t>(units.size()));
    }
    for (char16_t u : units) w.U16(u);
}

void WriteCount(TByteWriter& w, uint32_t count, bool forceLong)
{
    if (count < 0xFFFF && !forceLong) {
        w.U16(static_cast<uint16_t>(count));
    } else {
        w.U16(0xFFFF);
        w.U32(count);
    }
}

void WriteCommon(TByteWriter& w, const TEntJwwCommon& c, int32_t version)
{
    w.U32(c.group);
    w.U8(c.lineType);
    w.U16(c.color);
    if (version >= 351) w.U16(c.lineWidth);
    w.U16(c.layer);
    w.U16(c.layerGroup);
    w.U16(c.flags);
}

void WriteLineBody(TByteWriter& w, const TEntJwwSen& r, int32_t version)
{
    WriteCommon(w, r.common, version);
    WriteDoubles(w, {r.startX, r.startY, r.endX, r.endY});
}

void WriteArcBody(TByteWriter& w, const TEntJwwEnko& r, int32_t version)
{
    WriteCommon(w, r.common, version);
    WriteDoubles(w, {r.centerX, r.centerY, r.radius, r.startAngle, r.arcAngle, r.tiltAngle, r.flatness});
    w.I32(r.fullCircle);
}

void WritePointBody(TByteWriter& w, const TEntJwwTen& r, int32_t version)
{
    WritePointFixed(w, r, version);
    if (r.common.lineType == 100) WritePointCode(w, r);
}

void WriteTextBody(TByteWriter& w, const TEntJwwMoji& r, int32_t version, EStringForm form)
{
    WriteCommon(w, r.common, version);
    WriteDoubles(w, {r.startX, r.startY, r.endX, r.endY});
    w.U32(r.textKind);
    WriteDoubles(w, {r.sizeX, r.sizeY, r.spacing, r.angle});
    WriteJwwString(w, r.fontName, form);
    WriteJwwString(w, r.text, form);
}

void WriteDimensionBody(TByteWriter& w, const TEntJwwSunpo& r, int32_t version, EStringForm form)
{
    WriteCommon(w, r.common, version);
    WriteLineBody(w, r.line, version);
    WriteTextBody(w, r.text, version, form);
    if (version < 420) return;
    w.U16(r.sxfMode);
    WriteLineBody(w, r.auxLine1, version);
    WriteLineBody(w, r.auxLine2, version);
    for (const TEntJwwTen* p : {&r.point1, &r.point2, &r.point3, &r.point4}) WritePointBody(w, *p, version);
}

void WriteSolidBody(TByteWriter& w, const TEntJwwSolid& r, int32_t version)
{
    WriteCommon(w, r.common, version);
    WriteDoubles(w, {r.x1, r.y1, r.x2, r.y2, r.x3, r.y3, r.x4, r.y4});
    if (r.common.color == 10) w.U32(r.fillColor);
}

void WriteBlockBody(TByteWriter& w, const TEntJwwBlock& r, int32_t version)
{
    WriteCommon(w, r.common, version);
    WriteDoubles(w, {r.x, r.y, r.scaleX, r.scaleY, r.rotation});
    w.U32(r.blockNumber);
}

// ---------------------------------------------------------------------------------------

TJwwStreamWriter& TJwwStreamWriter::Add(int kind, ETag tag, const std::function<void(TByteWriter&)>& writeBody)
{
    TByteWriter body;
    writeBody(body);
    TObject object{kind, tag, std::move(body.bytes)};
    (inDef_ ? defs_.back().members : entities_).push_back(std::move(object));
    return *this;
}

TJwwStreamWriter& TJwwStreamWriter::Line(const TEntJwwSen& r, ETag tag)
{
    return Add(1, tag, [&](TByteWriter& b) { WriteLineBody(b, r, version_); });
}

TJwwStreamWriter& TJwwStreamWriter::Arc(const TEntJwwEnko& r, ETag tag)
{
    return Add(2, tag, [&](TByteWriter& b) { WriteArcBody(b, r, version_); });
}

TJwwStreamWriter& TJwwStreamWriter::Point(const TEntJwwTen& r, ETag tag)
{
    return Add(3, tag, [&](TByteWriter& b) { WritePointBody(b, r, version_); });
}

TJwwStreamWriter& TJwwStreamWriter::Text(const TEntJwwMoji& r, ETag tag)
{
    return Add(4, tag, [&](TByteWriter& b) { WriteTextBody(b, r, version_, form_); });
}

TJwwStreamWriter& TJwwStreamWriter::Dimension(const TEntJwwSunpo& r, ETag tag)
{
    return Add(5, tag, [&](TByteWriter& b) { WriteDimensionBody(b, r, version_, form_); });
}

TJwwStreamWriter& TJwwStreamWriter::Solid(const TEntJwwSolid& r, ETag tag)
{
    return Add(6, tag, [&](TByteWriter& b) { WriteSolidBody(b, r, version_); });
}

TJwwStreamWriter& TJwwStreamWriter::Block(const TEntJwwBlock& r, ETag tag)
{
    return Add(7, tag, [&](TByteWriter& b) { WriteBlockBody(b, r, version_); });
}

TJwwStreamWriter& TJwwStreamWriter::RawObject(std::vector<uint8_t> tagAndBody)
{
    return Add(0, ETag::Auto, [&](TByteWriter& b) { b.bytes = std::move(tagAndBody); });
}

TJwwStreamWriter& TJwwStreamWriter::BeginBlockDef(const TEntJwwBlockDef& def, std::optional<uint32_t> memberCountOverride)
{
    defs_.push_back({def, memberCountOverride, {}});
    inDef_ = true;
    return *this;
}

TJwwStreamWriter& TJwwStreamWriter::EndBlockDef()
{
    inDef_ = false;
    return *this;
}

void TJwwStreamWriter::WriteTo(TByteWriter& w) const
{
    int64_t running = 1;
    int64_t classIndex[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    int64_t defClassIndex = 0;
    auto newClass = [&](const std::string& name) {
        w.U16(0xFFFF);
        w.U16(kSchema);
        w.U16(static_cast<uint16_t>(name.size()));
        w.Raw(name);
        return running++;
    };
    auto writeObject = [&](const TObject& o) {
        if (o.kind == 0) {
            w.Raw(o.body);
            ++running;
            return;
        }
        if (classIndex[o.kind] == 0) {
            classIndex[o.kind] = newClass(kClassNames[o.kind]);
        } else if (o.tag == ETag::LongReference) {
            w.U16(0x7FFF);
            w.U32(0x80000000u | static_cast<uint32_t>(classIndex[o.kind]));
        } else {
            w.U16(static_cast<uint16_t>(0x8000 + classIndex[o.kind]));
        }
        w.Raw(o.body);
        ++running;
    };

    WriteCount(w, entityCountOverride.value_or(static_cast<uint32_t>(entities_.size())), longCounts);
    for (const TObject& o : entities_) writeObject(o);

    WriteCount(w, blockDefCountOverride.value_or(static_cast<uint32_t>(defs_.size())), longCounts);
    for (const TDef& d : defs_) {
        if (defClassIndex == 0) {
            defClassIndex = newClass(blockDefClassName);
        } else {
            w.U16(static_cast<uint16_t>(0x8000 + defClassIndex));
        }
        WriteCommon(w, d.def.common, version_);
        w.U32(d.def.number);
        w.U32(d.def.referenced);
        w.I32(d.def.time);
        if (d.def.time < 0) w.Zeros(8);
        WriteJwwString(w, d.def.name, form_);
        WriteCount(w, d.memberCountOverride.value_or(static_cast<uint32_t>(d.members.size())), longCounts);
        ++running;
        for (const TObject& o : d.members) writeObject(o);
    }
    w.Raw(trailing);
}

// ---------------------------------------------------------------------------------------

TJwwHeaderSpec::TJwwHeaderSpec()
{
    groupStates.fill(2);
    groupScales.fill(1.0);
    layerStates.fill(2);
}

namespace {

// From the display flags on: the extended colours and line types (420 on), the text styles.
void WriteJwwHeaderTail(TByteWriter& w, int32_t version, const TJwwHeaderSpec& h, EStringForm form)
{
    size_t flags = version == 220 ? 44 : version == 223 ? 104 : version == 225 ? 136 : version >= 230 ? 144 : 0;
    if (flags > 0) w.Zeros(44);
    if (flags > 44) {
        w.I32(h.drawingTime);
        w.Zeros(flags - 48);
    }
    if (version >= 420) {
        for (uint32_t color : h.colorExColors) {
            w.U32(color);
            w.I32(1);
        }
        for (int i = 0; i < 257; ++i) {
            WriteJwwString(w, i == 256 ? h.colorExName : std::string(), form);
            w.Zeros(16);
        }
        w.Zeros(33 * 16);
        for (int i = 0; i < 33; ++i) {
            WriteJwwString(w, "", form);
            w.Zeros(4 + 80);
        }
    }
    w.Zeros(280);  // text styles
    w.F64(h.textWidth);
    w.Zeros(92);   // the rest of the current text settings
}

}  // namespace

void WriteJwwHeader(TByteWriter& w, int32_t version, const TJwwHeaderSpec& h, EStringForm form)
{
    w.Raw(h.signature);
    w.I32(version);
    if (version < 220) return;
    WriteJwwString(w, h.memo, form);
    w.Zeros(8);  // sheet
    for (int g = 0; g < 16; ++g) {
        w.I32(h.groupStates[g]);
        w.I32(0);
        w.F64(h.groupScales[g]);
        w.I32(0);
        for (int n = 0; n < 16; ++n) {
            w.I32(h.layerStates[g * 16 + n]);
            w.I32(0);
        }
    }
    w.Zeros(56);  // skipped block
    w.Zeros(28);  // dimension settings
    w.Zeros(72);  // print and marks
    for (const std::string& name : h.layerNames) WriteJwwString(w, name, form);
    for (const std::string& name : h.groupNames) WriteJwwString(w, name, form);
    // shadow settings
    w.Zeros(28);
    if (version >= 231) {
        w.F64(h.shadowExtra);
        w.F64(0);
    }
    w.Zeros(52);  // view settings
    // zoom marks
    w.F64(h.zoomMark1[0]);
    w.F64(h.zoomMark1[1]);
    w.Zeros(version >= 231 ? 280 - 16 : 96 - 16);
    // settings and screen pens
    w.Zeros(88);
    for (uint32_t color : h.penColors) {
        w.U32(color);
        w.I32(1);
    }
    w.Zeros(160);  // printer pens
    w.Zeros(128);  // line types
    w.Zeros(164);  // random and double-length lines
    WriteJwwHeaderTail(w, version, h, form);
}

TJwwFileWriter::TJwwFileWriter(int32_t v) : TJwwFileWriter(v, v >= 700 ? EStringForm::Wide : EStringForm::Narrow) {}

TJwwFileWriter::TJwwFileWriter(int32_t v, EStringForm f) : version(v), form(f), stream(v, f) {}

std::vector<uint8_t> TJwwFileWriter::Build() const
{
    TByteWriter w;
    WriteJwwHeader(w, version, header, form);
    stream.WriteTo(w);
    return w.bytes;
}

size_t TJwwFileWriter::HeaderSize() const
{
    TByteWriter w;
    WriteJwwHeader(w, version, header, form);
    return w.bytes.size();
}

// ---------------------------------------------------------------------------------------

TEntJwwCommon Common(uint16_t layer, uint16_t layerGroup, uint16_t color, uint8_t lineType)
{
    TEntJwwCommon c;
    c.lineType = lineType;
    c.color = color;
    c.layer = layer;
    c.layerGroup = layerGroup;
    return c;
}

TEntJwwSen MakeLine(double x1, double y1, double x2, double y2, TEntJwwCommon c)
{
    TEntJwwSen r;
    r.common = c;
    r.startX = x1;
    r.startY = y1;
    r.endX = x2;
    r.endY = y2;
    return r;
}

TEntJwwEnko MakeArc(double cx, double cy, double radius, double start, double sweep, TEntJwwCommon c)
{
    TEntJwwEnko r;
    r.common = c;
    r.centerX = cx;
    r.centerY = cy;
    r.radius = radius;
    r.startAngle = start;
    r.arcAngle = sweep;
    r.flatness = 1;
    return r;
}

TEntJwwTen MakePoint(double x, double y, TEntJwwCommon c)
{
    TEntJwwTen r;
    r.common = c;
    r.x = x;
    r.y = y;
    r.scale = 1;
    return r;
}

TEntJwwBlock MakeInsert(uint32_t number, double x, double y, double scaleX, double scaleY, double rotation,
                        TEntJwwCommon c)
{
    TEntJwwBlock r;
    r.common = c;
    r.x = x;
    r.y = y;
    r.scaleX = scaleX;
    r.scaleY = scaleY;
    r.rotation = rotation;
    r.blockNumber = number;
    return r;
}

TEntJwwBlockDef MakeBlockDef(uint32_t number, std::string name, TEntJwwCommon c)
{
    TEntJwwBlockDef d;
    d.common = c;
    d.number = number;
    d.time = 1;
    d.name = std::move(name);
    return d;
}

}  // namespace jwwfixture
