#pragma once
// What the window's driver needs from the window: the controls, the status bar, the progress
// window, the Escape key, the message pump, the platform's folders and the executable's
// path. The desktop window implements it; tests use a fake.
//
// Every call comes from the driver on the user-interface thread. Texts for display are
// UTF-8; paths are std::filesystem::path and reach the view exactly as the driver holds them.
#include <chrono>
#include <filesystem>
#include <string>

#include "app/ControlsState.h"
#include "app/Destination.h"
#include "app/FileOutcome.h"

class TFormView {
public:
    virtual ~TFormView() = default;

    // --- platform ---------------------------------------------------------------------
    // Full path of the running executable; its folder is ExeFolder, and the settings file
    // is this path with the extension ".dat".
    virtual std::filesystem::path ExecutablePath() = 0;
    // Registers (true) the main window as a drop target.
    virtual void AcceptDrops(bool accept) = 0;
    // Asks the main window to close, as the user's close would: the front end then calls
    // TForm1::FormCloseQuery and, when that allows it, TForm1::FormClose.
    virtual void CloseMainWindow() = 0;

    // --- main window ------------------------------------------------------------------
    virtual TControlsState GetControls() = 0;
    virtual void SetControls(const TControlsState& controls) = 0;
    // Sets the status bar's text and repaints it at once.
    virtual void SetStatusText(const std::string& utf8) = 0;

    // --- progress window (TForm2 calls these) -----------------------------------------
    virtual void ShowProgress() = 0;  // shown without blocking the main window
    virtual void HideProgress() = 0;
    virtual void ClearProgress() = 0;
    // Appends an entry and selects it, so that the list scrolls to it.
    virtual void AppendProgress(const std::filesystem::path& path) = 0;

    // --- keyboard and message pump ----------------------------------------------------
    // True while the Escape key is down at the moment of the call.
    virtual bool EscapeDown() = 0;
    // Processes pending messages until `duration` has passed since the call.
    virtual void PumpMessagesFor(std::chrono::milliseconds duration) = 0;
    // Processes the messages pending now, once.
    virtual void PumpMessagesOnce() = 0;

    // --- folders ----------------------------------------------------------------------
    // The folder the platform gives; empty when it has none.
    virtual std::filesystem::path SpecialFolder(TSpecialFolder which) = 0;
    // The folder-browse dialog: starts in `initialFolder` with the file name preset to one
    // full-width space; answers false when cancelled, else sets `chosenFile`.
    virtual bool BrowseForFile(const std::filesystem::path& initialFolder, std::filesystem::path& chosenFile) = 0;

    // --- notices without a window counterpart (a window ignores them) -----------------
    // An argument or dropped path was not taken into the batch.
    enum class TSkip { WrongExtension, Missing };
    virtual void PathSkipped(const std::filesystem::path& path, TSkip reason) { (void)path, (void)reason; }
    // The given folder (Edit1) names no folder, so the batch writes beside each input.
    virtual void GivenFolderMissing(const std::string& folderText) { (void)folderText; }
    // A listed file has been converted (or not) and its document written (or not).
    virtual void FileDone(const TFileOutcome& outcome) { (void)outcome; }
};
