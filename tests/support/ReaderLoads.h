#pragma once
// How tests hand the fixture writers' byte vectors to the readers, and what a reader must
// answer for a prefix of a file.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "formats/ReadResult.h"

// Only for use within one expression when `bytes` is a temporary.
inline std::span<const std::byte> AsBytes(const std::vector<uint8_t>& bytes) { return std::as_bytes(std::span(bytes)); }

// The first `length` bytes of a file whose reading ends at `end`: shorter than the signature
// they are not the format, from `end` on they are complete, between they are damaged; reading
// never stops past the prefix.
inline void CheckPrefixResult(const TReadResult& read, size_t length, std::string_view signature, size_t end)
{
    const TReadStatus expected = length < signature.size() ? TReadStatus::NotThisFormat
                                 : length >= end           ? TReadStatus::Complete
                                                           : TReadStatus::Damaged;
    ASSERT_EQ(read.status, expected) << "prefix " << length;
    ASSERT_LE(read.offset, length) << "prefix " << length;
}
