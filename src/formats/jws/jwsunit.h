#pragma once
// The JWS figure-file reader. A figure file is a piece of drawing saved on its own: a fixed
// 452-byte header, then the entity stream and block definitions of a JWW drawing. One
// instance serves the whole run, one file at a time, in the shape every reader has
// (TDrawingReader):
//
//   CheckSignature(path)    the first 7 bytes are "JwsData" (letter case matters)
//   LoadBytes(bytes)        header, entity stream, block definitions, block trees; Damaged
//                           when the file ends early or is damaged (what was read completely
//                           stays and can be converted)
//   LoadFile(path)          the same from a file
//   LoadLayers(attributes)  every one of the 256 layers shown: the file has no layer table
//   ExpandBlocks()          (TJwwEntityModel) flattens every placement into plain entities
//   Clear()                 frees everything
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

    // Header layout: the offsets of its fields and where the entity stream begins.
    static constexpr size_t kVersionOffset = 200;
    static constexpr size_t kGroupScalesOffset = 220;
    static constexpr size_t kHeaderSize = 452;

    TReadResult LoadBytes(std::span<const std::byte> bytes);
    void Clear();

    // The scale of layer group 0; 1 before any file was loaded.
    double DrawingScale() const { return layerGroups.empty() ? 1.0 : layerGroups[0].scale; }

    std::string signature;  // up to 7 bytes, as read
    int32_t version = 0;
    // 16 entries once LoadBytes has run, even when the file ends before the scales: then the
    // entries not reached keep every field 0. Only the scale comes from the file.
    std::vector<TEntJwwLayerGroup> layerGroups;

private:
    void ReadHeader(TByteCursor& c);
};
