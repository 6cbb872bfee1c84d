// Figure files made from the sample drawings: prefixes load safely (this runs under the
// sanitizers). Files made by the fixture writer are covered by StreamTruncation.
#include <gtest/gtest.h>

#include "support/JwsSamples.h"
#include "support/JwwSamples.h"
#include "support/SharedData.h"
#include "support/StreamReaders.h"

TEST(JwsTruncation, PrefixesOfFigureFilesMadeFromTheSampleDrawingsLoadSafely)
{
    const auto drawings = jwwsamples::SampleFiles();
    if (drawings.empty()) SKIP_WITHOUT_SHARED_DATA("shared samples absent");
    for (const auto& drawing : drawings) {
        SCOPED_TRACE(drawing.string());
        const jwssamples::TJwsSample sample = jwssamples::JwsFromDrawing(drawing);
        ASSERT_FALSE(sample.bytes.empty());
        // Every length through the header and the first records, then about 3000 evenly
        // spread prefixes (an odd stride meets every alignment).
        streamfixture::CheckPrefixes<TJwsData>(sample.bytes, 4096, (sample.bytes.size() / 3000) | 1);
    }
}
