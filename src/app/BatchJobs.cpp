#include "app/BatchJobs.h"

#include <map>
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

void LinkSameOutputs(std::vector<TBatchJob>& jobs)
{
    std::map<fs::path, size_t> lastWriter;
    for (size_t i = 0; i < jobs.size(); ++i) {
        if (jobs[i].Format == TInputFormat::None) continue;
        auto [writer, first] = lastWriter.try_emplace(DocumentKey(jobs[i].Output), i);
        if (!first) jobs[i].SameOutputAs = std::exchange(writer->second, i);
    }
}

void SettleBackground(TBatchJob& job, int& mode, std::optional<int> fixed)
{
    if (fixed && job.Format != TInputFormat::None) mode = *fixed;
    job.Background = mode;
    if (job.Format == TInputFormat::Jww) mode = JwwBackgroundAfter(job.Input, mode);
    job.BackgroundAfter = mode;
}
