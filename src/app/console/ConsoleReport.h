#pragma once
// What the command line prints of a run: each file as it starts and the status texts on
// standard output (UTF-8 lines), everything that went wrong on standard error, naming the
// file; Ctrl-C stands for the window's Escape key. It remembers whether anything went wrong,
// for the exit status.
#include <csignal>
#include <filesystem>
#include <ostream>
#include <string>

#include "app/Batch.h"

class TConsoleReport final : public TBatchReport {
public:
    TConsoleReport(std::ostream& out, std::ostream& err, const volatile std::sig_atomic_t& interrupted);

    // 130 when the batch was stopped, 1 when any path was skipped or any file failed, else 0.
    int ExitStatus(bool stopped) const;

    bool StopRequested() override { return interrupted_ != 0; }
    void FileStarting(size_t n, size_t count, const std::filesystem::path& input) override;
    void FileDone(const TFileOutcome& outcome) override;

    void Status(const std::string& utf8);
    // An argument was not taken into the batch: not a drawing's name, or no such file.
    void WrongExtension(const std::filesystem::path& path);
    void NoSuchFile(const std::filesystem::path& path);
    // The Desktop or Documents folder the settings choose does not exist (empty: the platform
    // names none), so the batch writes beside each input.
    void SpecialFolderMissing(TSpecialFolder which, const std::filesystem::path& folder);
    // The given folder names no folder, so the batch writes beside each input.
    void GivenFolderMissing(const std::string& folderText);
    // The folder --out names could not be made (`why`), so nothing is converted.
    void OutFolderNotMade(const std::string& folderText, const std::string& why);

private:
    std::ostream& out_;
    std::ostream& err_;
    const volatile std::sig_atomic_t& interrupted_;
    bool failed_ = false;
};
