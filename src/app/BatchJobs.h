#pragma once
// The files of a batch as jobs that can run side by side and still give the documents of a
// run one file after another: what each file is, where its document goes, the background
// mode it starts with and which earlier job writes the same document.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <vector>

#include "app/BatchPaths.h"

struct TBatchJob {
    static constexpr size_t kNone = static_cast<size_t>(-1);

    TInputFormat Format = TInputFormat::None;
    std::filesystem::path Input;
    std::filesystem::path Output;
    // The attribute table's background mode when the file starts, and after it.
    int Background = 0;
    int BackgroundAfter = 0;
    // The last earlier job with the same document (kNone when none): it must be written
    // first, as later documents replace earlier ones.
    size_t SameOutputAs = kNone;
};

// One job per file, with its document path (`outputs`, same length). Backgrounds and
// SameOutputAs are left unset.
std::vector<TBatchJob> PlanBatchJobs(const std::vector<std::filesystem::path>& files,
                                     const std::vector<std::filesystem::path>& outputs);

// Sets SameOutputAs, comparing the documents' paths as the file system resolves them.
void LinkSameOutputs(std::vector<TBatchJob>& jobs);

// Sets the job's starting and closing background as converting the jobs in order would,
// `mode` being the mode the job before it left (updated to this one's): `fixed`, when set,
// is set before every file; a JWW drawing whose pen 0 is dark or light sets the mode for
// the files after it. Reads only the head of a JWW file.
void SettleBackground(TBatchJob& job, int& mode, std::optional<int> fixed);
