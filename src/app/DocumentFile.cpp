#include "app/DocumentFile.h"

#include "app/BatchPaths.h"
#include "output/ColladaStamp.h"
#include "util/FileSink.h"

TConversionOptions KeepingCreationStamp(TConversionOptions options, const std::filesystem::path& output)
{
    if (options.Format == TOutputFormat::Dae || options.Format == TOutputFormat::DaeCompact)
        options.CreationStamp = ReadCreationStamp(output);
    return options;
}

TConversionResult ConvertToFile(TEngine& engine, const std::filesystem::path& input, TInputFormat format,
                                TConversionOptions options, const std::filesystem::path& output)
{
    options.DrawingName = Utf8Of(input.stem());
    TFileSink file(output);
    TConversionResult result = engine.ConvertFile(input, format, KeepingCreationStamp(options, output), file);
    // A document that did not go whole into the file, or a failed conversion, never replaces
    // the old one.
    result.Written = result.Written && result.Failure.empty() && file.Commit();
    return result;
}
