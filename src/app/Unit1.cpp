#include "app/Unit1.h"

#include <algorithm>
#include <chrono>
#include <system_error>
#include <thread>

#include "app/ControlsTable.h"
#include "app/Options.h"
#include "app/SettingsFile.h"
#include "app/SettingsLocation.h"
#include "app/StatusTexts.h"
#include "app/FileConverter.h"
#include "app/ParallelBatch.h"

namespace fs = std::filesystem;

namespace {

constexpr std::chrono::milliseconds kPumpBeforeFile{100};

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

    converter_ = std::make_unique<TFileConverter>();
    context_ = std::make_unique<TConversionContext>();
    context_->Attributes.SetBackground(1);  // black background, white default pen
    context_->Attributes.ResetPenColors();
    // One file at a time: its arcs and document may be worked out on every core.
    context_->Threads = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);

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

    const std::vector<TBatchJob> jobs = PlanJobs(outputFolder, useSourceFolder);
    std::unique_ptr<TParallelBatch> workers = StartWorkers(jobs);
    const size_t count = fileList_.size();
    for (size_t i = 0; i < count; ++i) {
        if (view_.EscapeDown()) cancelRequested_ = true;
        if (cancelRequested_ && !workers) break;

        const TBatchJob& job = jobs[i];
        if (job.Format == TInputFormat::None) continue;

        // Workers report a file once it is converted; one a worker started is reported even
        // after a stop, and the table takes the background it left, as in a run in order.
        std::optional<TFileOutcome> converted;
        if (workers) {
            converted = TakeFromWorkers(*workers, i);
            if (!converted) break;
            context_->Attributes.SetBackground(workers->Job(i).BackgroundAfter);
        }

        form2_.Append(job.Input);
        view_.PumpMessagesFor(kPumpBeforeFile);
        view_.SetStatusText(ConvertingStatusText(i + 1, count, job.Input));
        view_.FileDone(converted ? *converted : ConvertAndWrite(job.Format, job.Input, job.Output));
        view_.PumpMessagesOnce();
    }
    workers.reset();

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
    if (background_) context_->Attributes.SetBackground(*background_);
    return converter_->ConvertAndWrite(*context_, format, path, output);
}

void TForm1::SetOneRunJobs(unsigned jobs)
{
    jobs_ = jobs != 0 ? jobs : std::max(1u, std::thread::hardware_concurrency());
}

std::vector<TBatchJob> TForm1::PlanJobs(const fs::path& outputFolder, bool useSourceFolder) const
{
    const std::string_view extension = OutputExtensionOf(context_->Options.Format);
    std::vector<fs::path> outputs;
    outputs.reserve(fileList_.size());
    for (const fs::path& path : fileList_)
        outputs.push_back(OutputPathFor(useSourceFolder ? FolderOf(path) : outputFolder, path, extension));
    return PlanBatchJobs(fileList_, outputs);
}

std::unique_ptr<TParallelBatch> TForm1::StartWorkers(const std::vector<TBatchJob>& jobs)
{
    const size_t threads = std::min<size_t>(jobs_, jobs.size());
    if (threads <= 1) return nullptr;
    // Each file starts with the background a run in list order would give it.
    auto workers = std::make_unique<TParallelBatch>(jobs, *context_, static_cast<unsigned>(threads),
                                                    context_->Attributes.BackgroundMode(), background_);
    if (!workers->Running()) return nullptr;
    return workers;
}

std::optional<TFileOutcome> TForm1::TakeFromWorkers(TParallelBatch& workers, size_t index)
{
    if (cancelRequested_) workers.Stop();
    return workers.Take(index, [&] {
        if (!view_.EscapeDown()) return;
        cancelRequested_ = true;
        workers.Stop();
    });
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
    converter_.reset();
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
