#pragma once
// The files of a batch as jobs that can run side by side and still give the documents of a
// run one file after another: what each file is, where its document goes, the background
// mode it starts with and which earlier job writes the same document.
#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <vector>

#include "app/BatchPaths.h"

struct TBatchJob {
    static constexpr size_t kNone = static_cast<size_t>(-1);

    TInputFormat Format = TInputFormat::None;
    std::filesystem::path Input;
    std::filesystem::path Output;
    // The background mode when the file starts, and after it.
    TBackground Background = TBackground::Light;
    TBackground BackgroundAfter = TBackground::Light;
    // The last earlier job with the same document (kNone when none): it must be written
    // first, as later documents replace earlier ones.
    size_t SameOutputAs = kNone;
};

// One job per file, with its document path (`outputs`, same length). Backgrounds and
// SameOutputAs are left unset.
std::vector<TBatchJob> PlanBatchJobs(const std::vector<std::filesystem::path>& files,
                                     const std::vector<std::filesystem::path>& outputs);

// What settling a job needs from its files, found from that job alone, so that workers can
// find it for their own jobs side by side: the background mode after the file from either
// mode before (the drawing's head is read for a JWW drawing), and the document's path as the
// file system resolves it, so that two spellings of one document meet.
struct TJobFacts {
    TBackground AfterLight = TBackground::Light, AfterDark = TBackground::Dark;
    std::filesystem::path Document;
};

// Documents' paths as the file system resolves them, keeping the folder resolved last: the
// documents of a batch mostly share one folder, and resolving a path costs a system call for
// each of its parts. One per thread.
class TDocumentKeys {
public:
    // The file `output` names: its folder resolved as far as it exists, then its name. A
    // document that is a symbolic link is followed, as its replacement follows it.
    std::filesystem::path Of(const std::filesystem::path& output);

private:
    std::filesystem::path folder_, resolved_;
    bool known_ = false;
};

TJobFacts FindJobFacts(const TBatchJob& job, TDocumentKeys& keys);

// Settles the jobs one after another in list order, as converting them in order would see
// them: each job's starting and closing background (`initial` before the first job; `fixed`,
// when set, before every job; a JWW drawing whose pen 0 is dark or light sets the mode for
// the jobs after it), and SameOutputAs.
class TJobSettler {
public:
    TJobSettler(TBackground initial, std::optional<TBackground> fixed) : mode_(initial), fixed_(fixed) {}
    // Settles jobs[index] with its facts; every job before it must be settled already.
    void Settle(std::vector<TBatchJob>& jobs, size_t index, const TJobFacts& facts);

private:
    TBackground mode_;
    std::optional<TBackground> fixed_;
    std::map<std::filesystem::path, size_t> lastWriter_;  // document -> job
};
