// The C interface (include/tessaro.h) over the engine. Every entry point catches whatever the
// engine or an allocation throws and answers with a status instead: nothing unwinds into C.
#include "tessaro.h"

#include <cstddef>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "engine/Engine.h"
#include "engine/OptionRequest.h"
#include "engine/OptionWords.h"
#include "util/ByteSink.h"

struct tessaro_options {
    TOptionRequest Request;
    TBackground Carried = TBackground::Dark;
    unsigned Threads = 1;
    std::shared_ptr<const std::vector<unsigned char>> Font;  // shared, never changed once set
};

struct tessaro_engine {
    TEngine Engine;
};

struct tessaro_document {
    TMemorySink Sink;
    TConversionResult Result;
};

namespace {


std::optional<TInputFormat> EngineFormatOf(tessaro_format format, std::span<const std::byte> bytes)
{
    switch (format) {
    case TESSARO_FORMAT_AUTO: return DetectFormat(bytes);
    case TESSARO_FORMAT_JWW: return TInputFormat::Jww;
    case TESSARO_FORMAT_JWS: return TInputFormat::Jws;
    case TESSARO_FORMAT_JWC: return TInputFormat::Jwc;
    case TESSARO_FORMAT_JWK: return TInputFormat::Jwk;
    }
    return std::nullopt;
}

tessaro_status StatusOf(TReadStatus status)
{
    switch (status) {
    case TReadStatus::Complete: return TESSARO_OK;
    case TReadStatus::Damaged: return TESSARO_DAMAGED;
    case TReadStatus::NotThisFormat: return TESSARO_NOT_THIS_FORMAT;
    case TReadStatus::Unsupported: return TESSARO_UNSUPPORTED_VERSION;
    case TReadStatus::TooLarge: return TESSARO_TOO_LARGE;
    case TReadStatus::Unreadable: break;  // only for files, which this interface never opens
    }
    return TESSARO_FAILED;
}

// The conversion's status: a failure as a whole first, then how reading went, then the limits.
tessaro_status StatusOf(const TConversionResult& result)
{
    if (!result.Failure.empty()) return result.Failure == kOutOfMemoryFailure ? TESSARO_OUT_OF_MEMORY : TESSARO_FAILED;
    if (!result.Written) return TESSARO_FAILED;
    if (const tessaro_status read = StatusOf(result.Read.status); read != TESSARO_OK) return read;
    return result.BudgetReached || result.BlocksCut ? TESSARO_LIMIT_REACHED : TESSARO_OK;
}

TConversionOptions ConversionOptionsOf(const tessaro_options* options, const char* drawingName)
{
    const tessaro_options defaults;
    const tessaro_options& given = options != nullptr ? *options : defaults;
    TConversionOptions made = MakeOptions(given.Request);
    made.CarriedBackground = given.Carried;
    made.Threads = given.Threads != 0 ? given.Threads : ThreadsForOneFile();
    made.FontData = given.Font;
    if (drawingName != nullptr) made.DrawingName = drawingName;
    return made;
}

// Converts with `engine`, or with an engine of its own when it is null.
tessaro_status Convert(tessaro_engine* engine, const void* bytes, size_t size, tessaro_format format,
                       const tessaro_options* options, const char* drawingName, tessaro_document** document)
{
    if (document == nullptr) return TESSARO_INVALID_ARGUMENT;
    *document = nullptr;
    if (bytes == nullptr) return TESSARO_INVALID_ARGUMENT;
    const std::span<const std::byte> drawing(static_cast<const std::byte*>(bytes), size);
    const std::optional<TInputFormat> input = EngineFormatOf(format, drawing);
    if (!input) return TESSARO_INVALID_ARGUMENT;
    try {
        const TConversionOptions made = ConversionOptionsOf(options, drawingName);
        auto result = std::make_unique<tessaro_document>();
        std::unique_ptr<tessaro_engine> own;
        if (engine == nullptr) engine = (own = std::make_unique<tessaro_engine>()).get();
        result->Result = engine->Engine.Convert(drawing, *input, made, result->Sink);
        const tessaro_status status = StatusOf(result->Result);
        // The sink of a failed conversion holds an unfinished document: it is never handed out.
        if (status != TESSARO_OUT_OF_MEMORY && status != TESSARO_FAILED) *document = result.release();
        return status;
    } catch (const std::bad_alloc&) {
        return TESSARO_OUT_OF_MEMORY;
    } catch (...) {
        return TESSARO_FAILED;
    }
}

}  // namespace

