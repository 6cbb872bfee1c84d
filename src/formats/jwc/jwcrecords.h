#pragma once
// Decoding shared by the JWC and JWK readers: the comma-separated header blocks, the line,
// arc, point and text records, and the text block.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/jwc/jwctype.h"
#include "util/ByteCursor.h"

inline constexpr size_t kHeaderBlockSize = 200;
inline constexpr size_t kLineRecordSize = 22;
inline constexpr size_t kArcRecordSize = 32;
inline constexpr size_t kPointRecordSize = 12;
inline constexpr size_t kTextRecordSize = 24;

// Reads one 200-byte header block; the raw bytes, zeros included.
std::string ReadHeaderBlock(TByteCursor& cursor);
// The block's text: everything before its first zero byte.
std::string_view HeaderBlockText(std::string_view block);

// Splits a header text into exactly `count` values: "0" for every value the text does not
// supply, pieces beyond `count` ignored.
std::vector<std::string> SplitHeaderValues(std::string_view text, size_t count);

// How many records of `recordSize` bytes a list declared with `declared` entries gets:
// never more than `bytesLeft` could hold, never fewer than 0.
size_t BoundedCount(int32_t declared, size_t bytesLeft, size_t recordSize);
// Called after a list sized by BoundedCount has been read: when the header declared more
// entries than the bound let in, the next of them would lie past the end of the file, so
// reading ends here (a read failure) instead of taking later sections from the wrong place.
void EndIfListWasCut(int32_t declared, size_t listSize);

// Reads every entry of a list sized by BoundedCount with `readOne`, then EndIfListWasCut.
template <typename Record, typename ReadOne>
void ReadRecordList(std::vector<Record>& list, int32_t declared, ReadOne readOne)
{
    for (Record& record : list) record = readOne();
    EndIfListWasCut(declared, list.size());
}

// Records; coordinates (and the radius) are multiplied by `factor`.
LineRecord ReadLineRecord(TByteCursor& cursor, double factor);
ArcRecord ReadArcRecord(TByteCursor& cursor, double factor);
PointRecord ReadPointRecord(TByteCursor& cursor, double factor);
TEntJwcMoji2 ReadMojiRecord(TByteCursor& cursor);
// A text in memory from its stored record: coordinates times `factor`, the given address, no
// string yet.
TextRecord TextOf(const TEntJwcMoji2& moji, double factor, uint32_t address);

// The text at `position` of the text block, up to its zero byte, control bytes removed.
// A position outside the block gives an empty text.
std::string TextAt(std::string_view block, int64_t position);
