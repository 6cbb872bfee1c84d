#pragma once
// Tests that need the shared sample drawings or expected documents skip where these are absent,
// but fail under CI (the environment variable CI is "true"): a passing CI run must have
// checked every sample.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

inline bool SharedDataRequired()
{
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::string_view(ci) == "true";
}

// Ends the test for want of shared data: a skip, or under CI a failure. message may be a
// chain of << operands.
#define SKIP_WITHOUT_SHARED_DATA(message)                                               \
    do {                                                                                \
        if (SharedDataRequired()) FAIL() << message << " (required when CI is true)"; \
        GTEST_SKIP() << message;                                                        \
    } while (false)
