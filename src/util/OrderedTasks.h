#pragma once
// Work on several threads whose results are used in order: the pieces of one document are
// made in parallel and written one after the other, as a single thread would write them.
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace ordered_tasks_detail {

// What the calling thread and the workers of one RunInOrder share: results are made in
// ascending i into a ring of `window` slots, and slot i % window is free again once result i
// is used.
template <class Result> class TOrderedRun {
public:
    TOrderedRun(std::size_t count, std::size_t window, const std::function<Result(std::size_t)>& make)
        : count_(count), window_(window), make_(make), slots_(window)
    {
    }

    // A worker's part: makes results until there are none left to make or the work stops,
    // waiting while the window is full.
    void Work()
    {
        std::unique_lock lock(mutex_);
        while (!stop_ && next_ < count_) {
            if (!MakeNext(lock)) changed_.wait(lock, [&] { return stop_ || next_ == count_ || CanStart(); });
        }
    }

    // Moves result i into `result`, making results itself while i is not ready; false when a
    // failure stopped the work first.
    bool Take(std::size_t i, std::optional<Result>& result)
    {
        std::unique_lock lock(mutex_);
        std::optional<Result>& slot = slots_[i % window_];
        while (!stop_ && !slot) {
            if (!MakeNext(lock)) changed_.wait(lock);
        }
        if (!slot) return false;
        result = std::move(slot);
        slot.reset();
        ++used_;
        changed_.notify_all();
        return true;
    }

    // Keeps `error` unless an earlier one was kept, and stops the work.
    void Fail(std::exception_ptr error)
    {
        std::lock_guard lock(mutex_);
        Record(std::move(error));
        changed_.notify_all();
    }

    // Stops the work: the workers end once they finish what they are making.
    void Stop()
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        changed_.notify_all();
    }

    // Rethrows the failure kept, if any; only once every worker has ended.
    void RethrowFailure() const
    {
        if (failure_) std::rethrow_exception(failure_);
    }

private:
    bool CanStart() const { return !stop_ && next_ < count_ && next_ < used_ + window_; }

    // With the lock held.
    void Record(std::exception_ptr error)
    {
        if (!failure_) failure_ = std::move(error);
        stop_ = true;
    }

    // Makes the next result with the lock released; false when there is none to make.
    bool MakeNext(std::unique_lock<std::mutex>& lock)
    {
        if (!CanStart()) return false;
        const std::size_t i = next_++;
        lock.unlock();
        std::optional<Result> made;
        std::exception_ptr error;
        try {
            made.emplace(make_(i));
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        if (error) {
            Record(std::move(error));
        } else {
            slots_[i % window_] = std::move(made);
        }
        changed_.notify_all();
        return true;
    }

    const std::size_t count_, window_;
    const std::function<Result(std::size_t)>& make_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::optional<Result>> slots_;
    std::size_t next_ = 0, used_ = 0;  // the next i to make; the i's used so far
    bool stop_ = false;
    std::exception_ptr failure_;
};

// Starts up to threads - 1 workers on `run`; fewer when a thread cannot be started.
template <class Result> std::vector<std::thread> StartWorkers(TOrderedRun<Result>& run, unsigned threads)
{
    std::vector<std::thread> workers;
    for (unsigned t = 1; t < threads; ++t) {
        try {
            workers.emplace_back([&run] { run.Work(); });
        } catch (const std::exception&) {
            break;  // the threads started do the work
        }
    }
    return workers;
}

}  // namespace ordered_tasks_detail

// Runs make(i) for i = 0 .. count-1 on `threads` threads (the calling one and threads - 1
// workers) and hands each result to use(i, result) on the calling thread, in ascending i, as
// soon as it and those before it are made; while the next result is not ready, the calling
// thread makes one itself. At most `window` results exist at once, which bounds the memory.
// With fewer than two threads (or when no worker can be started) everything runs on the
// calling thread. The first exception thrown by make or use stops the work and is rethrown
// here once every worker has ended.
template <class Result>
void RunInOrder(std::size_t count, unsigned threads, std::size_t window, const std::function<Result(std::size_t)>& make,
                const std::function<void(std::size_t, Result&&)>& use)
{
    ordered_tasks_detail::TOrderedRun<Result> run(count, window == 0 ? 1 : window, make);
    std::vector<std::thread> workers = ordered_tasks_detail::StartWorkers(run, threads);
    for (std::size_t i = 0; i < count; ++i) {
        std::optional<Result> result;
        if (workers.empty()) {
            result.emplace(make(i));
        } else if (!run.Take(i, result)) {
            break;  // stopped by a failure
        }
        try {
            use(i, std::move(*result));
        } catch (...) {
            run.Fail(std::current_exception());
            break;
        }
    }
    run.Stop();
    for (std::thread& worker : workers) worker.join();
    run.RethrowFailure();
}
