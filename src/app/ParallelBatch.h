#pragma once
// A batch converted on worker threads, each with an engine of its own.
// Workers take the jobs in list order and settle them (TJobSettler) in that order as they
// take them. Each worker first finds its own job's facts (the drawing's head, the document's
// path) outside any lock, so that this reading overlaps the conversions and the other
// workers' own; settling in order then only combines the facts. A job whose
// document an earlier job also writes waits for that one. The calling thread collects the
// outcomes in list order, so that it alone talks to the view and reports them as a run one
// file after another would; it looks for them every few milliseconds rather than being
// woken for each.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "app/BatchJobs.h"
#include "app/FileOutcome.h"
#include "engine/ConversionOptions.h"

class TParallelBatch {
public:
    // Starts up to `threads` workers (fewer when the system gives fewer; Running() tells
    // whether any started) on `jobs`, each file with `options` on one thread; jobs of format
    // None are passed over. The first job starts with the options' carried background, or
    // every job with the options' fixed one (TJobSettler).
    TParallelBatch(std::vector<TBatchJob> jobs, const TConversionOptions& options, unsigned threads);
    // Stops and waits for the jobs already started.
    ~TParallelBatch();
    TParallelBatch(const TParallelBatch&) = delete;
    TParallelBatch& operator=(const TParallelBatch&) = delete;

    bool Running() const { return !workers_.empty(); }
    // No job starts after this; those started finish.
    void Stop();
    // The outcome of job `index` once it is done; nothing when it will never start (stopped
    // before). `whileWaiting` runs on the calling thread every few milliseconds of waiting.
    std::optional<TFileOutcome> Take(size_t index, const std::function<void()>& whileWaiting);
    // The job as converted (its backgrounds settled), once Take has given its outcome.
    const TBatchJob& Job(size_t index) const { return jobs_[index]; }

private:
    void Work();
    // The next job to convert; nothing when stopped or when every job is taken.
    std::optional<size_t> NextJob();
    // The facts of job `index`, found once, by whichever thread asks first (a thread asking
    // while another finds them waits for those).
    const TJobFacts& FactsOf(size_t index, TDocumentKeys& keys);
    // Settles the jobs up to `index`, in list order; `keys` are the calling thread's.
    void SettleUpTo(size_t index, TDocumentKeys& keys);
    // Waits until the job that writes the same document before `index`, if any, is done.
    void WaitForEarlierWriter(size_t index);

    std::vector<TBatchJob> jobs_;
    std::vector<std::optional<TFileOutcome>> outcomes_;
    size_t next_ = 0;
    size_t running_ = 0;  // jobs taken and not done
    bool stopped_ = false;
    std::mutex mutex_;
    std::condition_variable finished_;  // the caller's: the last job taken is done
    std::condition_variable written_;   // a job is done, for workers waiting for an earlier document
    struct TFactsSlot {
        std::once_flag Found;
        TJobFacts Facts;
    };
    std::vector<TFactsSlot> facts_;  // by job
    std::mutex settling_;
    size_t settled_ = 0;
    TJobSettler settler_;
    TConversionOptions options_;
    std::vector<std::thread> workers_;
};
