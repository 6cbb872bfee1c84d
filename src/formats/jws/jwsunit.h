#pragma once
// The JWS figure-file reader, in the shape every reader has (TDrawingReader). A figure file is
// a piece of drawing saved on its own: "JwsData" (letter case matters) in a fixed 452-byte
// header, then the entity stream and block definitions of a JWW drawing (TJwwEntityModel).
// It has no pens and no layer table: every layer is shown.
//
// What a walker reads after ExpandBlocks: the lists of TJwwEntityModel, and DrawingScale(),
// the scale of layer group 0. There is no lowest version: the file's version only chooses the
// record forms (below 351 the 13-byte common part, from 420 the dimensions' SXF parts).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/DrawingReader.h"
#include "formats/jww/JwwEntityModel.h"
#include "formats/jww/jwwtype.h"

class TJwsData : public TJwwEntityModel, public TDrawingReader<TJwsData> {
public:
    static constexpr std::string_view kSignature = "JwsData";

    TReadResult LoadFrom(TByteCursor& cursor);

    // The scale of layer group 0; 1 before any file was loaded.
    double DrawingScale() const { return layerGroups.empty() ? 1.0 : layerGroups[0].scale; }

    std::string signature;  // up to 7 bytes, as read
    int32_t version = 0;
    // 16 entries once LoadFrom has run, even when the file ends before the scales: then the
    // entries not reached keep every field 0. Only the scale comes from the file.
    std::vector<TEntJwwLayerGroup> layerGroups;

private:
    void ReadHeader(TByteCursor& c);
};
