// Block trees: one entry per placement, the drawing's own first, then breadth first the
// placements inside every placed definition, each with the transform composed down its chain.
#include <cmath>
#include <unordered_map>

#include "formats/jww/JwwEntityModel.h"

namespace {

// The placement's own matrix: scale, then rotate.
TBlockTransform PlacementMatrix(const TEntJwwBlock& insert)
{
    const long double r = insert.rotation;
    const long double sx = insert.scaleX;
    const long double sy = insert.scaleY;
    TBlockTransform t;
    t.m00 = static_cast<double>(sx * std::cos(r));
    t.m01 = static_cast<double>(-sy * std::sin(r));
    t.m10 = static_cast<double>(sx * std::sin(r));
    t.m11 = static_cast<double>(sy * std::cos(r));
    return t;
}

// `outer` applied after `inner`'s matrix, with the insertion point mapped by `outer`.
TBlockTransform Compose(const TBlockTransform& outer, const TEntJwwBlock& insert)
{
    const TBlockTransform local = PlacementMatrix(insert);
    const long double x = insert.x;
    const long double y = insert.y;
    TBlockTransform t;
    t.originX = static_cast<double>(outer.originX + static_cast<long double>(outer.m00) * x + outer.m01 * y);
    t.originY = static_cast<double>(outer.originY + static_cast<long double>(outer.m10) * x + outer.m11 * y);
    t.m00 = static_cast<double>(static_cast<long double>(outer.m00) * local.m00 + static_cast<long double>(outer.m01) * local.m10);
    t.m01 = static_cast<double>(static_cast<long double>(outer.m00) * local.m01 + static_cast<long double>(outer.m01) * local.m11);
    t.m10 = static_cast<double>(static_cast<long double>(outer.m10) * local.m00 + static_cast<long double>(outer.m11) * local.m10);
    t.m11 = static_cast<double>(static_cast<long double>(outer.m10) * local.m01 + static_cast<long double>(outer.m11) * local.m11);
    return t;
}

}  // namespace

void TJwwEntityModel::BuildBlockTrees()
{
    blockTrees = {};
    blockTreesCut = false;
    if (blockInserts.empty()) return;

    // The first definition in file order wins when several share a number.
    std::unordered_map<uint32_t, int32_t> firstDefinition;
    for (size_t i = 0; i < blockDefs.size(); ++i) firstDefinition.emplace(blockDefs[i].number, static_cast<int32_t>(i));
    auto definitionOf = [&](uint32_t number) {
        auto hit = firstDefinition.find(number);
        return hit == firstDefinition.end() ? -1 : hit->second;
    };
    auto makeEntry = [&](const TEntJwwCommon& common, int32_t depth, int32_t parent, const TEntJwwBlock& insert,
                         const TBlockTransform& transform, int32_t defIndex) {
        TEntJwwBlockTree entry;
        entry.common = common;
        entry.depth = depth;
        entry.parent = parent;
        entry.blockNumber = static_cast<int32_t>(insert.blockNumber);
        entry.defIndex = defIndex;
        if (defIndex >= 0) entry.name = blockDefs[static_cast<size_t>(defIndex)].name;
        entry.transform = transform;
        blockTrees.push_back(std::move(entry));
    };
    // True when `defIndex` is the definition of entry `k` or of one of its parents.
    auto inChain = [&](int32_t k, int32_t defIndex) {
        for (int32_t j = k; j >= 0; j = blockTrees[static_cast<size_t>(j)].parent) {
            if (blockTrees[static_cast<size_t>(j)].defIndex == defIndex) return true;
        }
        return false;
    };

    for (const TEntJwwBlock& insert : blockInserts) {
        if (blockTrees.size() >= kMaxBlockTrees) {
            blockTreesCut = true;
            return;
        }
        TBlockTransform t = PlacementMatrix(insert);
        t.originX = insert.x;
        t.originY = insert.y;
        makeEntry(insert.common, 0, -1, insert, t, definitionOf(insert.blockNumber));
    }

    // The list grows inside the loop: entries appended here are visited later.
    for (size_t k = 0; k < blockTrees.size(); ++k) {
        const int32_t defIndex = blockTrees[k].defIndex;
        if (defIndex < 0) continue;
        const TEntJwwBlockDef& def = blockDefs[static_cast<size_t>(defIndex)];
        const TBlockTransform outer = blockTrees[k].transform;  // copied: push_back moves entries
        const int32_t depth = blockTrees[k].depth + 1;
        for (const TEntJwwBlock& nested : def.records.blockInserts) {
            const int32_t nestedDef = definitionOf(nested.blockNumber);
            if (nestedDef >= 0 && inChain(static_cast<int32_t>(k), nestedDef)) continue;  // places itself
            if (blockTrees.size() >= kMaxBlockTrees) {
                blockTreesCut = true;
                return;
            }
            // Nested members take the layer of the enclosing definition, not of the insert.
            makeEntry(def.common, depth, static_cast<int32_t>(k), nested, Compose(outer, nested), nestedDef);
        }
    }
}
