#pragma once
// The engine: one drawing in, one document out.
//
//   DetectFormat(bytes) / InputFormatOf(path)      which format a file is (engine/InputFormat.h)
//   MakeOptions(request)                           clamped options from what a user typed
//                                                  (engine/OptionRequest.h)
//   Convert(drawing, format, options, document)    reads the drawing's bytes as `format`, takes
//                                                  its pens, layer states and names, walks it
//                                                  into Figures and writes the document in
//                                                  options.Format into the sink
//   TEngine                                        the same, keeping its memory between calls
//                                                  (a batch converts many files with one)
//
// Bad input never throws and never reads out of bounds:
//   - bytes without the format's signature: nothing is read, and the document is written
//     without geometry (SignatureMatched false);
//   - a damaged or cut file: what was read before the damage is converted, and Read tells
//     the status and the byte offset where reading stopped;
//   - a file past the figure budget or the block expansion's bounds: converted as far as
//     they allow (BudgetReached, BlocksCut);
//   - running out of memory, or any other failure: Failure says what, and the sink holds an
//     unfinished document that the caller discards.
// The sink is written only through its Write; whether it holds a whole document is Written.
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "engine/ConversionOptions.h"
#include "engine/InputFormat.h"
#include "formats/ReadResult.h"
#include "util/ByteSink.h"

struct [[nodiscard]] TConversionResult {
    // How reading went: its status and the byte where reading stopped. Unreadable when a file
    // could not be opened or read (ConvertFile only); NotThisFormat when the signature failed.
    TReadResult Read;
    bool SignatureMatched = false;  // false: nothing was read, the document holds no geometry
    bool BudgetReached = false;     // the walk stopped at the figure budget
    bool BlocksCut = false;         // block placements past the expansion's bounds were left out
    bool Written = false;           // the whole document went into the sink
    // Converting failed as a whole (memory ran out, ...); empty when it went through.
    std::string Failure;

    // What the document holds.
    size_t Segments = 0;
    size_t Triangles = 0;  // a filled quadrilateral counts two
    int Layers = 0;        // layers with at least one Figure (DXF: with an entity)
    size_t Entities = 0;   // DXF: the entities written, in model space and in blocks

    // The drawing's texts: left out for want of a font, characters the font lacks (drawn as
    // their boxes), and texts not converted because the options leave texts out.
    size_t TextsWithoutFont = 0;
    size_t MissingGlyphs = 0;
    size_t TextsLeftOut = 0;
    // Height texts beyond 10,000 m, up or down, that marked nothing (with heights read).
    size_t HeightsOutOfRange = 0;

    // What the drawing says of itself, for front ends that build on the document: its scale
    // (drawing millimetres per paper millimetre, the factor the walk multiplied every
    // coordinate by; 1 for symbol files and files not read) and the layers it hides (layer
    // g * 16 + n, hidden by its own state or its group's).
    double DrawingScale = 1.0;
    std::bitset<jw::kLayerCount> HiddenLayers;

    // The background mode the file leaves for the file after it (a JWW drawing may change it).
    TBackground BackgroundAfter = TBackground::Dark;

    // True when the file went through whole: complete read, whole walk, whole document.
    bool Clean() const { return static_cast<bool>(Read) && !BudgetReached && !BlocksCut && Failure.empty() && Written; }
};

// The Failure text of a conversion that ran out of memory.
inline constexpr std::string_view kOutOfMemoryFailure = "out of memory";

// The threads one file converted on its own may use: every core, up to 8 (more gain little).
unsigned ThreadsForOneFile();

struct TConversionContext;
class TConversionSteps;

class TEngine {
public:
    TEngine();
    ~TEngine();
    TEngine(const TEngine&) = delete;
    TEngine& operator=(const TEngine&) = delete;

    // Converts the drawing held in memory.
    TConversionResult Convert(std::span<const std::byte> drawing, TInputFormat format,
                              const TConversionOptions& options, TByteSink& document);
    // Converts the drawing at `path`, read a window at a time (never held whole).
    TConversionResult ConvertFile(const std::filesystem::path& path, TInputFormat format,
                                  const TConversionOptions& options, TByteSink& document);

private:
    std::unique_ptr<TConversionSteps> steps_;
};

// Convert with an engine of its own.
TConversionResult Convert(std::span<const std::byte> drawing, TInputFormat format, const TConversionOptions& options,
                          TByteSink& document);
