#pragma once
// In-memory builder of .JWS figure files for tests: the fixed 452-byte header, then the
// entity stream of the JWW builder in the form of the file's version.
//
//   jwsfixture::TJwsFileWriter w(420);
//   w.groupScales[0] = 50;
//   w.stream.Line(jwwfixture::MakeLine(0, 0, 1, 1));
//   std::vector<uint8_t> bytes = w.Build();
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "support/JwwWriter.h"

namespace jwsfixture {

inline constexpr size_t kHeaderSize = 452;

// The header alone. The fields that carry nothing the reader uses are filled with a
// recognisable non-zero byte so that a reader taking them for values would notice.
inline void WriteJwsHeader(jwwfixture::TByteWriter& w, const std::string& signature, int32_t version,
                           const std::array<double, 16>& groupScales)
{
    const size_t start = w.bytes.size();
    w.Raw(signature.substr(0, 7));
    w.bytes.resize(start + 200, 0x5A);
    w.I32(version);
    w.F64(-7.5);
    w.F64(-7.5);
    for (double scale : groupScales) w.F64(scale);
    for (int i = 0; i < 6; ++i) w.I32(-9);
    for (int i = 0; i < 10; ++i) w.F64(-7.5);
}

// The header of a figure file followed by an entity stream given as bytes (for instance the
// stream of a real drawing).
inline std::vector<uint8_t> JwsFromStream(int32_t version, const std::array<double, 16>& groupScales,
                                          const uint8_t* stream, size_t size)
{
    jwwfixture::TByteWriter w;
    WriteJwsHeader(w, "JwsData", version, groupScales);
    w.bytes.insert(w.bytes.end(), stream, stream + size);
    return w.bytes;
}

class TJwsFileWriter {
public:
    explicit TJwsFileWriter(int32_t v)
        : TJwsFileWriter(v, v >= 700 ? jwwfixture::EStringForm::Wide : jwwfixture::EStringForm::Narrow)
    {
    }
    TJwsFileWriter(int32_t v, jwwfixture::EStringForm form) : version(v), stream(v, form) { groupScales.fill(1.0); }

    std::vector<uint8_t> Build() const
    {
        jwwfixture::TByteWriter w;
        WriteJwsHeader(w, signature, version, groupScales);
        stream.WriteTo(w);
        return w.bytes;
    }

    std::string signature = "JwsData";
    int32_t version;
    std::array<double, 16> groupScales{};
    jwwfixture::TJwwStreamWriter stream;
};

}  // namespace jwsfixture