extern "C" {

tessaro_options* tessaro_options_new(void) { return new (std::nothrow) tessaro_options(); }

void tessaro_options_free(tessaro_options* options) { delete options; }

tessaro_status tessaro_options_set(tessaro_options* options, const char* name, const char* value)
{
    if (options == nullptr || name == nullptr || value == nullptr) return TESSARO_INVALID_ARGUMENT;
    try {
        if (!IsOptionWord(name)) return TESSARO_UNKNOWN_OPTION;
        std::vector<TRequestChange> changes;
        if (!ReadOptionWord(name, value, changes).empty()) return TESSARO_BAD_OPTION_VALUE;
        TOptionRequest changed = options->Request;  // the options change only once all is read
        for (const TRequestChange& change : changes) change(changed);
        options->Request = std::move(changed);
        return TESSARO_OK;
    } catch (const std::bad_alloc&) {
        return TESSARO_OUT_OF_MEMORY;
    } catch (...) {
        return TESSARO_FAILED;
    }
}

tessaro_status tessaro_options_set_carried_background(tessaro_options* options, tessaro_background background)
{
    if (options == nullptr || (background != TESSARO_BACKGROUND_LIGHT && background != TESSARO_BACKGROUND_DARK)) {
        return TESSARO_INVALID_ARGUMENT;
    }
    options->Carried = background == TESSARO_BACKGROUND_LIGHT ? TBackground::Light : TBackground::Dark;
    return TESSARO_OK;
}

tessaro_status tessaro_options_set_threads(tessaro_options* options, unsigned threads)
{
    if (options == nullptr) return TESSARO_INVALID_ARGUMENT;
    options->Threads = threads;
    return TESSARO_OK;
}

tessaro_status tessaro_options_set_font_data(tessaro_options* options, const void* bytes, size_t size)
{
    if (options == nullptr || (bytes == nullptr && size != 0)) return TESSARO_INVALID_ARGUMENT;
    try {
        const auto* first = static_cast<const unsigned char*>(bytes);
        options->Font = size == 0 ? nullptr : std::make_shared<const std::vector<unsigned char>>(first, first + size);
        return TESSARO_OK;
    } catch (const std::bad_alloc&) {
        return TESSARO_OUT_OF_MEMORY;
    }
}

tessaro_status tessaro_convert(const void* bytes, size_t size, tessaro_format format, const tessaro_options* options,
                               const char* drawing_name, tessaro_document** document)
{
    return Convert(nullptr, bytes, size, format, options, drawing_name, document);
}

tessaro_engine* tessaro_engine_new(void)
{
    try {
        return new tessaro_engine();
    } catch (...) {
        return nullptr;
    }
}

void tessaro_engine_free(tessaro_engine* engine) { delete engine; }

tessaro_status tessaro_engine_convert(tessaro_engine* engine, const void* bytes, size_t size, tessaro_format format,
                                      const tessaro_options* options, const char* drawing_name,
                                      tessaro_document** document)
{
    if (engine == nullptr) {
        if (document != nullptr) *document = nullptr;
        return TESSARO_INVALID_ARGUMENT;
    }
    return Convert(engine, bytes, size, format, options, drawing_name, document);
}

void tessaro_document_free(tessaro_document* document) { delete document; }

const void* tessaro_document_bytes(const tessaro_document* document)
{
    return document != nullptr ? document->Sink.Bytes.data() : nullptr;
}

size_t tessaro_document_size(const tessaro_document* document)
{
    return document != nullptr ? document->Sink.Bytes.size() : 0;
}

tessaro_status tessaro_document_read_status(const tessaro_document* document)
{
    return document != nullptr ? StatusOf(document->Result.Read.status) : TESSARO_INVALID_ARGUMENT;
}

size_t tessaro_document_read_offset(const tessaro_document* document)
{
    return document != nullptr ? document->Result.Read.offset : 0;
}

int tessaro_document_budget_reached(const tessaro_document* document)
{
    return document != nullptr && document->Result.BudgetReached ? 1 : 0;
}

int tessaro_document_blocks_cut(const tessaro_document* document)
{
    return document != nullptr && document->Result.BlocksCut ? 1 : 0;
}

size_t tessaro_document_segments(const tessaro_document* document)
{
    return document != nullptr ? document->Result.Segments : 0;
}

size_t tessaro_document_triangles(const tessaro_document* document)
{
    return document != nullptr ? document->Result.Triangles : 0;
}

size_t tessaro_document_texts_without_font(const tessaro_document* document)
{
    return document != nullptr ? document->Result.TextsWithoutFont : 0;
}

size_t tessaro_document_missing_glyphs(const tessaro_document* document)
{
    return document != nullptr ? document->Result.MissingGlyphs : 0;
}

size_t tessaro_document_heights_out_of_range(const tessaro_document* document)
{
    return document != nullptr ? document->Result.HeightsOutOfRange : 0;
}

size_t tessaro_document_texts_left_out(const tessaro_document* document)
{
    return document != nullptr ? document->Result.TextsLeftOut : 0;
}

int tessaro_document_layers(const tessaro_document* document)
{
    return document != nullptr ? document->Result.Layers : 0;
}

double tessaro_document_drawing_scale(const tessaro_document* document)
{
    return document != nullptr ? document->Result.DrawingScale : 1.0;
}

int tessaro_document_layer_hidden(const tessaro_document* document, int layer)
{
    if (document == nullptr || layer < 0 || static_cast<size_t>(layer) >= document->Result.HiddenLayers.size()) return 0;
    return document->Result.HiddenLayers[static_cast<size_t>(layer)] ? 1 : 0;
}

tessaro_background tessaro_document_background_after(const tessaro_document* document)
{
    return document != nullptr && document->Result.BackgroundAfter == TBackground::Light ? TESSARO_BACKGROUND_LIGHT
                                                                                          : TESSARO_BACKGROUND_DARK;
}

const char* tessaro_status_text(tessaro_status status)
{
    switch (status) {
    case TESSARO_OK: return "ok";
    case TESSARO_NOT_THIS_FORMAT: return "not this format";
    case TESSARO_DAMAGED: return "damaged";
    case TESSARO_UNSUPPORTED_VERSION: return "unsupported version";
    case TESSARO_TOO_LARGE: return "too large";
    case TESSARO_LIMIT_REACHED: return "limit reached";
    case TESSARO_INVALID_ARGUMENT: return "invalid argument";
    case TESSARO_UNKNOWN_OPTION: return "unknown option";
    case TESSARO_BAD_OPTION_VALUE: return "bad option value";
    case TESSARO_OUT_OF_MEMORY: return "out of memory";
    case TESSARO_FAILED: return "failed";
    }
    return "unknown status";
}

const char* tessaro_version(void) { return TESSARO_VERSION; }

}  // extern "C"
