#include "formats/ReadResult.h"

const char* TReadResult::Description() const
{
    switch (status) {
    case TReadStatus::Complete: return "complete";
    case TReadStatus::Damaged: return "damaged";
    case TReadStatus::NotThisFormat: return "not this format";
    case TReadStatus::Unsupported: return "unsupported version";
    case TReadStatus::TooLarge: return "too large";
    case TReadStatus::Unreadable: return "unreadable";
    }
    return "unknown";
}
