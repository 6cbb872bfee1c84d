#include "engine/Engine.h"

#include <algorithm>
#include <exception>
#include <new>
#include <thread>

#include "drawing/Drawers.h"
#include "engine/DrawingNames.h"
#include "figures/ConversionContext.h"
#include "figures/Walkers.h"
#include "formats/jwc/jwcunit.h"
#include "formats/jwk/jwkunit.h"
#include "formats/jws/jwsunit.h"
#include "formats/jww/jwwunit.h"
#include "output/DocumentWriter.h"

namespace {

// What went wrong, in a few words, for a failure that is not a budget.
std::string FailureText(const std::exception& failure)
{
    if (dynamic_cast<const std::bad_alloc*>(&failure)) return std::string(kOutOfMemoryFailure);
    return failure.what();
}

}  // namespace

// The four readers and the context, kept from one file to the next so that a batch reuses
// their memory. Every file starts from the options alone: the store, the names and the
// readers are emptied, and the attribute table takes the options' background.
class TConversionSteps {
public:
    // `load` reads the drawing into the reader it is given (LoadBytes or LoadFile).
    template <class Load>
    TConversionResult Run(TInputFormat format, const TConversionOptions& options, TByteSink& document, Load load)
    {
        TConversionResult result;
        try {
            Start(options);
            switch (format) {
            case TInputFormat::Jwc: ReadAndWalk(jwc_, Cad() ? DrawJwc : WalkJwc, load, result); break;
            case TInputFormat::Jwk: ReadAndWalk(jwk_, Cad() ? DrawJwk : WalkJwk, load, result); break;
            case TInputFormat::Jww: ReadAndWalk(jww_, Cad() ? DrawJww : WalkJww, load, result); break;
            case TInputFormat::Jws: ReadAndWalk(jws_, Cad() ? DrawJws : WalkJws, load, result); break;
            case TInputFormat::None: result.Read = {TReadStatus::NotThisFormat, 0}; break;
            }
            result.BlocksCut = context_.BlocksCut;
            ClearReaders();  // the writers need only the store: the records' memory goes first
            result.Written = WriteDocument(context_, document);
            Count(result);
        } catch (const std::exception& failure) {
            result.Failure = FailureText(failure);
        } catch (...) {
            result.Failure = "unknown failure";
        }
        result.BackgroundAfter = static_cast<TBackground>(context_.Attributes.BackgroundMode());
        // The memory of this file goes back before the next one starts.
        context_.Store.ClearFigures();
        context_.Drawing = {};
        ClearReaders();
        return result;
    }

private:
    // A CAD document is written from the drawing's entities, not from Figures.
    bool Cad() const { return context_.Options.Format == TOutputFormat::Dxf; }

    void Start(const TConversionOptions& options)
    {
        context_.Options = options;
        context_.Store.ClearFigures();
        context_.Store.FigureBudget = options.FigureBudget != 0 ? options.FigureBudget : TFigureStore::kMaxFigures;
        context_.Store.CoordinateLimit = TFigureStore::CoordinateLimitFor(options.CoordinateScale);
        context_.BlocksCut = false;
        context_.Drawing = {};
        context_.Texts = {};
        context_.Heights = {};
        context_.Fonts.Begin(options.FontFile, options.FontData);
        // Names are this file's alone, also when it fails its signature check.
        context_.Names = TDrawingNames{};
        context_.Names.Drawing = options.DrawingName;
        context_.Attributes.SetBackground(static_cast<int32_t>(options.StartBackground()));
    }

    // Signature, load (a damaged file is converted as far as it was read), pen colours (the
    // file's own over the defaults), layer states, names, walk.
    template <class Data, class Load>
    void ReadAndWalk(Data& data, void (*walk)(Data&, TConversionContext&), Load& load, TConversionResult& result)
    {
        result.Read = load(data);  // checks the signature first
        if (result.Read.status == TReadStatus::NotThisFormat || result.Read.status == TReadStatus::Unreadable) return;
        result.SignatureMatched = true;
        context_.Attributes.ResetPenColors();
        data.ImportPens(context_.Attributes);
        data.LoadLayers(context_.Attributes);
        for (int layer = 0; layer < TgraAttribute::kLayerCount; ++layer)
            result.HiddenLayers[static_cast<size_t>(layer)] = context_.Attributes.LayerHidden(layer);
        result.DrawingScale = data.DrawingScale();
        ReadDrawingNames(data, context_.Names);
        try {
            walk(data, context_);
        } catch (const TFigureBudgetExceeded&) {
            result.BudgetReached = true;
        }
        // The marks' memory goes before the document is written.
        result.HeightsOutOfRange = context_.Heights.OutOfRange;
        context_.Heights = {};
    }

    void Count(TConversionResult& result) const
    {
        const TFigureStore& store = context_.Store;
        result.Segments = store.Segments;
        result.TextsWithoutFont = context_.Texts.WithoutFont;
        result.MissingGlyphs = context_.Texts.MissingGlyphs;
        result.TextsLeftOut = context_.Texts.LeftOut;
        result.Triangles = store.Triangles;
        result.Layers = static_cast<int>(std::count(store.LayersUsed.begin(), store.LayersUsed.end(), true));
        if (Cad()) CountDrawing(result);
    }

    void CountDrawing(TConversionResult& result) const
    {
        const drawing::TDrawing& d = context_.Drawing;
        result.Entities = d.model.Count();
        for (const drawing::TBlock& b : d.blocks) result.Entities += b.entities.Count();
        result.Layers = static_cast<int>(
            std::count_if(d.layers.begin(), d.layers.end(), [](const drawing::TLayer& l) { return l.used; }));
    }

    void ClearReaders()
    {
        jwc_.Clear();
        jwk_.Clear();
        jww_.Clear();
        jws_.Clear();
    }

    TConversionContext context_;
    TJwcData jwc_;
    TJwkData jwk_;
    TJwwData jww_;
    TJwsData jws_;
};

unsigned ThreadsForOneFile() { return std::clamp(std::thread::hardware_concurrency(), 1u, 8u); }

TEngine::TEngine() : steps_(std::make_unique<TConversionSteps>()) {}

TEngine::~TEngine() = default;

TConversionResult TEngine::Convert(std::span<const std::byte> drawing, TInputFormat format,
                                   const TConversionOptions& options, TByteSink& document)
{
    return steps_->Run(format, options, document, [drawing](auto& data) { return data.LoadBytes(drawing); });
}

TConversionResult TEngine::ConvertFile(const std::filesystem::path& path, TInputFormat format,
                                       const TConversionOptions& options, TByteSink& document)
{
    return steps_->Run(format, options, document, [&path](auto& data) { return data.LoadFile(path); });
}

TConversionResult Convert(std::span<const std::byte> drawing, TInputFormat format, const TConversionOptions& options,
                          TByteSink& document)
{
    TEngine engine;
    return engine.Convert(drawing, format, options, document);
}
