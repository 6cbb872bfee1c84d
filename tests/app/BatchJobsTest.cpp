// A document's key is the path the file system resolves it to, as std::filesystem's
// weakly_canonical gives it (a bare name as in the current folder), while one keeper
// remembers the folder it resolved last: the paths below change that folder, come back to it
// and reach it through other spellings.
#include <gtest/gtest.h>

#include <string>
#include <system_error>
#include <vector>

#include "app/BatchJobs.h"
#include "support/Conversion.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

TEST(DocumentKeys, AreTheResolvedPathsOfTheDocuments)
{
    TTempDir dir;
    const fs::path out = dir / "out";
    fs::create_directories(out / "sub");
    WriteFileBytes(out / "sub" / "real.dae", "x");
    std::error_code linked, linkedFile;
    fs::create_directory_symlink(out, dir / "linked", linked);
    fs::create_symlink(out / "sub" / "real.dae", out / "link.dae", linkedFile);

    std::vector<fs::path> paths = {out / "a.dae",          out / "sub" / "a.dae", out / "a.dae",
                                   out / "." / "a.dae",    out / "sub" / ".." / "a.dae",
                                   out / "new" / "a.dae",  out / "sub" / "real.dae", fs::path("bare.dae"),
                                   fs::path(".") / "bare.dae"};
    if (!linked) paths.insert(paths.end(), {dir / "linked" / "a.dae", dir / "linked" / "sub" / "a.dae"});
    if (!linkedFile) paths.insert(paths.end(), {out / "link.dae", out / "a.dae"});

    TDocumentKeys keys;
    for (const fs::path& path : paths) {
        SCOPED_TRACE(path.string());
        EXPECT_EQ(keys.Of(path), fs::weakly_canonical(path.has_parent_path() ? path : "." / path));
    }
    EXPECT_EQ(keys.Of("bare.dae"), keys.Of(fs::path(".") / "bare.dae"));
    if (!linked) {
        EXPECT_EQ(keys.Of(dir / "linked" / "a.dae"), keys.Of(out / "a.dae"));
    }
    // The document is replaced where its link points, so the two are one document.
    if (!linkedFile) {
        EXPECT_EQ(keys.Of(out / "link.dae"), keys.Of(out / "sub" / "real.dae"));
    }
}
