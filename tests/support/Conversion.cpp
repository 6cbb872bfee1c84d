#include "support/Conversion.h"

#include <algorithm>

#include "app/DocumentFile.h"
#include "output/DocumentWriter.h"
#include "util/FileSink.h"
#include "support/TempDir.h"

TConverted ConvertDrawing(std::span<const std::byte> drawing, TInputFormat format, const TConversionOptions& options)
{
    TConverted converted;
    TMemorySink sink;
    converted.Result = Convert(drawing, format, options, sink);
    converted.Document = std::move(sink.Bytes);
    return converted;
}

TConverted ConvertDrawing(const std::vector<uint8_t>& drawing, TInputFormat format, const TConversionOptions& options)
{
    return ConvertDrawing(std::as_bytes(std::span(drawing)), format, options);
}

TConverted ConvertDrawingFile(const std::filesystem::path& input, TConversionOptions options)
{
    if (options.DrawingName.empty()) options.DrawingName = input.stem().string();
    const std::string bytes = ReadFileBytes(input);
    return ConvertDrawing(std::as_bytes(std::span(bytes)), InputFormatOf(input), options);
}

std::string WithoutStamps(const std::string& document)
{
    std::string kept;
    for (size_t start = 0, end; start < document.size(); start = end) {
        end = std::min(document.find('\n', start), document.size() - 1) + 1;
        const std::string_view line(document.data() + start, end - start);
        if (line.find("<created>") == line.npos && line.find("<modified>") == line.npos) kept += line;
    }
    return kept;
}

size_t CountOf(std::string_view text, std::string_view part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

std::string DocumentOf(const TConversionContext& context)
{
    TMemorySink sink;
    return WriteDocument(context, sink) ? std::move(sink.Bytes) : std::string();
}

bool WriteDocumentFile(TConversionContext& context, const std::filesystem::path& path)
{
    context.Options = KeepingCreationStamp(context.Options, path);
    TFileSink file(path);
    return WriteDocument(context, file) && file.Commit();
}
