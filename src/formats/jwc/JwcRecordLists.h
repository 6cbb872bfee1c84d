#pragma once
// The records the JWC and JWK readers share: lines, arcs, texts and points. Each list is sized
// by what its header declares, bounded by what the rest of the file could hold, so a cut file
// keeps zero-filled entries up to that bound; the lists are then read in the file's order.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/jwc/jwctype.h"
#include "util/ByteCursor.h"

// Where a header's values hold the four counts.
struct TJwcCountPositions {
    size_t lines, arcs, texts, points;
};

// The counts in header `values`; a value that is no number counts 0.
TJwcDeclaredCounts DeclaredCounts(const std::vector<std::string>& values, const TJwcCountPositions& at);

class TJwcRecordLists {
public:
    size_t LineCount() const { return Lines.size(); }
    size_t ArcCount() const { return Arcs.size(); }
    size_t TextCount() const { return Texts.size(); }
    size_t PointCount() const { return Points.size(); }

    std::vector<LineRecord> Lines;
    std::vector<ArcRecord> Arcs;
    std::vector<TextRecord> Texts;
    std::vector<PointRecord> Points;

protected:
    // Sizes every list for records that lie after `recordsStart` in a file of `fileSize` bytes.
    void SizeLists(const TJwcDeclaredCounts& declared, size_t fileSize, size_t recordsStart);
    // Each reads its list; coordinates and radii are multiplied by `factor`.
    void ReadLines(TByteCursor& cursor, const TJwcDeclaredCounts& declared, double factor);
    void ReadArcs(TByteCursor& cursor, const TJwcDeclaredCounts& declared, double factor);
    void ReadPoints(TByteCursor& cursor, const TJwcDeclaredCounts& declared, double factor);
    // The text records; a text's address is segment * 16 + offset when `segmented`, else the
    // offset alone.
    void ReadTextRecords(TByteCursor& cursor, const TJwcDeclaredCounts& declared, double factor, bool segmented);
    // The text block of `length` bytes, whose first byte has address `blockAddress`: every
    // text gets the string at its address (an empty one outside the block).
    void ReadTextBlock(TByteCursor& cursor, size_t length, uint32_t blockAddress);
};
