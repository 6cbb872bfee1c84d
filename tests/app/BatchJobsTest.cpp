// Keys are the paths weakly_canonical resolves (a bare name in the current folder) while the last
// folder is remembered: it changes, comes back, is linked; a linked document is the file it names.
#include <gtest/gtest.h>

#include "app/BatchJobs.h"
#include "support/TempDir.h"

TEST(DocumentKeys, AreTheResolvedPathsOfTheDocuments)
{
    namespace fs = std::filesystem;
    TTempDir dir;
    fs::create_directories(dir / "out" / "sub");
    WriteFileBytes(dir / "out" / "sub" / "real.dae", "x");
    std::error_code noLinks;
    fs::create_directory_symlink(dir / "out", dir / "linked", noLinks);
    if (!noLinks) fs::create_symlink(dir / "out" / "sub" / "real.dae", dir / "out" / "link.dae", noLinks);
    TDocumentKeys keys;
    for (const fs::path& path : {dir / "out" / "a.dae", dir / "out" / "sub" / "a.dae", dir / "out" / "." / "a.dae",
                                 dir / "linked" / "a.dae", dir / "out" / "link.dae", fs::path("bare.dae")}) {
        if (noLinks && path.string().find("link") != std::string::npos) continue;
        EXPECT_EQ(keys.Of(path), fs::weakly_canonical(path.has_parent_path() ? path : "." / path)) << path;
    }
}
