#include "app/ParallelBatch.h"

#include <new>
#include <system_error>

#include "app/DocumentFile.h"

namespace {

// How often a waiting caller gets to look at its view (the Escape key, Ctrl-C).
constexpr std::chrono::milliseconds kPollInterval{20};
// How long a waiting caller sleeps at most before it looks for outcomes. Workers do not wake
// it for each file: in a batch of small files those wake-ups took a core from the
// conversions, one file in twenty. It reports the files done meanwhile in one go.
constexpr std::chrono::milliseconds kReportInterval{4};

}  // namespace

namespace {

std::optional<TBackground> FixedBackground(TBackgroundChoice choice)
{
    switch (choice) {
    case TBackgroundChoice::Light: return TBackground::Light;
    case TBackgroundChoice::Dark: return TBackground::Dark;
    case TBackgroundChoice::Carried: break;
    }
    return std::nullopt;
}

}  // namespace

TParallelBatch::TParallelBatch(std::vector<TBatchJob> jobs, const TConversionOptions& options, unsigned threads)
    : jobs_(std::move(jobs)), outcomes_(jobs_.size()), facts_(jobs_.size()),
      settler_(options.CarriedBackground, FixedBackground(options.Background)), options_(options)
{
    // Each file on one thread: the workers keep every core busy already.
    options_.Threads = 1;
    options_.Background = TBackgroundChoice::Carried;
    for (unsigned t = 0; t < threads; ++t) {
        try {
            workers_.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            break;  // no more threads: the ones started do the work
        } catch (const std::bad_alloc&) {
            break;
        }
    }
}

TParallelBatch::~TParallelBatch()
{
    Stop();
    for (std::thread& worker : workers_) worker.join();
}

void TParallelBatch::Stop()
{
    std::lock_guard lock(mutex_);
    stopped_ = true;
}

std::optional<TFileOutcome> TParallelBatch::Take(size_t index, const std::function<void()>& whileWaiting)
{
    std::unique_lock lock(mutex_);
    auto polled = std::chrono::steady_clock::now();
    for (;;) {
        if (outcomes_[index]) return std::move(*outcomes_[index]);
        if (stopped_ && index >= next_) return std::nullopt;
        finished_.wait_for(lock, kReportInterval);
        if (const auto now = std::chrono::steady_clock::now(); now - polled >= kPollInterval) {
            polled = now;
            lock.unlock();
            whileWaiting();
            lock.lock();
        }
    }
}

std::optional<size_t> TParallelBatch::NextJob()
{
    std::unique_lock lock(mutex_);
    while (next_ < jobs_.size() && jobs_[next_].Format == TInputFormat::None) ++next_;
    if (stopped_ || next_ >= jobs_.size()) return std::nullopt;
    ++running_;
    return next_++;
}

void TParallelBatch::WaitForEarlierWriter(size_t index)
{
    // The earlier job was taken before this one, and a taken job always finishes.
    const size_t earlier = jobs_[index].SameOutputAs;
    if (earlier == TBatchJob::kNone) return;
    std::unique_lock lock(mutex_);
    written_.wait(lock, [&] { return outcomes_[earlier].has_value(); });
}

const TJobFacts& TParallelBatch::FactsOf(size_t index, TDocumentKeys& keys)
{
    TFactsSlot& slot = facts_[index];
    std::call_once(slot.Found, [&] { slot.Facts = FindJobFacts(jobs_[index], keys); });
    return slot.Facts;
}

void TParallelBatch::SettleUpTo(size_t index, TDocumentKeys& keys)
{
    std::lock_guard lock(settling_);
    for (; settled_ <= index; ++settled_) settler_.Settle(jobs_, settled_, FactsOf(settled_, keys));
}

void TParallelBatch::Work()
{
    TEngine engine;
    TDocumentKeys keys;
    TConversionOptions options = options_;
    while (const std::optional<size_t> index = NextJob()) {
        // A taken job always gets an outcome, or the caller would wait for it forever.
        TFileOutcome outcome;
        try {
            (void)FactsOf(*index, keys);  // outside the settling lock
            SettleUpTo(*index, keys);
            WaitForEarlierWriter(*index);
            const TBatchJob& job = jobs_[*index];
            options.CarriedBackground = job.Background;
            static_cast<TConversionResult&>(outcome) = ConvertToFile(engine, job.Input, job.Format, options, job.Output);
            outcome.Input = job.Input;
            outcome.Output = job.Output;
        } catch (...) {
            outcome.Failure = kOutOfMemoryFailure;
        }
        bool last = false;
        {
            std::lock_guard lock(mutex_);
            outcomes_[*index] = std::move(outcome);
            last = --running_ == 0 && (stopped_ || next_ >= jobs_.size());
        }
        written_.notify_all();  // a worker may wait for this document
        if (last) finished_.notify_all();
    }
    finished_.notify_all();
}
