#pragma once
// A batch: the listed files converted one by one (or on several threads, reported in the same
// order), each into its document, with what happens told to the front end as it goes. The
// command line and the window run their batches through here.
#include <cstddef>
#include <filesystem>
#include <vector>

#include "app/Destination.h"
#include "app/FileOutcome.h"
#include "engine/ConversionOptions.h"

// What a batch tells its front end, always on the calling thread and in list order.
class TBatchReport {
public:
    virtual ~TBatchReport() = default;
    // True while the user asks to stop (Escape, Ctrl-C): no further file starts.
    virtual bool StopRequested() = 0;
    // File n (from 1) of `count` is converted now (or was, by a worker).
    virtual void FileStarting(size_t n, size_t count, const std::filesystem::path& input) = 0;
    // The file's outcome: converted (or not) and its document written (or not).
    virtual void FileDone(const TFileOutcome& outcome) = 0;
};

// Converts `files` (each already taken in) with `options` into documents at `place`, on up to
// `jobs` threads (0: one per core; 1: one file at a time, each on options.Threads). Files of
// an unknown format are passed over. Afterwards options.CarriedBackground is the background
// the last converted file left, for the next batch. Answers false when it was stopped.
bool RunBatch(const std::vector<std::filesystem::path>& files, TConversionOptions& options, const TOutputPlace& place,
              unsigned jobs, TBatchReport& report);
