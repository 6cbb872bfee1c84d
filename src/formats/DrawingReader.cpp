#include "formats/DrawingReader.h"

#include <algorithm>
#include <new>

#include "util/DrawingFacts.h"

TReadResult ReadGuarded(std::span<const std::byte> bytes, std::string_view signature,
                        const std::function<TReadStatus(TByteCursor&)>& read)
{
    const auto head = std::as_bytes(std::span(signature));
    if (bytes.size() < head.size() || !std::equal(head.begin(), head.end(), bytes.begin()))
        return {TReadStatus::NotThisFormat, 0};
    TByteCursor cursor(bytes);
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
