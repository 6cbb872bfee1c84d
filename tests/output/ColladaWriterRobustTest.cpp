#include <gtest/gtest.h>

#include <filesystem>

#include "support/Conversion.h"
#include "support/TempDir.h"

#ifdef __linux__
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

TConversionContext SmallDrawing()
{
    TConversionContext context;
    context.Store.ResetPalette(context.Attributes);
    context.Store.AddLine(0, 2, 0, 0, 1000, 0);
    context.Store.AddQuad(1, 3, 0, 0, 1, 0, 1, 1, 0, 1);
    return context;
}

}  // namespace

TEST(ColladaWriterRobust, FolderThatDoesNotExistYieldsNoFileAndNoError)
{
    TTempDir dir;
    TConversionContext context = SmallDrawing();
    const auto path = dir / "missing" / "out.dae";
    bool written = true;
    EXPECT_NO_THROW(written = WriteDocumentFile(context, path));
    EXPECT_FALSE(written);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST(ColladaWriterRobust, PathBelowAFileYieldsNoFile)
{
    TTempDir dir;
    WriteFileBytes(dir / "plain", "not a folder");
    TConversionContext context = SmallDrawing();
    EXPECT_NO_THROW(WriteDocumentFile(context, dir / "plain" / "out.dae"));
    EXPECT_EQ(ReadFileBytes(dir / "plain"), "not a folder");
}

TEST(ColladaWriterRobust, PathNamingAFolderLeavesTheFolderAlone)
{
    TTempDir dir;
    std::filesystem::create_directory(dir / "out.dae");
    TConversionContext context = SmallDrawing();
    EXPECT_NO_THROW(WriteDocumentFile(context, dir / "out.dae"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "out.dae"));
}

TEST(ColladaWriterRobust, ExistingDocumentIsReplacedWhole)
{
    TTempDir dir;
    const auto path = dir / "out.dae";
    WriteFileBytes(path, std::string(3'000'000, '~'));
    TConversionContext context = SmallDrawing();
    EXPECT_TRUE(WriteDocumentFile(context, path));
    const std::string text = ReadFileBytes(path);
    EXPECT_LT(text.size(), 10'000u);
    EXPECT_EQ(text.find('~'), std::string::npos);
}

#ifdef __linux__
// A rewrite that fails part way (the file may not grow past 64 KiB: flushes fail with EFBIG)
// and one killed part way (SIGXFSZ's default action) both leave the old document byte for byte.
TEST(ColladaWriterRobust, RewriteThatFailsOrIsKilledKeepsTheOldDocument)
{
    for (const bool killed : {false, true}) {
        TTempDir dir;
        const auto path = dir / "big.dae";
        const std::string old = "<old document/>";
        WriteFileBytes(path, old);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
            const rlimit noCore{0, 0}, limit{64 * 1024, 64 * 1024};
            setrlimit(RLIMIT_CORE, &noCore);
            setrlimit(RLIMIT_FSIZE, &limit);
            TConversionContext context;
            context.Store.ResetPalette(context.Attributes);
            for (int i = 0; i < 20000; ++i) context.Store.AddLine(i % 7, 1 + i % 5, i, -i, i * 0.5, i * 2.0);
            _exit(WriteDocumentFile(context, path) ? 1 : 0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_EQ(killed, WIFSIGNALED(status));
        EXPECT_EQ(ReadFileBytes(path), old);
        if (killed) continue;
        EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed write was reported as written";
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "a temporary file was left";
    }
}

TEST(ColladaWriterRobust, DeviceThatRefusesWritesIsNeitherReportedNorDeleted)
{
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    TConversionContext context = SmallDrawing();
    for (int i = 0; i < 50000; ++i) context.Store.AddLine(0, 2, i, i, -i, -i);  // more than one buffer
    bool written = true;
    EXPECT_NO_THROW(written = WriteDocumentFile(context, "/dev/full"));
    EXPECT_FALSE(written);
    EXPECT_TRUE(std::filesystem::exists("/dev/full"));
}
#endif
