#include "app/Unit1.h"

#include <chrono>
#include <exception>
#include <new>
#include <system_error>

#include "app/ControlsTable.h"
#include "app/DrawingNames.h"
#include "app/Options.h"
#include "app/SettingsFile.h"
#include "app/SettingsLocation.h"
#include "app/StatusTexts.h"
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

constexpr std::chrono::milliseconds kPumpBeforeFile{100};

// One file through one reader: signature, load (a damaged file is converted as far as it was
// read), pen colours (the file's own over the defaults), layer states, walk. Notes in
// `outcome` how the load went (a file without the signature is not loaded: NotThisFormat)
// and whether the walk stopped at the figure budget.
template <class Data>
void ConvertWith(Data& data, void (*walk)(Data&, TConversionContext&), const fs::path& path,
                 TConversionContext& context, TFileOutcome& outcome)
{
    outcome.Read = {TReadStatus::NotThisFormat, 0};
    if (!data.CheckSignature(path)) return;
    outcome.Read = data.LoadFile(path);
    outcome.SignatureMatched = true;
    context.Attributes.ResetPenColors();
    data.ImportPens(context.Attributes);
    data.LoadLayers(context.Attributes);
    context.Names.Groups.fill(std::string());
    context.Names.Layers.fill(std::string());
    context.Names.Drawing = Utf8Of(path.stem());
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

}  // namespace

TForm1::TForm1(TFormView& view) : view_(view), form2_(view) {}

TForm1::~TForm1() = default;

void TForm1::FormShow(const std::vector<fs::path>& arguments)
{
    busy_ = false;
    cancelRequested_ = false;

    view_.AcceptDrops(true);

    const fs::path executable = view_.ExecutablePath();
    exeFolder_ = FolderOf(executable);
    settingsPath_ = SettingsLocationOfProcess(executable);

    TControlsState controls;
    ReadSettings(settingsPath_, controls);
    view_.SetControls(controls);

    jwc_ = std::make_unique<TJwcData>();
    jwk_ = std::make_unique<TJwkData>();
    jww_ = std::make_unique<TJwwData>();
    jws_ = std::make_unique<TJwsData>();
    context_ = std::make_unique<TConversionContext>();
    context_->Attributes.SetBackground(1);  // black background, white default pen
    context_->Attributes.ResetPenColors();

    // Command-line intake: the paths exactly as passed.
    fileList_.clear();
    for (const fs::path& argument : arguments) Intake(argument, fileList_);

    if (!fileList_.empty()) RunBatch();

    // Started with arguments: the program ends after converting them, even when none was
    // accepted, through the normal close (which writes the settings).
    if (!arguments.empty()) view_.CloseMainWindow();
}

void TForm1::Intake(const fs::path& path, std::vector<fs::path>& list)
{
    switch (CheckIntake(path)) {
    case TIntake::Accepted: list.push_back(path); break;
    case TIntake::Empty: break;
    case TIntake::WrongExtension: view_.PathSkipped(path, TFormView::TSkip::WrongExtension); break;
    case TIntake::Missing: view_.PathSkipped(path, TFormView::TSkip::Missing); break;
    }
}

void TForm1::AcceptDroppedFiles(const std::vector<fs::path>& paths)
{
    if (closed_ || !context_) return;
    if (busy_) {
        // The running batch walks fileList_; this drop waits for it to end.
        for (const fs::path& path : paths) Intake(path, queuedDrops_);
        return;
    }
    fileList_.clear();
    for (const fs::path& path : paths) Intake(path, fileList_);
    if (!fileList_.empty()) RunBatch();
}

void TForm1::RunBatch()
{
    if (busy_ || closed_ || !context_) return;
    for (;;) {
        RunOneBatch();
        if (closeDeferred_) {
            queuedDrops_.clear();
            FormClose();
            return;
        }
        if (cancelRequested_) queuedDrops_.clear();
        if (queuedDrops_.empty()) return;
        fileList_ = std::move(queuedDrops_);
        queuedDrops_.clear();
    }
}

void TForm1::RunOneBatch()
{
    busy_ = true;
    cancelRequested_ = false;

    TControlsState controls = view_.GetControls();
    overrides_.ApplyTo(controls);
    fs::path outputFolder;
    bool useSourceFolder = false;
    ChooseOutputFolder(controls, outputFolder, useSourceFolder);

    ReadOptions();

    form2_.Show();
    form2_.Clear();

    const size_t count = fileList_.size();
    for (size_t i = 0; i < count; ++i) {
        if (view_.EscapeDown()) cancelRequested_ = true;
        if (cancelRequested_) break;

        const fs::path& path = fileList_[i];
        const TInputFormat format = InputFormatOf(path);
        if (format == TInputFormat::None) continue;

        form2_.Append(path);
        view_.PumpMessagesFor(kPumpBeforeFile);

        if (useSourceFolder) outputFolder = FolderOf(path);
        const fs::path output = OutputPathFor(outputFolder, path, OutputExtensionOf(context_->Options.Format));

        view_.SetStatusText(ConvertingStatusText(i + 1, count, path));

        view_.FileDone(ConvertAndWrite(format, path, output));

        view_.PumpMessagesOnce();
    }

    context_->Store.ClearFigures();
    form2_.Hide();
    view_.SetStatusText(cancelRequested_ ? std::string(kStoppedStatusText) : FinishedStatusText(count));
    busy_ = false;
}

