#include "app/Unit1.h"

#include <chrono>
#include <system_error>

#include "app/Batch.h"
#include "app/ControlsTable.h"
#include "app/SettingsFile.h"
#include "app/SettingsLocation.h"
#include "app/StatusTexts.h"

namespace fs = std::filesystem;

namespace {

constexpr std::chrono::milliseconds kPumpBeforeFile{100};

// The batch as the window shows it: each file in the progress list and the status bar, the
// messages pumped around it, Escape (or a close request) stopping it.
class TWindowReport final : public TBatchReport {
public:
    TWindowReport(TFormView& view, TForm2& progress, bool& cancelRequested)
        : view_(view), progress_(progress), cancelRequested_(cancelRequested)
    {
    }

    bool StopRequested() override
    {
        if (view_.EscapeDown()) cancelRequested_ = true;
        return cancelRequested_;
    }
    void FileStarting(size_t n, size_t count, const fs::path& input) override
    {
        progress_.Append(input);
        view_.PumpMessagesFor(kPumpBeforeFile);
        view_.SetStatusText(ConvertingStatusText(n, count, input));
    }
    void FileDone(const TFileOutcome& outcome) override
    {
        view_.FileDone(outcome);
        view_.PumpMessagesOnce();
    }

private:
    TFormView& view_;
    TForm2& progress_;
    bool& cancelRequested_;
};

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

    shown_ = true;
    options_.CarriedBackground = TBackground::Dark;  // black background, white default pen

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
    if (!Open()) return;
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
    if (busy_ || !Open()) return;
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

    const TOutputPlace place = PlaceOf(
        DestinationOf(view_.GetControls()), [this](TSpecialFolder which) { return view_.SpecialFolder(which); },
        [this](const std::string& folderText) { view_.GivenFolderMissing(folderText); });
    TConversionOptions options = ReadOptions();

    form2_.Show();
    form2_.Clear();
    TWindowReport report(view_, form2_, cancelRequested_);
    ::RunBatch(fileList_, options, place, 1, report);
    options_ = options;

    form2_.Hide();
    view_.SetStatusText(cancelRequested_ ? std::string(kStoppedStatusText) : FinishedStatusText(fileList_.size()));
    busy_ = false;
}

TConversionOptions TForm1::ReadOptions()
{
    TControlsState controls = view_.GetControls();
    TConversionOptions options = MakeOptions(RequestOf(controls));
    options.CarriedBackground = options_.CarriedBackground;
    // One file at a time: its arcs and document may be worked out on every core.
    options.Threads = ThreadsForOneFile();
    ShowClampedNumbers(controls);
    view_.SetControls(controls);
    return options;
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
