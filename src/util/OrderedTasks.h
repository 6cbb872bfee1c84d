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
    if (window == 0) window = 1;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::optional<Result>> slots(window);
    std::size_t next = 0, used = 0;  // the next i to make; the i's used so far
    bool stop = false;
    std::exception_ptr failure;

    const auto canStart = [&] { return !stop && next < count && next < used + window; };
    // Makes the next result with the lock released; false when there is none to make.
    const auto makeNext = [&](std::unique_lock<std::mutex>& lock) {
        if (!canStart()) return false;
        const std::size_t i = next++;
        lock.unlock();
        std::optional<Result> made;
        std::exception_ptr error;
        try {
            made.emplace(make(i));
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        if (error) {
            if (!failure) failure = error;
            stop = true;
        } else {
            slots[i % window] = std::move(made);
        }
        changed.notify_all();
        return true;
    };
    const auto work = [&] {
        std::unique_lock lock(mutex);
        while (!stop && next < count) {
            if (!makeNext(lock)) changed.wait(lock, [&] { return stop || next == count || canStart(); });
        }
    };

    std::vector<std::thread> workers;
    for (unsigned t = 1; t < threads; ++t) {
        try {
            workers.emplace_back(work);
        } catch (const std::exception&) {
            break;  // the threads started do the work
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        std::optional<Result> result;
        if (workers.empty()) {
            result.emplace(make(i));
        } else {
            std::unique_lock lock(mutex);
            while (!stop && !slots[i % window]) {
                if (!makeNext(lock)) changed.wait(lock);
            }
            if (!slots[i % window]) break;  // stopped by a failure
            result = std::move(slots[i % window]);
            slots[i % window].reset();
            ++used;
            changed.notify_all();
        }
        try {
            use(i, std::move(*result));
        } catch (...) {
            std::lock_guard lock(mutex);
            if (!failure) failure = std::current_exception();
            stop = true;
            changed.notify_all();
            break;
        }
    }
    {
        std::lock_guard lock(mutex);
        stop = true;
        changed.notify_all();
    }
    for (std::thread& worker : workers) worker.join();
    if (failure) std::rethrow_exception(failure);
}
