#pragma once
// Readers of the entity record bodies, one per kind, in the version-dependent forms.
// Each reads one whole body through the cursor and throws TReadFailure when the file ends
// inside it (the caller then drops the record).
#include "formats/jww/jwwtype.h"
#include "util/ByteCursor.h"

// From this version on the common part carries lineWidth (15 bytes instead of 13).
constexpr int32_t kJwwVersionLineWidth = 351;
// From this version on a dimension carries sxfMode, two auxiliary lines and four points.
constexpr int32_t kJwwVersionSxfDimension = 420;
// A point with this lineType carries code, rotation and scale; a solid with this colour
// carries its fill colour.
constexpr uint8_t kJwwPointWithCode = 100;
constexpr uint16_t kJwwSolidOwnColor = 10;

TEntJwwCommon ReadCommon(TByteCursor& cursor, int32_t version);
// Copies the whole common part of one record into another.
inline void CopyCommon(const TEntJwwCommon& source, TEntJwwCommon& target) { target = source; }

TEntJwwSen ReadLineBody(TByteCursor& cursor, int32_t version);
TEntJwwEnko ReadArcBody(TByteCursor& cursor, int32_t version);
TEntJwwTen ReadPointBody(TByteCursor& cursor, int32_t version);
TEntJwwMoji ReadTextBody(TByteCursor& cursor, int32_t version);
TEntJwwSunpo ReadDimensionBody(TByteCursor& cursor, int32_t version);
TEntJwwSolid ReadSolidBody(TByteCursor& cursor, int32_t version);
TEntJwwBlock ReadBlockBody(TByteCursor& cursor, int32_t version);
