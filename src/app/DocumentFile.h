#pragma once
// A drawing converted into a document file, safely: the document goes to a temporary file
// that replaces the old one only when it is whole, so a failed conversion or write (memory,
// a full disk, a file-size limit) leaves the file already there byte for byte.
#include <filesystem>

#include "engine/Engine.h"

// Converts the drawing at `input` with `engine` and writes its document to `output`. The
// document is named after the input (the glTF root node); a COLLADA document keeps the
// creation stamp of the one it replaces. Written is true only once the new file stands.
// `options` for a document that replaces the file at `output`: a COLLADA document keeps the
// creation stamp of the one it replaces.
TConversionOptions KeepingCreationStamp(TConversionOptions options, const std::filesystem::path& output);

TConversionResult ConvertToFile(TEngine& engine, const std::filesystem::path& input, TInputFormat format,
                                TConversionOptions options, const std::filesystem::path& output);
