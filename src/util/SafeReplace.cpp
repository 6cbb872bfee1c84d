#include "util/SafeReplace.h"

#include <atomic>
#include <chrono>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// A name no other writer uses at the same time: the process, a counter and the clock.
fs::path TemporarySibling(const fs::path& target)
{
    static std::atomic<unsigned> counter{0};
#ifdef _WIN32
    const unsigned long process = GetCurrentProcessId();
#else
    const unsigned long process = static_cast<unsigned long>(getpid());
#endif
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::string unique = std::to_string(process) + '-' + std::to_string(counter++) + '-' +
                               std::to_string(static_cast<unsigned long long>(ticks) % 1000000);
    fs::path name(".");
    name += target.filename();
    name += fs::path("." + unique + ".tmp");
    return target.parent_path() / name;
}

bool RenameOver(const fs::path& from, const fs::path& to)
{
#ifdef _WIN32
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != 0;
#else
    std::error_code error;
    fs::rename(from, to, error);
    return !error;
#endif
}

}  // namespace

TReplacement::TReplacement(const fs::path& target) : target_(target)
{
    std::error_code error;
    if (fs::is_symlink(target_, error)) {
        const fs::path resolved = fs::weakly_canonical(target_, error);
        if (!error) target_ = resolved;
    }
    const fs::file_status status = fs::status(target_, error);
    inPlace_ = fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status);
    writePath_ = inPlace_ ? target_ : TemporarySibling(target_);
}

TReplacement::~TReplacement()
{
    if (committed_ || inPlace_) return;
    std::error_code error;
    fs::remove(writePath_, error);
}

bool TReplacement::Commit()
{
    committed_ = inPlace_ || RenameOver(writePath_, target_);
    return committed_;
}
