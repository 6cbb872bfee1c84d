#include "app/FileConverter.h"

#include <exception>
#include <new>

#include "app/DrawingNames.h"
#include "figures/Walkers.h"
#include "formats/jwc/jwcunit.h"
#include "formats/jwk/jwkunit.h"
#include "formats/jws/jwsunit.h"
#include "formats/jww/jwwunit.h"
#include "output/ColladaCompactWriter.h"
#include "output/ColladaWriter.h"
#include "output/GltfWriter.h"

namespace fs = std::filesystem;

namespace {

// One file through one reader: signature, load (a damaged file is converted as far as it was
// read), pen colours (the file's own over the defaults), layer states, walk. Notes in
// `outcome` how the load went (a file without the signature is not loaded: NotThisFormat)
// and whether the walk stopped at the figure budget.
template <class Data>
void ConvertWith(Data& data, void (*walk)(Data&, TConversionContext&), const fs::path& path,
                 TConversionContext& context, TFileOutcome& outcome)
{
    outcome.Read = data.LoadFile(path);  // checks the signature first, in the same opening
    if (outcome.Read.status == TReadStatus::NotThisFormat || outcome.Read.status == TReadStatus::Unreadable) {
        outcome.Read = {TReadStatus::NotThisFormat, 0};  // a file that cannot be read has no signature either
        return;
    }
    outcome.SignatureMatched = true;
    context.Attributes.ResetPenColors();
    data.ImportPens(context.Attributes);
    data.LoadLayers(context.Attributes);
    ReadDrawingNames(data, context.Names);
    try {
        walk(data, context);
    } catch (const TFigureBudgetExceeded&) {
        outcome.BudgetReached = true;
    }
}

// What went wrong, in a few words, for a failure that is not a budget.
std::string FailureText(const std::exception& failure)
{
    if (dynamic_cast<const std::bad_alloc*>(&failure)) return "out of memory";
    return failure.what();
}

// Writes the store; true when the document is on disk afterwards. The writers absorb their
// own failures (the old document stays).
bool WriteDocument(TConversionContext& context, const fs::path& output)
{
    switch (context.Options.Format) {
    case TOutputFormat::DaeCompact: return WriteColladaCompact(context, output);
    case TOutputFormat::Glb: return WriteGltf(context, output);
    case TOutputFormat::Dae: break;
    }
    return WriteCollada(context, output);
}

}  // namespace

TFileConverter::TFileConverter()
    : jwc_(std::make_unique<TJwcData>()), jwk_(std::make_unique<TJwkData>()), jww_(std::make_unique<TJwwData>()),
      jws_(std::make_unique<TJwsData>())
{
}

TFileConverter::~TFileConverter() = default;

TFileOutcome TFileConverter::ConvertAndWrite(TConversionContext& context, TInputFormat format, const fs::path& path,
                                             const fs::path& output)
{
    TFileOutcome outcome;
    outcome.Input = path;
    outcome.Output = output;
    try {
        context.Store.ClearFigures();
        context.BlocksCut = false;
        // Names are this file's alone, also when it fails its signature check: a document
        // never carries the names of the drawing converted before it.
        context.Names = TDrawingNames{};
        context.Names.Drawing = Utf8Of(path.stem());
        ConvertFile(context, format, path, outcome);
        outcome.BlocksCut = context.BlocksCut;
        ClearReaders();  // the writers need only the store: the records' memory goes first
        outcome.Written = WriteDocument(context, output);
    } catch (const std::exception& failure) {
        outcome.Failure = FailureText(failure);
    } catch (...) {
        outcome.Failure = "unknown failure";
    }
    // The memory of this file goes back before the next one starts.
    context.Store.ClearFigures();
    ClearReaders();
    return outcome;
}

void TFileConverter::ConvertFile(TConversionContext& context, TInputFormat format, const fs::path& path,
                                 TFileOutcome& outcome)
{
    switch (format) {
    case TInputFormat::Jwc: return ConvertWith(*jwc_, WalkJwc, path, context, outcome);
    case TInputFormat::Jwk: return ConvertWith(*jwk_, WalkJwk, path, context, outcome);
    case TInputFormat::Jww: return ConvertWith(*jww_, WalkJww, path, context, outcome);
    case TInputFormat::Jws: return ConvertWith(*jws_, WalkJws, path, context, outcome);
    case TInputFormat::None: break;
    }
}

void TFileConverter::ClearReaders()
{
    jwc_->Clear();
    jwk_->Clear();
    jww_->Clear();
    jws_->Clear();
}

void CopyBatchSettings(const TConversionContext& from, TConversionContext& to)
{
    to.Options = from.Options;
    to.CoordinateScale = from.CoordinateScale;
    to.Store.CoordinateLimit = from.Store.CoordinateLimit;
    to.Store.FigureBudget = from.Store.FigureBudget;
}