void TForm1::ChooseOutputFolder(const TControlsState& controls, fs::path& folder, bool& useSourceFolder)
{
    useSourceFolder = false;
    if (controls.RadioButton1 || controls.RadioButton2) {
        folder = view_.SpecialFolder(controls.RadioButton1 ? TSpecialFolder::Desktop : TSpecialFolder::MyDocuments);
        // A platform without such a folder answers empty: write beside each input rather
        // than into the root of the file system.
        if (folder.empty()) useSourceFolder = true;
        else folder = WithTrailingSeparator(folder);
    } else if (controls.RadioButton3) {
        useSourceFolder = true;
    } else {
        const fs::path given = PathFromNarrow(controls.Edit1);
        std::error_code error;
        if (given.empty() || !fs::is_directory(given, error)) {
            useSourceFolder = true;
            view_.GivenFolderMissing(controls.Edit1);
        } else {
            folder = WithTrailingSeparator(given);
        }
    }
}

void TForm1::ReadOptions()
{
    if (!context_) return;
    TControlsState shown = view_.GetControls();
    TControlsState used = shown;
    overrides_.ApplyTo(used);
    TControlsState clamped = used;
    ::ReadOptions(clamped, context_->Options, context_->CoordinateScale);
    context_->Store.CoordinateLimit = TFigureStore::CoordinateLimitFor(context_->CoordinateScale);

    // The window shows the clamped value of every box the run's overrides left alone.
    for (const TControlEntry& entry : kControlsTable) {
        if (entry.Kind != TControlKind::Count && entry.Kind != TControlKind::Number) continue;
        if (used.*entry.Text == shown.*entry.Text) shown.*entry.Text = clamped.*entry.Text;
    }
    view_.SetControls(shown);
}

TFileOutcome TForm1::ConvertAndWrite(TInputFormat format, const fs::path& path, const fs::path& output)
{
    TFileOutcome outcome{path, output};
    try {
        context_->Store.ClearFigures();
        context_->BlocksCut = false;
        if (background_) context_->Attributes.SetBackground(*background_);
        ConvertFile(format, path, outcome);
        outcome.BlocksCut = context_->BlocksCut;
        ClearReaders();  // the writers need only the store: the records' memory goes first
        outcome.Written = WriteDocument(output);
    } catch (const std::exception& failure) {
        outcome.Failure = FailureText(failure);
    } catch (...) {
        outcome.Failure = "unknown failure";
    }
    // The memory of this file goes back before the next one starts.
    context_->Store.ClearFigures();
    ClearReaders();
    return outcome;
}

void TForm1::ConvertFile(TInputFormat format, const fs::path& path, TFileOutcome& outcome)
{
    switch (format) {
    case TInputFormat::Jwc: return ConvertWith(*jwc_, WalkJwc, path, *context_, outcome);
    case TInputFormat::Jwk: return ConvertWith(*jwk_, WalkJwk, path, *context_, outcome);
    case TInputFormat::Jww: return ConvertWith(*jww_, WalkJww, path, *context_, outcome);
    case TInputFormat::Jws: return ConvertWith(*jws_, WalkJws, path, *context_, outcome);
    case TInputFormat::None: break;
    }
}

bool TForm1::WriteDocument(const fs::path& output)
{
    // The writers absorb their own failures (the old document stays); they answer whether
    // the new document was written.
    switch (context_->Options.Format) {
    case TOutputFormat::DaeCompact: return WriteColladaCompact(*context_, output);
    case TOutputFormat::Glb: return WriteGltf(*context_, output);
    case TOutputFormat::Dae: break;
    }
    return WriteCollada(*context_, output);
}

void TForm1::ClearReaders()
{
    jwc_->Clear();
    jwk_->Clear();
    jww_->Clear();
    jws_->Clear();
}

bool TForm1::FormCloseQuery()
{
    if (busy_) {
        cancelRequested_ = true;
        return false;
    }
    return true;
}

void TForm1::FormClose()
{
    if (closed_) return;
    if (busy_) {
        cancelRequested_ = true;
        closeDeferred_ = true;
        return;
    }
    closed_ = true;
    fileList_.clear();
    jwc_.reset();
    jwk_.reset();
    jww_.reset();
    jws_.reset();
    context_.reset();
    if (!settingsPath_.empty()) {
        CreateSettingsFolder(settingsPath_);  // the user's configuration folder on first use
        WriteSettings(settingsPath_, view_.GetControls());
    }
}

void TForm1::BrowseFolder()
{
    TControlsState controls = view_.GetControls();
    fs::path initial = PathFromNarrow(controls.Edit1);
    std::error_code error;
    if (initial.empty() || !fs::is_directory(initial, error)) initial = exeFolder_;

    fs::path chosen;
    if (!view_.BrowseForFile(initial, chosen)) return;
    controls.Edit1 = NarrowFromPath(FolderOf(chosen));
    view_.SetControls(controls);
}
