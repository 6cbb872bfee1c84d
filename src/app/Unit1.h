#pragma once
// TForm1, the main window's logic: start-up and shut-down, the intake of paths from the
// command line and from drops, and the batch that converts them one by one (or, for the
// command line, on several threads, reported in the same order). It owns the four readers
// (TFileConverter) and the conversion context (attribute table, options, coordinate factor,
// figure store) for the whole run, and talks to the screen only through a TFormView.
//
// Drops that arrive while a batch runs (they can, during its message pumps) are queued:
// the running batch keeps its own list untouched, and when it ends the queued paths run as
// the next batch, in the order they were dropped. A batch stopped by Escape or by a close
// request discards the queue, since the user asked to stop.
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "app/BatchJobs.h"
#include "app/BatchPaths.h"
#include "app/ControlsOverrides.h"
#include "app/FormView.h"
#include "app/Unit2.h"
#include "figures/ConversionContext.h"

class TFileConverter;
class TParallelBatch;

class TForm1 {
public:
    static constexpr std::string_view kApplicationTitle = "Tessaro";
    static constexpr std::string_view kCaption = "Tessaro Ver.1.0";

    explicit TForm1(TFormView& view);
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // Controls replaced for every batch of this run, never shown nor saved (command line).
    void SetOneRunOverrides(const TControlsOverrides& overrides) { overrides_ = overrides; }
    // The attribute table's background mode (0 light, 1 dark) set before every file of this
    // run, instead of carried over from the drawings before it (command line).
    void SetOneRunBackground(std::optional<int32_t> mode) { background_ = mode; }
    // Files of a batch converted at once on this many threads (0: one per core); the
    // documents and the order of what the view is told stay those of one thread.
    void SetOneRunJobs(unsigned jobs);

    // The main window is shown: flags, drop target, ExeFolder, settings, readers and the
    // attribute table, then the command line's paths (arguments after the program name).
    // With any argument the main window is then asked to close.
    void FormShow(const std::vector<std::filesystem::path>& arguments);
    // The paths of one drop, in the order the shell reports them.
    void AcceptDroppedFiles(const std::vector<std::filesystem::path>& paths);
    // Converts FileList.
    void RunBatch();
    // The can-close answer: false while a batch runs (the batch is then asked to stop).
    bool FormCloseQuery();
    // Shut-down: readers and attribute table destroyed, settings written. During a batch
    // (only if a front end closes without asking FormCloseQuery) the batch is stopped and
    // the shut-down happens when it ends.
    void FormClose();
    // Reads the options from the controls, clamps them and shows the clamped values.
    void ReadOptions();
    // The folder-browse button: lets the user pick a folder for Edit1.
    void BrowseFolder();

    bool Busy() const { return busy_; }
    bool CancelRequested() const { return cancelRequested_; }
    const std::vector<std::filesystem::path>& FileList() const { return fileList_; }
    const std::vector<std::filesystem::path>& QueuedDrops() const { return queuedDrops_; }
    const std::filesystem::path& ExeFolder() const { return exeFolder_; }
    const std::filesystem::path& SettingsPath() const { return settingsPath_; }
    TForm2& Form2() { return form2_; }
    // Null before FormShow and after FormClose.
    TConversionContext* Context() { return context_.get(); }

private:
    // Applies the intake tests; appends an accepted path to `list`.
    void Intake(const std::filesystem::path& path, std::vector<std::filesystem::path>& list);
    void RunOneBatch();
    // The batch's output folder by the destination radio buttons; `useSourceFolder` when
    // each document goes beside its input.
    void ChooseOutputFolder(const TControlsState& controls, std::filesystem::path& folder, bool& useSourceFolder);
    // One listed file on this thread, after the run's background when one was given:
    // converted, then its document written (TFileConverter::ConvertAndWrite).
    TFileOutcome ConvertAndWrite(TInputFormat format, const std::filesystem::path& path,
                                 const std::filesystem::path& output);
    // The batch's files with their formats and documents.
    std::vector<TBatchJob> PlanJobs(const std::filesystem::path& outputFolder, bool useSourceFolder) const;
    // Workers for the batch when it has more than one file and jobs_ allows them; else null.
    std::unique_ptr<TParallelBatch> StartWorkers(const std::vector<TBatchJob>& jobs);
    // The outcome of a file a worker converts, watching Escape while waiting; nothing when
    // the batch was stopped before that file started.
    std::optional<TFileOutcome> TakeFromWorkers(TParallelBatch& workers, size_t index);

    TFormView& view_;
    TForm2 form2_;
    TControlsOverrides overrides_;
    std::optional<int32_t> background_;
    unsigned jobs_ = 1;

    std::vector<std::filesystem::path> fileList_;
    std::vector<std::filesystem::path> queuedDrops_;
    bool busy_ = false;
    bool cancelRequested_ = false;
    bool closeDeferred_ = false;
    bool closed_ = false;

    std::filesystem::path exeFolder_;
    std::filesystem::path settingsPath_;

    std::unique_ptr<TFileConverter> converter_;
    std::unique_ptr<TConversionContext> context_;
};
