#pragma once
// Replacing a file so that a failed or interrupted write never costs the old one: the new
// content goes to a temporary file in the same folder, which is renamed over the old file only
// when it is complete (an atomic rename on POSIX; MoveFileExW with replace on Windows).
#include <filesystem>

class TReplacement {
public:
    // Prepares the replacement of `target`. A target that exists but is not a regular file (a
    // device such as /dev/null, a pipe) is written in place, as renaming would replace the
    // device itself; a symbolic link is followed, so the file it names is replaced.
    explicit TReplacement(const std::filesystem::path& target);
    // Removes the temporary file unless Commit succeeded.
    ~TReplacement();
    TReplacement(const TReplacement&) = delete;
    TReplacement& operator=(const TReplacement&) = delete;

    // Where the new content is to be written.
    const std::filesystem::path& WritePath() const { return writePath_; }
    // Puts the written file in the target's place; false (and the old file untouched) when the
    // rename fails.
    bool Commit();

private:
    std::filesystem::path target_;
    std::filesystem::path writePath_;
    bool inPlace_ = false;
    bool committed_ = false;
};
