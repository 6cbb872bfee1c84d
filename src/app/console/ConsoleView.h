#pragma once
// The command line's view: no windows. Progress entries and status texts are printed to
// standard output as UTF-8 lines; everything that went wrong goes to standard error; Ctrl-C
// stands for the Escape key. The controls live in memory between the settings file's read
// and write.
#include <csignal>
#include <filesystem>
#include <functional>
#include <ostream>

#include "app/FormView.h"

class TConsoleView : public TFormView {
public:
    using TFolderLookup = std::function<std::filesystem::path(TSpecialFolder)>;

    TConsoleView(std::ostream& out, std::ostream& err, std::filesystem::path executable, TFolderLookup folders,
                 const volatile std::sig_atomic_t& interrupted);

    bool CloseRequested() const { return closeRequested_; }
    // 130 when the batch was stopped, 1 when any path was skipped or any file failed, else 0.
    int ExitStatus(bool cancelled) const;

    std::filesystem::path ExecutablePath() override { return executable_; }
    void AcceptDrops(bool) override {}
    void CloseMainWindow() override { closeRequested_ = true; }

    TControlsState GetControls() override { return controls_; }
    void SetControls(const TControlsState& controls) override { controls_ = controls; }
    void SetStatusText(const std::string& utf8) override;

    void ShowProgress() override {}
    void HideProgress() override {}
    void ClearProgress() override {}
    void AppendProgress(const std::filesystem::path& path) override;

    bool EscapeDown() override { return interrupted_ != 0; }
    // Nothing waits for messages here: the pumps return at once.
    void PumpMessagesFor(std::chrono::milliseconds) override {}
    void PumpMessagesOnce() override {}

    std::filesystem::path SpecialFolder(TSpecialFolder which) override;
    bool BrowseForFile(const std::filesystem::path&, std::filesystem::path&) override { return false; }

    void PathSkipped(const std::filesystem::path& path, TSkip reason) override;
    void GivenFolderMissing(const std::string& folderText) override;
    void FileDone(const TFileOutcome& outcome) override;

private:
    std::ostream& out_;
    std::ostream& err_;
    std::filesystem::path executable_;
    TFolderLookup folders_;
    const volatile std::sig_atomic_t& interrupted_;
    TControlsState controls_;
    bool closeRequested_ = false;
    bool failed_ = false;
};
