#pragma once
// A document's shapes per geometry, and a binary glTF document's read back in drawing axes
// (Z up) and output units.
#include <map>
#include <string>
#include <vector>

#include "support/GlbReader.h"

namespace glb {

// Per geometry id: segments as 6 coordinates, triangles as 9, in document order.
struct TShapes {
    std::vector<std::vector<double>> Segments, Triangles;
};
using TDocumentShapes = std::map<std::string, TShapes>;

inline std::vector<double> Corners(const std::vector<double>& positions, const std::vector<double>& indices, size_t stride)
{
    std::vector<double> points;
    for (size_t i = 0; i < indices.size(); i += stride)
        for (size_t axis = 0; axis < 3; ++axis) points.push_back(positions.at(3 * size_t(indices[i]) + axis));
    return points;
}

inline void Split(const std::vector<double>& points, size_t size, std::vector<std::vector<double>>& into)
{
    for (size_t i = 0; i + size <= points.size(); i += size) into.emplace_back(points.begin() + i, points.begin() + i + size);
}


// Positions back in drawing axes and output units: the root's translation holds the centre.
inline TDocumentShapes ReadShapes(const std::string& file, std::string& rootName)
{
    const TGlb glb = ReadGlb(file);
    const TJson& gltf = glb.Json;
    const TJson& root = gltf["nodes"][0];
    rootName = root["name"].Text;
    double centre[3] = {0, 0, 0};
    if (root.Has("translation"))
        centre[0] = root["translation"][0].Number, centre[1] = -root["translation"][2].Number,
        centre[2] = root["translation"][1].Number;
    TDocumentShapes shapes;
    for (const TJson& mesh : gltf.Has("meshes") ? gltf["meshes"].Array : std::vector<TJson>{}) {
        for (const TJson& primitive : mesh["primitives"].Array) {
            std::vector<double> positions = AccessorValues(glb, primitive["attributes"]["POSITION"].Index());
            for (size_t i = 0; i < positions.size(); ++i) positions[i] += centre[i % 3];
            const std::vector<double> indices = AccessorValues(glb, primitive["indices"].Index());
            const bool lines = primitive["mode"].Number == 1;
            TShapes& into = shapes[mesh["name"].Text];
            Split(Corners(positions, indices, 1), lines ? 6 : 9, lines ? into.Segments : into.Triangles);
        }
    }
    return shapes;
}

}  // namespace glb
