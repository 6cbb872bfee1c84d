#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "support/SharedData.h"

#ifndef _WIN32
namespace {

void SkipForWantOfSamples() { SKIP_WITHOUT_SHARED_DATA("no samples in " << "/nowhere"); }

}  // namespace

TEST(SharedData, MissingSamplesFailTheTestWhenCiIsTrue)
{
    const char* before = std::getenv("CI");
    const std::optional<std::string> saved = before ? std::optional<std::string>(before) : std::nullopt;
    setenv("CI", "true", 1);
    EXPECT_FATAL_FAILURE(SkipForWantOfSamples(), "no samples in /nowhere (required when CI is true)");
    saved ? setenv("CI", saved->c_str(), 1) : unsetenv("CI");
}
#endif
