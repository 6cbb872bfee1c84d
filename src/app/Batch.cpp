#include "app/Batch.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <thread>

#include "app/BatchJobs.h"
#include "app/DocumentFile.h"
#include "app/ParallelBatch.h"

namespace {

std::vector<TBatchJob> PlanJobs(const std::vector<std::filesystem::path>& files, TOutputFormat format,
                                const TOutputPlace& place)
{
    const std::string_view extension = OutputExtensionOf(format);
    std::vector<std::filesystem::path> outputs;
    outputs.reserve(files.size());
    for (const std::filesystem::path& path : files)
        outputs.push_back(OutputPathFor(place.BesideInput ? FolderOf(path) : place.Folder, path, extension));
    return PlanBatchJobs(files, outputs);
}

// Workers for the batch when it has more than one file and `jobs` allows them; else null.
std::unique_ptr<TParallelBatch> StartWorkers(const std::vector<TBatchJob>& jobs, const TConversionOptions& options,
                                             unsigned threads)
{
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<size_t>(threads, jobs.size()));
    if (threads <= 1) return nullptr;
    auto workers = std::make_unique<TParallelBatch>(jobs, options, threads);
    if (!workers->Running()) return nullptr;
    return workers;
}

}  // namespace

bool RunBatch(const std::vector<std::filesystem::path>& files, TConversionOptions& options, const TOutputPlace& place,
              unsigned jobs, TBatchReport& report)
{
    const std::vector<TBatchJob> planned = PlanJobs(files, options.Format, place);
    std::unique_ptr<TParallelBatch> workers = StartWorkers(planned, options, jobs);
    std::unique_ptr<TEngine> engine = workers ? nullptr : std::make_unique<TEngine>();
    bool stopped = false;
    const size_t count = files.size();
    for (size_t i = 0; i < count; ++i) {
        if (report.StopRequested()) stopped = true;
        if (stopped && !workers) break;

        const TBatchJob& job = planned[i];
        if (job.Format == TInputFormat::None) continue;

        // Workers report a file once it is converted; one a worker started is reported even
        // after a stop, and it leaves its background, as in a run in order.
        std::optional<TFileOutcome> outcome;
        if (workers) {
            if (stopped) workers->Stop();
            outcome = workers->Take(i, [&] {
                if (!report.StopRequested()) return;
                stopped = true;
                workers->Stop();
            });
            if (!outcome) break;
            options.CarriedBackground = workers->Job(i).BackgroundAfter;
        }

        report.FileStarting(i + 1, count, job.Input);
        if (!outcome) {
            outcome.emplace();
            static_cast<TConversionResult&>(*outcome) = ConvertToFile(*engine, job.Input, job.Format, options, job.Output);
            outcome->Input = job.Input;
            outcome->Output = job.Output;
            options.CarriedBackground = outcome->BackgroundAfter;
        }
        report.FileDone(*outcome);
    }
    return !stopped;
}
