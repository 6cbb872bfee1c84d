// The background read from a drawing's head must be the one converting the whole drawing
// leaves: checked against the full reader for the samples and for made drawings whose pens
// sit past the first read, are cut off, or that are no drawings at all.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "formats/jww/JwwBackground.h"
#include "formats/jww/jwwunit.h"
#include "support/JwwSamples.h"
#include "support/JwwWriter.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

// The mode after loading the whole file and importing its pens, as a conversion does.
int ModeAfterWholeFile(const fs::path& path, int modeBefore)
{
    TgraAttribute attributes;
    attributes.SetBackground(modeBefore);
    TJwwData data;
    if (data.CheckSignature(path)) {
        static_cast<void>(data.LoadFile(path));  // the pens read count whatever the ending
        data.ImportPens(attributes);
    }
    return attributes.BackgroundMode();
}

}  // namespace

TEST(JwwBackground, HeadGivesTheModeOfTheWholeFile)
{
    TTempDir dir;
    struct TCase {
        const char* name;
        int32_t version;
        uint32_t pen0;
        size_t nameLength;  // of every layer name: 200 puts the pens past 50 KB
        bool cut;           // the file ends halfway through its header
        bool changesMode;   // from either mode before
    };
    const TCase cases[] = {
        {"dark.jww", 600, 0x000000, 0, false, true},      {"light-far.jww", 600, 0xF0F0F0, 200, false, true},
        {"grey.jww", 600, 0x808080, 0, false, false},     {"cut.jww", 600, 0xFFFFFF, 200, true, false},
        {"old.jww", 200, 0xFFFFFF, 0, false, false},      {"dark-wide.jww", 700, 0x101010, 100, false, true},
    };
    std::vector<fs::path> files = jwwsamples::SampleFiles();
    for (const TCase& c : cases) {
        jwwfixture::TJwwFileWriter writer(c.version);
        writer.header.penColors[0] = c.pen0;
        writer.header.layerNames.fill(std::string(c.nameLength, 'a'));
        std::vector<uint8_t> bytes = writer.Build();
        if (c.cut) bytes.resize(writer.HeaderSize() / 2);
        WriteFileBytes(dir / c.name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        files.push_back(dir / c.name);
        const std::array<int, 2> after = JwwBackgroundsAfter(dir / c.name);
        EXPECT_EQ(after[0] != after[1], !c.changesMode) << c.name;
    }
    WriteFileBytes(dir / "text.jww", "JwwData? not a drawing");
    files.push_back(dir / "text.jww");
    files.push_back(dir / "missing.jww");
    files.push_back(dir.Path());  // a folder
    for (const fs::path& file : files) {
        const std::array<int, 2> after = JwwBackgroundsAfter(file);
        for (int before : {0, 1}) EXPECT_EQ(after[static_cast<size_t>(before)], ModeAfterWholeFile(file, before)) << file;
    }
}
