#pragma once
// Helpers for the application-shell tests: small input files, document checks, and a fake
// view that records what the driver shows and lets a test act during the message pumps.
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/FormView.h"
#include "support/Conversion.h"
#include "support/JwcWriter.h"
#include "support/JwkWriter.h"
#include "support/JwsWriter.h"
#include "support/JwwWriter.h"
#include "support/TempDir.h"

namespace apptest {

namespace fs = std::filesystem;

using TTempFolder = TTempDir;

// Writes a file, creating its folder first.
inline void WriteBytes(const fs::path& path, std::string_view bytes)
{
    fs::create_directories(path.parent_path());
    WriteFileBytes(path, bytes);
}

inline std::string ReadBytes(const fs::path& path) { return ReadFileBytes(path); }

// Whole, empty files of each format, as the fixture writers make them.
inline void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    WriteBytes(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}
inline void WriteJwwInput(const fs::path& path) { WriteBytes(path, jwwfixture::TJwwFileWriter(600).Build()); }
inline void WriteJwsInput(const fs::path& path) { WriteBytes(path, jwsfixture::TJwsFileWriter(600).Build()); }
inline void WriteJwcInput(const fs::path& path) { WriteBytes(path, JwcWriter().Build()); }
inline void WriteJwkInput(const fs::path& path) { WriteBytes(path, JwkWriter().Build()); }

// True when a written document holds any geometry.
inline bool HasGeometry(const fs::path& document) { return ReadBytes(document).find("<geometry ") != std::string::npos; }

// The text of the <created> line of a document.
inline std::string CreatedStamp(const fs::path& document)
{
    const std::string text = ReadBytes(document);
    const size_t start = text.find("<created>");
    const size_t end = text.find("</created>");
    if (start == std::string::npos || end == std::string::npos) return {};
    return text.substr(start + 9, end - start - 9);
}

class TFakeView : public TFormView {
public:
    explicit TFakeView(fs::path executable) : executable_(std::move(executable)) {}

    // What the driver showed, in order.
    std::vector<std::string> StatusTexts;
    std::vector<fs::path> ProgressEntries;  // since the last ClearProgress
    std::vector<TFileOutcome> Outcomes;
    std::vector<fs::path> Skipped;
    std::vector<std::string> MissingGivenFolders;
    bool ProgressVisible = false;
    int ProgressShown = 0;
    bool DropsAccepted = false;
    int CloseRequests = 0;

    TControlsState Controls;
    fs::path Desktop;
    fs::path Documents;
    fs::path BrowseAnswer;  // empty: the dialog is cancelled
    fs::path BrowseStartedIn;

    // Called as the batch reaches each point; `file` counts the listed files from 1.
    std::function<bool()> OnEscapeTest;                // answers whether ESC is down
    std::function<void(int file)> OnPumpBeforeFile;   // the 100 ms pump
    std::function<void(int file)> OnPumpAfterFile;    // the single pump

    fs::path ExecutablePath() override { return executable_; }
    void AcceptDrops(bool accept) override { DropsAccepted = accept; }
    void CloseMainWindow() override { ++CloseRequests; }

    TControlsState GetControls() override { return Controls; }
    void SetControls(const TControlsState& controls) override { Controls = controls; }
    void SetStatusText(const std::string& utf8) override { StatusTexts.push_back(utf8); }

    void ShowProgress() override { ProgressVisible = true, ++ProgressShown; }
    void HideProgress() override { ProgressVisible = false; }
    void ClearProgress() override { ProgressEntries.clear(); }
    void AppendProgress(const fs::path& path) override { ProgressEntries.push_back(path); }

    bool EscapeDown() override { return OnEscapeTest && OnEscapeTest(); }
    void PumpMessagesFor(std::chrono::milliseconds) override
    {
        if (OnPumpBeforeFile) OnPumpBeforeFile(static_cast<int>(ProgressEntries.size()));
    }
    void PumpMessagesOnce() override
    {
        if (OnPumpAfterFile) OnPumpAfterFile(static_cast<int>(ProgressEntries.size()));
    }

    fs::path SpecialFolder(TSpecialFolder which) override
    {
        return which == TSpecialFolder::Desktop ? Desktop : Documents;
    }
    bool BrowseForFile(const fs::path& initialFolder, fs::path& chosenFile) override
    {
        BrowseStartedIn = initialFolder;
        if (BrowseAnswer.empty()) return false;
        chosenFile = BrowseAnswer;
        return true;
    }

    void PathSkipped(const fs::path& path, TSkip) override { Skipped.push_back(path); }
    void GivenFolderMissing(const std::string& folderText) override { MissingGivenFolders.push_back(folderText); }
    void FileDone(const TFileOutcome& outcome) override { Outcomes.push_back(outcome); }

private:
    fs::path executable_;
};

}  // namespace apptest
