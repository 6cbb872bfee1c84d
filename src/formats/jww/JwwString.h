#pragma once
// The string format shared by every JWW structure (header, entity stream, JWS files).
//   narrow: length byte 0..254, or 0xFF + 16-bit length 0..65535; then that many bytes
//   wide:   0xFF, the 16-bit marker 0xFFFE, then a length in UTF-16 units (byte 0..254,
//           or 0xFF + 16-bit length, or 0xFF, 0xFFFF + 32-bit length); then the units
// Drawings saved by current versions of the CAD program write every string wide; the text
// is turned into Shift_JIS byte text so the rest of the program sees one encoding.
#include <string>

#include "util/ByteCursor.h"

// The string as stored (wide text already converted), before cleaning.
std::string ReadJwwRawString(TByteCursor& cursor);
// The string with control bytes dropped (StripControls). Throws TReadFailure past the end.
std::string ReadJwwString(TByteCursor& cursor);
// Moves past a string without making it. Throws TReadFailure past the end.
void SkipJwwString(TByteCursor& cursor);
