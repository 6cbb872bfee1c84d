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
    std::map<fs::path, size_t> lastWriter;
    for (size_t i = 0; i < files.size(); ++i) {
        TBatchJob& job = jobs[i];
        job.Format = InputFormatOf(files[i]);
        job.Input = files[i];
        job.Output = outputs[i];
        if (job.Format == TInputFormat::None) continue;
        auto [writer, first] = lastWriter.try_emplace(DocumentKey(job.Output), i);
        if (!first) job.SameOutputAs = std::exchange(writer->second, i);
    }
    return jobs;
}

void SettleBackgrounds(std::vector<TBatchJob>& jobs, int initial, std::optional<int> fixed)
{
    int mode = initial;
    for (TBatchJob& job : jobs) {
        if (fixed && job.Format != TInputFormat::None) mode = *fixed;
        job.Background = mode;
        if (job.Format == TInputFormat::Jww) mode = JwwBackgroundAfter(job.Input, mode);
        job.BackgroundAfter = mode;
    }
}
