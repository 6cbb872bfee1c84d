#pragma once
// TForm1, the main window's logic: start-up and shut-down, the intake of paths from the
// program's arguments and from drops, and the batch that converts them one by one. Its
// controls become the engine's options through the controls table, and the batch runs as the
// command line's does (RunBatch); it talks to the screen only through a TFormView. The
// background a drawing leaves carries over to the next file and the next batch.
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

#include "app/BatchPaths.h"
#include "app/FormView.h"
#include "app/Unit2.h"
#include "engine/ConversionOptions.h"

class TForm1 {
public:
    static constexpr std::string_view kCaption = "Tessaro Ver.1.0";

    explicit TForm1(TFormView& view);
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // The main window is shown: flags, drop target, ExeFolder, settings, then the program's
    // arguments (after its name) as the first batch. With any argument the main window is
    // then asked to close.
    void FormShow(const std::vector<std::filesystem::path>& arguments);
    // The paths of one drop, in the order the shell reports them.
    void AcceptDroppedFiles(const std::vector<std::filesystem::path>& paths);
    // Converts FileList.
    void RunBatch();
    // The can-close answer: false while a batch runs (the batch is then asked to stop).
    bool FormCloseQuery();
    // Shut-down: settings written. During a batch (only if a front end closes without asking
    // FormCloseQuery) the batch is stopped and the shut-down happens when it ends.
    void FormClose();
    // Reads the options from the controls and shows the clamped values; answers them.
    TConversionOptions ReadOptions();
    // The folder-browse button: lets the user pick a folder for Edit1.
    void BrowseFolder();

    bool Busy() const { return busy_; }
    bool CancelRequested() const { return cancelRequested_; }
    const std::vector<std::filesystem::path>& FileList() const { return fileList_; }
    const std::vector<std::filesystem::path>& QueuedDrops() const { return queuedDrops_; }
    const std::filesystem::path& ExeFolder() const { return exeFolder_; }
    const std::filesystem::path& SettingsPath() const { return settingsPath_; }
    TForm2& Form2() { return form2_; }
    // Between FormShow and FormClose.
    bool Open() const { return shown_ && !closed_; }
    // The options the last batch used (its background the one the last file left).
    const TConversionOptions& Options() const { return options_; }

private:
    // Applies the intake tests; appends an accepted path to `list`.
    void Intake(const std::filesystem::path& path, std::vector<std::filesystem::path>& list);
    void RunOneBatch();

    TFormView& view_;
    TForm2 form2_;
    TConversionOptions options_;

    std::vector<std::filesystem::path> fileList_;
    std::vector<std::filesystem::path> queuedDrops_;
    bool busy_ = false;
    bool cancelRequested_ = false;
    bool closeDeferred_ = false;
    bool shown_ = false;
    bool closed_ = false;

    std::filesystem::path exeFolder_;
    std::filesystem::path settingsPath_;
};
