#include "app/BatchJobs.h"

#include <array>
#include <system_error>
#include <utility>

#include "formats/jww/JwwBackground.h"

namespace fs = std::filesystem;

namespace {

// The document's path as the file system resolves it, so that two spellings of one file meet.
fs::path DocumentKey(const fs::path& output)
{
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(output, error);
    return error ? output.lexically_normal() : resolved;
}

}  // namespace

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

TJobFacts FindJobFacts(const TBatchJob& job)
{
    TJobFacts facts;
    if (job.Format == TInputFormat::None) return facts;
    if (job.Format == TInputFormat::Jww) {
        const std::array<int, 2> after = JwwBackgroundsAfter(job.Input);
        facts.AfterLight = static_cast<TBackground>(after[0]);
        facts.AfterDark = static_cast<TBackground>(after[1]);
    }
    facts.Document = DocumentKey(job.Output);
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
