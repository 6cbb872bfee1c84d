#pragma once
// The conversion of one listed file into its document: the four readers and the step that
// runs a file through one of them into a conversion context, then writes the document.
// The batch owns one for its own context; every worker thread of a parallel batch owns
// another with a context of its own.
#include <filesystem>
#include <memory>

#include "app/BatchPaths.h"
#include "app/FormView.h"
#include "figures/ConversionContext.h"

class TJwcData;
class TJwkData;
class TJwwData;
class TJwsData;

class TFileConverter {
public:
    TFileConverter();
    ~TFileConverter();
    TFileConverter(const TFileConverter&) = delete;
    TFileConverter& operator=(const TFileConverter&) = delete;

    // Converts `path` (read as `format`) into `context` and writes its document to `output`.
    // Whatever converting throws is caught and noted in the outcome, so that it costs only
    // this file. The store and the readers are emptied afterwards; the attribute table keeps
    // what the file set (the background mode a JWW drawing chose carries over).
    TFileOutcome ConvertAndWrite(TConversionContext& context, TInputFormat format, const std::filesystem::path& path,
                                 const std::filesystem::path& output);

private:
    void ConvertFile(TConversionContext& context, TInputFormat format, const std::filesystem::path& path,
                     TFileOutcome& outcome);
    void ClearReaders();

    std::unique_ptr<TJwcData> jwc_;
    std::unique_ptr<TJwkData> jwk_;
    std::unique_ptr<TJwwData> jww_;
    std::unique_ptr<TJwsData> jws_;
};

// The batch's settings (options, coordinate factor and limit, figure budget) of `from`,
// given to a context of its own.
void CopyBatchSettings(const TConversionContext& from, TConversionContext& to);
