#include "app/console/ConsoleReport.h"

#include "app/BatchPaths.h"
#include "app/OutcomeTexts.h"
#include "app/StatusTexts.h"

namespace {

constexpr const char* kProgram = "tessaro: ";

}  // namespace

TConsoleReport::TConsoleReport(std::ostream& out, std::ostream& err, const volatile std::sig_atomic_t& interrupted)
    : out_(out), err_(err), interrupted_(interrupted)
{
}

int TConsoleReport::ExitStatus(bool stopped) const
{
    if (stopped) return 130;
    return failed_ ? 1 : 0;
}

void TConsoleReport::Status(const std::string& utf8) { out_ << utf8 << std::endl; }

void TConsoleReport::FileStarting(size_t n, size_t count, const std::filesystem::path& input)
{
    out_ << Utf8Of(input) << std::endl;
    Status(ConvertingStatusText(n, count, input));
}

void TConsoleReport::WrongExtension(const std::filesystem::path& path)
{
    failed_ = true;
    err_ << kProgram << Utf8Of(path) << ": not a .jww, .jws, .jwc or .jwk file; skipped" << std::endl;
}

void TConsoleReport::NoSuchFile(const std::filesystem::path& path)
{
    failed_ = true;
    err_ << kProgram << Utf8Of(path) << ": no such file; skipped" << std::endl;
}

void TConsoleReport::SpecialFolderMissing(TSpecialFolder which, const std::filesystem::path& folder)
{
    const char* name = which == TSpecialFolder::Desktop ? "Desktop" : "Documents";
    if (folder.empty()) {
        err_ << kProgram << "there is no " << name << " folder; writing each document beside its input" << std::endl;
    } else {
        err_ << kProgram << "the " << name << " folder '" << Utf8Of(folder)
             << "' does not exist; writing each document beside its input" << std::endl;
    }
}

void TConsoleReport::GivenFolderMissing(const std::string& folderText)
{
    if (folderText.empty()) {
        err_ << kProgram << "no output folder is set; writing each document beside its input" << std::endl;
    } else {
        err_ << kProgram << "the output folder '" << Utf8Of(PathFromNarrow(folderText))
             << "' does not exist; writing each document beside its input" << std::endl;
    }
}

void TConsoleReport::OutFolderNotMade(const std::string& folderText, const std::string& why)
{
    failed_ = true;
    err_ << kProgram << "cannot make the output folder '" << Utf8Of(PathFromNarrow(folderText)) << "': " << why
         << "; nothing converted" << std::endl;
}

void TConsoleReport::FileDone(const TFileOutcome& outcome)
{
    if (outcome.Read.status == TReadStatus::Unreadable && outcome.Failure.empty()) {
        failed_ = true;
        err_ << kProgram << Utf8Of(outcome.Input) << ": could not be read; its document holds no geometry"
             << std::endl;
    } else if (!outcome.SignatureMatched && outcome.Failure.empty()) {
        failed_ = true;
        err_ << kProgram << Utf8Of(outcome.Input) << ": not a " << FormatName(InputFormatOf(outcome.Input))
             << " (signature check failed); its document holds no geometry" << std::endl;
    }
    for (const std::string& problem : OutcomeProblems(outcome)) {
        failed_ = true;
        err_ << kProgram << Utf8Of(outcome.Input) << ": " << problem << std::endl;
    }
    for (const std::string& note : OutcomeNotes(outcome))
        err_ << kProgram << Utf8Of(outcome.Input) << ": " << note << std::endl;
    if (!outcome.Written && outcome.Failure.empty()) {
        failed_ = true;
        err_ << kProgram << Utf8Of(outcome.Output) << ": could not be written" << std::endl;
    }
}
