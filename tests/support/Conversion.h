#pragma once
// The engine's conversion for tests, benchmarks and fuzzers: a drawing in memory or on disk
// converted into a document in memory, and a made-up store written the same way.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Engine.h"
#include "figures/ConversionContext.h"

struct TConverted {
    TConversionResult Result;
    std::string Document;
};

// The drawing's bytes converted as `format` with `options` (dark background by default, as a
// batch starts).
TConverted ConvertDrawing(std::span<const std::byte> drawing, TInputFormat format, const TConversionOptions& options = {});
TConverted ConvertDrawing(const std::vector<uint8_t>& drawing, TInputFormat format,
                          const TConversionOptions& options = {});
// The file converted as its extension says, named after it as the file front end names it.
TConverted ConvertDrawingFile(const std::filesystem::path& input, TConversionOptions options = {});

// A COLLADA document without its <created> and <modified> lines (the times of writing).
std::string WithoutStamps(const std::string& document);
// How many times `part` occurs in `text`.
size_t CountOf(std::string_view text, std::string_view part);

// The context's store written as its options' format; empty when the writer fails.
std::string DocumentOf(const TConversionContext& context);
// The context's store written to `path` as the front ends write a document: safely (the old
// file stays on failure), keeping a replaced COLLADA document's creation stamp.
bool WriteDocumentFile(TConversionContext& context, const std::filesystem::path& path);
