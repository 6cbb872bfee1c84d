// libFuzzer entry for .JWS files: the option-set byte, then the file.
#include "fuzz/FuzzConvert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzConvertOne(TInputFormat::Jws, data, size);
    return 0;
}
