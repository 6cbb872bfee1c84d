#pragma once
// One fuzzer input through the engine's conversion of one file, into a document in memory.
//
// The input's first byte picks one of kFuzzOptionSetCount option sets (arc division modes at
// their extreme values, entity kinds left in or out, point markers, coordinate factor, output
// format, background); the rest is the file. Any bytes are accepted: a file the reader does
// not recognise is dropped quietly, and nothing is kept from one call to the next.
#include <cstddef>
#include <cstdint>

#include "engine/InputFormat.h"

inline constexpr size_t kFuzzOptionSetCount = 18;

void FuzzConvertOne(TInputFormat format, const uint8_t* data, size_t size);
