#include "app/console/ConsoleView.h"

#include <system_error>

#include "app/BatchPaths.h"
#include "app/OutcomeTexts.h"

namespace {

constexpr const char* kProgram = "tessaro: ";

const char* FormatName(const std::filesystem::path& path)
{
    switch (InputFormatOf(path)) {
    case TInputFormat::Jwc: return "JWC drawing";
    case TInputFormat::Jwk: return "JWK symbol file";
    case TInputFormat::Jww: return "JWW drawing";
    case TInputFormat::Jws: return "JWS figure file";
    case TInputFormat::None: break;
    }
    return "drawing";
}

}  // namespace

TConsoleView::TConsoleView(std::ostream& out, std::ostream& err, std::filesystem::path executable,
                           TFolderLookup folders, const volatile std::sig_atomic_t& interrupted)
    : out_(out), err_(err), executable_(std::move(executable)), folders_(std::move(folders)),
      interrupted_(interrupted)
{
}

int TConsoleView::ExitStatus(bool cancelled) const
{
    if (cancelled) return 130;
    return failed_ ? 1 : 0;
}

void TConsoleView::SetStatusText(const std::string& utf8) { out_ << utf8 << std::endl; }

void TConsoleView::AppendProgress(const std::filesystem::path& path) { out_ << Utf8Of(path) << std::endl; }

std::filesystem::path TConsoleView::SpecialFolder(TSpecialFolder which)
{
    const std::filesystem::path folder = folders_(which);
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        err_ << kProgram << "the " << (which == TSpecialFolder::Desktop ? "Desktop" : "Documents") << " folder '"
             << Utf8Of(folder) << "' does not exist" << std::endl;
    }
    return folder;
}

void TConsoleView::PathSkipped(const std::filesystem::path& path, TSkip reason)
{
    failed_ = true;
    if (reason == TSkip::WrongExtension) {
        err_ << kProgram << Utf8Of(path) << ": not a .jww, .jws, .jwc or .jwk file; skipped" << std::endl;
    } else {
        err_ << kProgram << Utf8Of(path) << ": no such file; skipped" << std::endl;
    }
}

void TConsoleView::GivenFolderMissing(const std::string& folderText)
{
    if (folderText.empty()) {
        err_ << kProgram << "no output folder is set; writing each document beside its input" << std::endl;
    } else {
        err_ << kProgram << "the output folder '" << Utf8Of(PathFromNarrow(folderText))
             << "' does not exist; writing each document beside its input" << std::endl;
    }
}

void TConsoleView::FileDone(const TFileOutcome& outcome)
{
    if (!outcome.SignatureMatched && outcome.Failure.empty()) {
        failed_ = true;
        err_ << kProgram << Utf8Of(outcome.Input) << ": not a " << FormatName(outcome.Input)
             << " (signature check failed); its document holds no geometry" << std::endl;
    }
    for (const std::string& problem : OutcomeProblems(outcome)) {
        failed_ = true;
        err_ << kProgram << Utf8Of(outcome.Input) << ": " << problem << std::endl;
    }
    if (!outcome.Written && outcome.Failure.empty()) {
        failed_ = true;
        err_ << kProgram << Utf8Of(outcome.Output) << ": could not be written" << std::endl;
    }
}
