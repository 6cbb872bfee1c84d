#pragma once
// The driver's view on the Windows desktop: the real main and progress windows and the
// shell, keyboard and message-loop calls behind TFormView. It also routes the windows'
// events (first show, drop, close, browse button) to TForm1.
#include <windows.h>
#include <shellapi.h>

#include <filesystem>
#include <string>
#include <vector>

#include "MainWindow.h"
#include "ProgressWindow.h"
#include "app/FormView.h"

class TForm1;

class TDesktopView : public TFormView {
public:
    TDesktopView(TMainWindow& mainWindow, TProgressWindow& progressWindow);

    // Connects the windows' events to the driver; `arguments` are the command line's
    // arguments after the program name, handed over when the main window is first shown.
    void Attach(TForm1& form, std::vector<std::filesystem::path> arguments);

    std::filesystem::path ExecutablePath() override;
    void AcceptDrops(bool accept) override;
    void CloseMainWindow() override;

    TControlsState GetControls() override;
    void SetControls(const TControlsState& controls) override;
    void SetStatusText(const std::string& utf8) override;

    void ShowProgress() override;
    void HideProgress() override;
    void ClearProgress() override;
    void AppendProgress(const std::filesystem::path& path) override;
    // Marks the file's entry when it did not go through whole.
    void FileDone(const TFileOutcome& outcome) override;

    bool EscapeDown() override;
    void PumpMessagesFor(std::chrono::milliseconds duration) override;
    void PumpMessagesOnce() override;

    std::filesystem::path SpecialFolder(TSpecialFolder which) override;
    bool BrowseForFile(const std::filesystem::path& initialFolder, std::filesystem::path& chosenFile) override;

private:
    // The dropped paths, all of them, as the shell wrote them; the drop is released.
    static std::vector<std::filesystem::path> TakeDroppedPaths(HDROP drop);
    void SetTextIfChanged(EControl id, const std::string& narrow);

    TMainWindow& main_;
    TProgressWindow& progress_;
};

// The command line's arguments after the program name, split by the shell's rules.
std::vector<std::filesystem::path> CommandLineArguments();
