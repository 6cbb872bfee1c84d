#pragma once
// The entities of a JWW drawing or a JWS figure file: seven typed record lists, the block
// definitions, and the block trees (one entry per placement, nested ones included).
//
// Both readers decode the same serialized stream after their own headers; they derive from
// this class and call ReadEntities with their own version number:
//
//   ReadEntities(cursor, version)   the entity list, then the block definition list
//   BuildBlockTrees()               once after reading (also after a failed read)
//   ExpandBlocks()                  by the walker, before it walks the lists
//
// After ExpandBlocks the walker reads `lines`, `arcs`, `points`, `dimensions` and `solids`
// (placed block members included, already mapped) and `texts` (never expanded).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/ReadResult.h"
#include "formats/jww/jwwtype.h"
#include "util/ByteCursor.h"

// The stream is damaged in a way reading cannot get past: an unknown class name, a tag
// that refers to no known class, a class name longer than the reader accepts.
struct TDamagedStream : TReadFailure {};

// A class met in the stream: the running index it received and its name.
struct TJwwClassEntry {
    int64_t index = 0;
    std::string name;
};

class TJwwEntityModel : public TJwwRecordLists {
public:
    // Bounds of the block expansion, so that a small file cannot demand unbounded time or
    // memory: placements looked at (tree entries and skipped self-placements), and records
    // appended by one ExpandBlocks (a dimension counts as the eight records it holds, an arc
    // placed by a turning or uneven map as 16, for the search its mapping needs).
    static constexpr size_t kMaxBlockTrees = 500000;
    static constexpr size_t kMaxExpandedRecords = 2000000;
    static constexpr size_t kMaxClassNameLength = 2048;

    // As declared in the stream. The lists hold the records actually read, which is fewer
    // when the file ends early.
    int32_t entityCount = 0;
    int32_t blockDefCount = 0;

    std::vector<TEntJwwBlockDef> blockDefs;    // the definitions reached, in file order
    std::vector<TEntJwwBlockTree> blockTrees;  // breadth first: placements of the drawing first
    bool blockTreesCut = false;  // BuildBlockTrees stopped at kMaxBlockTrees

    std::vector<TJwwClassEntry> classes;  // every class introduced, in stream order
    size_t streamStart = 0;               // cursor offset where the stream begins (after the header)
    size_t streamEnd = 0;                 // cursor offset where the stream reading stopped

    // Decodes the entity list and the block definition list from the cursor, testing
    // `version` wherever the record forms differ (351: lineWidth, 420: dimension parts).
    // Records completed before a failure stay; the failure (TReadFailure, TDamagedStream,
    // std::bad_alloc) is passed on to the caller. Anything after the definitions is left.
    void ReadEntities(TByteCursor& cursor, int32_t version);

    // The load both readers share, through the cursor: its signature, then `readHeader`
    // reads the reader's own header and answers the stream's version, or nothing when that
    // version is not supported (Unsupported); then ReadEntities and, whatever happened,
    // BuildBlockTrees. Complete when the stream was read to its end; a file that ends early or
    // is damaged keeps what was read completely.
    TReadResult LoadStream(TByteCursor& cursor, std::string_view signature,
                           const std::function<std::optional<int32_t>(TByteCursor&)>& readHeader);

    // One entry per placement: the drawing's block inserts, then, breadth first, the
    // inserts of every placed definition, each with its composed transform. A placement of
    // a definition that already stands in its own chain of parents gets no entry.
    void BuildBlockTrees();

    // Appends a mapped copy of every member line, arc, point, dimension and solid of every
    // placed definition to the top-level lists, then drops definitions, placements and
    // trees. True when there was nothing to do or everything was expanded. False when
    // memory or one of the bounds above ran out: what was appended stays, definitions and
    // inserts stay, and the trees are dropped so that a second call appends nothing again.
    // Arc members (and arc-shaped solids) whose mapping is degenerate are left out. With
    // `withTexts`, member texts are copied too (into `texts`), turned and sized with their
    // placement but never mirrored.
    bool ExpandBlocks(bool withTexts = false);

    // The expansion steps, one per member kind: each appends one mapped copy and answers
    // false only when the list cannot grow (memory, or the record bound).
    bool AddBlockLine(const TEntJwwSen& member, const TEntJwwBlockTree& tree);
    bool AddBlockArc(const TEntJwwEnko& member, const TEntJwwBlockTree& tree);
    bool AddBlockPoint(const TEntJwwTen& member, const TEntJwwBlockTree& tree);
    bool AddBlockDimension(const TEntJwwSunpo& member, const TEntJwwBlockTree& tree);
    bool AddBlockSolid(const TEntJwwSolid& member, const TEntJwwBlockTree& tree);
    bool AddBlockText(const TEntJwwMoji& member, const TEntJwwBlockTree& tree);

private:
    bool TakeExpansionBudget(size_t records);
    bool ExpandTrees(bool withTexts);

    size_t expandedRecords_ = 0;
};
