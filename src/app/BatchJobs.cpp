#include "app/BatchJobs.h"

#include <array>
#include <system_error>
#include <utility>

#include "formats/jww/JwwBackground.h"

namespace fs = std::filesystem;

namespace {

// A path as the file system resolves it, so that two spellings of one file meet.
fs::path Resolved(const fs::path& path)
{
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(path, error);
    return error ? path.lexically_normal() : resolved;
}

}  // namespace

fs::path TDocumentKeys::Of(const fs::path& output)
{
    std::error_code error;
    if (fs::is_symlink(output, error)) return Resolved(output);
    fs::path folder = output.parent_path();
    if (!known_ || folder != folder_) {
        resolved_ = Resolved(folder.empty() ? fs::path(".") : folder);
        folder_ = std::move(folder);
        known_ = true;
    }
    return resolved_ / output.filename();
}

std::vector<TBatchJob> PlanBatchJobs(const std::vector<fs::path>& files, const std::vector<fs::path>& outputs)
{
    std::vector<TBatchJob> jobs(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        jobs[i].Format = InputFormatOf(files[i]);
        jobs[i].Input = files[i];
        jobs[i].Output = outputs[i];
    }
    return jobs;
}

TJobFacts FindJobFacts(const TBatchJob& job, TDocumentKeys& keys)
{
    TJobFacts facts;
    if (job.Format == TInputFormat::None) return facts;
    if (job.Format == TInputFormat::Jww) {
        const std::array<int, 2> after = JwwBackgroundsAfter(job.Input);
        facts.AfterLight = static_cast<TBackground>(after[0]);
        facts.AfterDark = static_cast<TBackground>(after[1]);
    }
    facts.Document = keys.Of(job.Output);
    return facts;
}

void TJobSettler::Settle(std::vector<TBatchJob>& jobs, size_t index, const TJobFacts& facts)
{
    TBatchJob& job = jobs[index];
    if (job.Format == TInputFormat::None) {
        job.Background = job.BackgroundAfter = mode_;
        return;
    }
    if (fixed_) mode_ = *fixed_;
    job.Background = mode_;
    mode_ = mode_ == TBackground::Dark ? facts.AfterDark : facts.AfterLight;
    job.BackgroundAfter = mode_;
    auto [writer, first] = lastWriter_.try_emplace(facts.Document, index);
    if (!first) job.SameOutputAs = std::exchange(writer->second, index);
}
