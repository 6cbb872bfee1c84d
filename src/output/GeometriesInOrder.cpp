#include "output/GeometriesInOrder.h"

#include <optional>

#include "util/OrderedTasks.h"

namespace {

constexpr std::size_t kPieceBufferSize = std::size_t{1} << 18;

}  // namespace

unsigned WriterThreadsFor(const TConversionContext& context)
{
    return context.ThreadsFor(context.Store.Figures.size());
}

void WriteGeometriesInOrder(TColladaDocument& doc, const TFigureGroups& groups, unsigned threads,
                            const TGeometryWriter& write)
{
    // No text in memory: the group is written into the document when its turn comes.
    using TPiece = std::optional<TTextBlocks>;
    const auto make = [&](std::size_t i) -> TPiece {
        const TFigureGroup& group = groups.Groups[i];
        if (threads < 2 || group.Last - group.First > kLargeGroup) return std::nullopt;
        TBufferedOutput memory(kPieceBufferSize);
        TColladaDocument piece(memory, doc.Scale());
        write(piece, group);
        return memory.TakeBlocks();
    };
    const auto use = [&](std::size_t i, TPiece&& piece) {
        if (piece) doc.File().WriteBlocks(*piece);
        else write(doc, groups.Groups[i]);
    };
    RunInOrder<TPiece>(groups.Groups.size(), threads, 2 * static_cast<std::size_t>(threads), make, use);
}
