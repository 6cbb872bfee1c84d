#pragma once
// In-memory builder of JWW drawings (and of the entity stream that JWS files share) for
// tests. It writes the record types of the reader (formats/jww/jwwtype.h) in the file forms
// of any version from 220 on: the 13- or 15-byte common part, dimensions with or without
// SXF parts, narrow or wide strings, class tags with the running index of the archive
// format. Defaults make a valid file; every field a test may want to break is reachable.
//
//   TJwwFileWriter w(600);
//   w.header.groupScales[0] = 100;
//   w.stream.Line(line).Line(line2);
//   w.stream.BeginBlockDef(def).Arc(arc).EndBlockDef();
//   w.stream.Block(insert);
//   std::vector<uint8_t> bytes = w.Build();
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/jww/jwwtype.h"
#include "support/ByteWriter.h"

namespace jwwfixture {

using ::TByteWriter;

// Narrow: the bytes as they are (one length byte below 255, else 0xFF and a 16-bit length).
// Wide: `text` is UTF-8, written as 0xFF, 0xFFFE, a length in UTF-16 units (one byte below
// 255, else 0xFF and 16 bits, else 0xFF, 0xFFFF and 32 bits) and the UTF-16LE units.
enum class EStringForm { Narrow, Wide };
void WriteJwwString(TByteWriter& w, std::string_view text, EStringForm form);
std::u16string Utf8ToUtf16(std::string_view text);

// The 16-bit count, or 0xFFFF and a 32-bit count when it does not fit or `forceLong`.
void WriteCount(TByteWriter& w, uint32_t count, bool forceLong = false);

// Record bodies in the form of `version` (strings of texts in `form`).
void WriteCommon(TByteWriter& w, const TEntJwwCommon& c, int32_t version);
void WriteLineBody(TByteWriter& w, const TEntJwwSen& r, int32_t version);
void WriteArcBody(TByteWriter& w, const TEntJwwEnko& r, int32_t version);
void WritePointBody(TByteWriter& w, const TEntJwwTen& r, int32_t version);
void WriteTextBody(TByteWriter& w, const TEntJwwMoji& r, int32_t version, EStringForm form);
void WriteDimensionBody(TByteWriter& w, const TEntJwwSunpo& r, int32_t version, EStringForm form);
void WriteSolidBody(TByteWriter& w, const TEntJwwSolid& r, int32_t version);
void WriteBlockBody(TByteWriter& w, const TEntJwwBlock& r, int32_t version);

// How an object's class is tagged. Auto: a new-class tag the first time the class is used,
// then a 0x8000 + index reference. LongReference: 0x7FFF and a 32-bit index with its top bit
// set (the class must have been introduced before).
enum class ETag { Auto, LongReference };

// The entity list, then the block definition list, in the archive encoding.
class TJwwStreamWriter {
public:
    TJwwStreamWriter(int32_t version, EStringForm form) : version_(version), form_(form) {}

    // Objects go to the drawing's list, or to the definition opened by BeginBlockDef.
    TJwwStreamWriter& Line(const TEntJwwSen& r, ETag tag = ETag::Auto);
    TJwwStreamWriter& Arc(const TEntJwwEnko& r, ETag tag = ETag::Auto);
    TJwwStreamWriter& Point(const TEntJwwTen& r, ETag tag = ETag::Auto);
    TJwwStreamWriter& Text(const TEntJwwMoji& r, ETag tag = ETag::Auto);
    TJwwStreamWriter& Dimension(const TEntJwwSunpo& r, ETag tag = ETag::Auto);
    TJwwStreamWriter& Solid(const TEntJwwSolid& r, ETag tag = ETag::Auto);
    TJwwStreamWriter& Block(const TEntJwwBlock& r, ETag tag = ETag::Auto);
    // Tag and body exactly as given; counts as one object of its list.
    TJwwStreamWriter& RawObject(std::vector<uint8_t> tagAndBody);

    // def.common, number, referenced, time and name are written; a negative time is followed
    // by the 8-byte long time. The member count is the number of objects added until
    // EndBlockDef unless memberCountOverride is set.
    TJwwStreamWriter& BeginBlockDef(const TEntJwwBlockDef& def, std::optional<uint32_t> memberCountOverride = {});
    TJwwStreamWriter& EndBlockDef();

    void WriteTo(TByteWriter& w) const;

    std::optional<uint32_t> entityCountOverride;
    std::optional<uint32_t> blockDefCountOverride;
    bool longCounts = false;                  // every count in its 0xFFFF + 32-bit form
    std::string blockDefClassName = "CDataList";
    std::vector<uint8_t> trailing;            // bytes after the definitions

private:
    struct TObject {
        int kind = 0;  // 0: raw
        ETag tag = ETag::Auto;
        std::vector<uint8_t> body;  // for raw: tag and body
    };
    struct TDef {
        TEntJwwBlockDef def;
        std::optional<uint32_t> memberCountOverride;
        std::vector<TObject> members;
    };
    TJwwStreamWriter& Add(int kind, ETag tag, const std::function<void(TByteWriter&)>& writeBody);

    int32_t version_;
    EStringForm form_;
    std::vector<TObject> entities_;
    std::vector<TDef> defs_;
    bool inDef_ = false;
};

// The header values tests set; everything else is written as zeros of the right size.
struct TJwwHeaderSpec {
    std::string signature = "JwwData.";
    std::string memo;
    std::array<int32_t, 16> groupStates;
    std::array<double, 16> groupScales;
    std::array<int32_t, 256> layerStates;
    std::array<std::string, 256> layerNames;
    std::array<std::string, 16> groupNames;
    std::array<uint32_t, 10> penColors{};       // screen colours
    std::array<uint32_t, 257> colorExColors{};  // screen colours, version 420 on
    std::string colorExName;                    // the name of extended colour 256
    double shadowExtra = 0;                     // the first optional shadow double (231 on)
    std::array<double, 2> zoomMark1{};          // magnification and x of zoom mark 1
    int32_t drawingTime = 0;                    // versions with the longer display block
    double textWidth = 0;                       // the first value of the last block

    TJwwHeaderSpec();
};

void WriteJwwHeader(TByteWriter& w, int32_t version, const TJwwHeaderSpec& h, EStringForm form);

// A whole drawing: header, then the stream. Strings are wide from version 700 on.
class TJwwFileWriter {
public:
    explicit TJwwFileWriter(int32_t version);
    TJwwFileWriter(int32_t version, EStringForm form);

    std::vector<uint8_t> Build() const;
    // Bytes of the header alone (where the stream starts).
    size_t HeaderSize() const;

    int32_t version;
    EStringForm form;
    TJwwHeaderSpec header;
    TJwwStreamWriter stream;
};

// Records with plausible defaults for tests.
TEntJwwCommon Common(uint16_t layer = 0, uint16_t layerGroup = 0, uint16_t color = 1, uint8_t lineType = 1);
TEntJwwSen MakeLine(double x1, double y1, double x2, double y2, TEntJwwCommon c = Common());
TEntJwwEnko MakeArc(double cx, double cy, double r, double start, double sweep, TEntJwwCommon c = Common());
TEntJwwTen MakePoint(double x, double y, TEntJwwCommon c = Common());
TEntJwwBlock MakeInsert(uint32_t number, double x, double y, double scaleX = 1, double scaleY = 1,
                        double rotation = 0, TEntJwwCommon c = Common());
TEntJwwBlockDef MakeBlockDef(uint32_t number, std::string name, TEntJwwCommon c = Common());

}  // namespace jwwfixture
