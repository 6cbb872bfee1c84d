#include "formats/DrawingReader.h"

#include <algorithm>
#include <new>

#include "util/DrawingFacts.h"

TReadResult ReadGuarded(TByteCursor& cursor, std::string_view signature,
                        const std::function<TReadStatus(TByteCursor&)>& read)
{
    try {
        if (!cursor.StartsWith(signature)) return {TReadStatus::NotThisFormat, 0};
    } catch (const std::bad_alloc&) {
        return {TReadStatus::TooLarge, 0};
    }
    try {
        const TReadStatus status = read(cursor);
        return {status, cursor.Position()};
    } catch (const TReadFailure&) {
        return {TReadStatus::Damaged, cursor.Position()};
    } catch (const std::bad_alloc&) {
        return {TReadStatus::TooLarge, cursor.Position()};
    }
}

void ShowEveryLayer(TgraAttribute& attributes)
{
    attributes.ResetLayers();
    for (int i = 0; i < jw::kLayerCount; ++i) attributes.SetLayerState(i, static_cast<int>(jw::TLayerState::Shown));
}
