#include "output/GltfWriter.h"

#include <cmath>
#include <map>
#include <string>
#include <utility>

#include "output/CentredFloat.h"
#include "output/ColladaElements.h"
#include "output/FigureGroups.h"
#include "output/GeometriesInOrder.h"
#include "output/GlbContainer.h"
#include "output/GltfBinary.h"
#include "output/LinearColor.h"
#include "output/NodeNames.h"
#include "output/WeldedGeometry.h"
#include "util/OrderedTasks.h"

namespace {

constexpr uint32_t kLines = 1, kTriangles = 4;
constexpr int kLayersPerGroup = 16;
// -90 degrees about X: the drawing's x, y, z (Z up) become glTF's x, -z, y (Y up).
constexpr double kHalfRoot2 = 0.70710678118654752440;

struct TMeshEntry {
    int32_t Layer = 0, Color = 0;
    bool Text = false;  // the outlines of the layer's texts in this colour
    uint32_t Positions = 0;
    int64_t Lines = -1, Triangles = -1;  // index accessors, -1 when the primitive is absent
};

struct TNode {
    std::string Name;
    std::vector<uint32_t> Children;
    int64_t Mesh = -1;
    const char* ExtrasKey = nullptr;  // the layer or group number, for tools that want it
    int32_t ExtrasValue = 0;
};

class TGltfBuilder {
public:
    // `groups` is filled, and SetCentre called, before MakeMesh.
    TGltfBuilder(const TConversionContext& context, const TFigureGroups& groups)
        : context_(context), groups_(groups),
          scale_(0.001L * static_cast<long double>(context.Options.CoordinateScale))
    {
    }
    void SetCentre(const TMemberBounds& bounds);

    // A group's mesh, made on any thread with its part of the binary buffer (accessor 0 the
    // positions, then the index lists); the meshes are added in the groups' order.
    struct TMesh {
        TMeshEntry Entry;  // accessor numbers within Part
        TGltfBinary Part;
    };
    // With `texts` split, a group makes two meshes: `text` false its other Figures, true its
    // texts' outlines.
    TMesh MakeMesh(const TFigureGroup& group, bool text) const;
    void AddMesh(TMesh&& mesh);
    std::string Json() const;
    const TGltfBinary& Binary() const { return binary_; }

private:
    float Relative(double stored, int axis) const;
    bool Fits(const TFigure& f) const;
    std::vector<TNode> Nodes() const;
    void WriteNodes(TJsonWriter& json) const;
    void WriteMaterialsAndMeshes(TJsonWriter& json) const;

    const TConversionContext& context_;
    const TFigureGroups& groups_;
    long double scale_;
    long double centre_[3] = {0, 0, 0};  // output units
    TCentredFloat relative_[3];          // by axis, once the centre is known
    bool everyPointFits_ = false;        // no Figure needs the Fits test
    TGltfBinary binary_;
    std::vector<TMeshEntry> meshes_;
};

// The middle of the box of every finite point drawn; the bounds are exact in double.
void TGltfBuilder::SetCentre(const TMemberBounds& bounds)
{
    for (int axis = 0; axis < 3 && bounds.Any; ++axis)
        centre_[axis] = (static_cast<long double>(bounds.Low[axis]) + bounds.High[axis]) / 2 * scale_;
    for (int axis = 0; axis < 3; ++axis) relative_[axis] = TCentredFloat(scale_, centre_[axis]);
    // Relative grows with its argument: when the bounds fit in a float, every point between them does.
    everyPointFits_ = bounds.EveryPointFinite;
    for (int axis = 0; axis < 3 && bounds.Any; ++axis)
        everyPointFits_ = everyPointFits_ && std::isfinite(Relative(bounds.Low[axis], axis)) &&
                          std::isfinite(Relative(bounds.High[axis], axis));
}

float TGltfBuilder::Relative(double stored, int axis) const { return relative_[axis](stored); }

bool TGltfBuilder::Fits(const TFigure& f) const
{
    for (int i = 0; i < FigurePointCount(f.Kind); ++i) {
        const TFigPoint& p = f.Points[i];
        if (!std::isfinite(Relative(p.x, 0)) || !std::isfinite(Relative(p.y, 1)) || !std::isfinite(Relative(p.z, 2)))
            return false;
    }
    return true;
}

TGltfBuilder::TMesh TGltfBuilder::MakeMesh(const TFigureGroup& group, bool text) const
{
    TFigureFilter keep;
    const bool split = context_.Store.TextSegments > 0;
    if (split && everyPointFits_) keep = [text](const TFigure& f) { return f.Text == text; };
    else if (split) keep = [this, text](const TFigure& f) { return f.Text == text && Fits(f); };
    else if (!everyPointFits_) keep = [this](const TFigure& f) { return Fits(f); };
    const TWeldedGeometry& welded = WeldGroup(context_.Store, groups_, group, static_cast<double>(scale_), keep);
    TMesh mesh{{group.Layer, group.Color, text}, {}};
    if (welded.Segments.empty() && welded.Triangles.empty()) return mesh;
    mesh.Part.ReserveMesh(welded.Vertices.size(), {welded.Segments.size(), welded.Triangles.size()});
    mesh.Entry.Positions = mesh.Part.AddPositions(welded.Vertices.size(), [&](size_t v, float* xyz) {
        const TFigPoint& p = welded.Vertices[v];
        xyz[0] = Relative(p.x, 0);
        xyz[1] = Relative(p.y, 1);
        xyz[2] = Relative(p.z, 2);
    });
    const size_t vertices = welded.Vertices.size();
    if (!welded.Segments.empty()) mesh.Entry.Lines = mesh.Part.AddIndices(welded.Segments, vertices);
    if (!welded.Triangles.empty()) mesh.Entry.Triangles = mesh.Part.AddIndices(welded.Triangles, vertices);
    return mesh;
}

void TGltfBuilder::AddMesh(TMesh&& mesh)
{
    if (mesh.Part.Empty()) return;
    TMeshEntry entry = mesh.Entry;
    const uint32_t first = binary_.Append(std::move(mesh.Part));
    entry.Positions += first;
    if (entry.Lines >= 0) entry.Lines += first;
    if (entry.Triangles >= 0) entry.Triangles += first;
    meshes_.push_back(entry);
}

std::string NameOr(const std::string& own, const std::string& fallback) { return own.empty() ? fallback : own; }

std::string MeshName(const TMeshEntry& mesh)
{
    return GeometryId(mesh.Layer, mesh.Color) + (mesh.Text ? "-text" : "");
}

// Root, then a group node, its layer nodes and their colour nodes, in ascending layers; a
// layer's texts hang from one more child of the layer, named "text", so that a viewer can
// hide them on their own. A group or layer without a name of its own is called by its
// position; see NodeNames.h for how equal names are told apart (every text node keeps its
// name: its parent tells them apart).
std::vector<TNode> TGltfBuilder::Nodes() const
{
    const TDrawingNames& names = context_.Names;
    std::vector<TNode> nodes{{NameOr(names.Drawing, "drawing"), {}, -1}};
    // Per node: its rank (root, group, layer, colour node) and the position added to a taken name.
    std::vector<std::pair<int, std::string>> ranks{{0, ""}};
    int32_t group = -1, layer = -1;
    size_t groupNode = 0, layerNode = 0, textNode = 0;
    for (size_t i = 0; i < meshes_.size(); ++i) {
        const int32_t h = meshes_[i].Layer;
        if (h / kLayersPerGroup != group) {
            group = h / kLayersPerGroup;
            groupNode = nodes.size();
            nodes[0].Children.push_back(static_cast<uint32_t>(groupNode));
            const std::string position = GroupPositionName(group);
            nodes.push_back({NameOr(names.Groups[group], position), {}, -1, "layerGroup", group});
            ranks.emplace_back(1, position);
        }
        if (h != layer) {
            layer = h;
            layerNode = nodes.size();
            textNode = 0;
            nodes[groupNode].Children.push_back(static_cast<uint32_t>(layerNode));
            nodes.push_back({NameOr(names.Layers[h], LayerPositionName(h)), {}, -1, "layer", h});
            ranks.emplace_back(2, LayerPositionName(h));
        }
        size_t parent = layerNode;
        if (meshes_[i].Text) {
            if (textNode == 0) {
                textNode = nodes.size();
                nodes[layerNode].Children.push_back(static_cast<uint32_t>(textNode));
                nodes.push_back({"text", {}, -1});
                ranks.emplace_back(-1, "");
            }
            parent = textNode;
        }
        nodes[parent].Children.push_back(static_cast<uint32_t>(nodes.size()));
        nodes.push_back({MeshName(meshes_[i]), {}, static_cast<int64_t>(i)});
        ranks.emplace_back(3, LayerPositionName(h));
    }
    // Names are claimed rank by rank, each rank in document order: a node keeps its name
    // against every node of a lower rank, so the drawing's own names win over the colour
    // nodes' generated ones.
    TUniqueNames unique;
    for (int rank = 0; rank <= 3; ++rank)
        for (size_t n = 0; n < nodes.size(); ++n)
            if (ranks[n].first == rank) nodes[n].Name = unique.Claim(nodes[n].Name, ranks[n].second);
    return nodes;
}

void TGltfBuilder::WriteNodes(TJsonWriter& json) const
{
    const std::vector<TNode> nodes = Nodes();
    json.Key("nodes").Begin('[');
    for (size_t n = 0; n < nodes.size(); ++n) {
        const TNode& node = nodes[n];
        json.Begin('{').Key("name").String(node.Name);
        if (n == 0) {
            json.Key("rotation").Begin('[').Number(-kHalfRoot2).Number(0).Number(0).Number(kHalfRoot2).End();
            const double x = static_cast<double>(centre_[0]), y = static_cast<double>(centre_[1]),
                         z = static_cast<double>(centre_[2]);
            if (x != 0 || y != 0 || z != 0) json.Key("translation").Begin('[').Number(x).Number(z).Number(-y).End();
        }
        if (!node.Children.empty()) {
            json.Key("children").Begin('[');
            for (uint32_t child : node.Children) json.Integer(child);
            json.End();
        }
        if (node.Mesh >= 0) json.Key("mesh").Integer(node.Mesh);
        if (node.ExtrasKey) json.Key("extras").Begin('{').Key(node.ExtrasKey).Integer(node.ExtrasValue).End();
        json.End();
    }
    json.End();
}

void WriteMaterial(TJsonWriter& json, int32_t color, uint32_t rgb)
{
    json.Begin('{').Key("name").String("DefColor" + std::to_string(color));
    json.Key("pbrMetallicRoughness").Begin('{').Key("baseColorFactor").Begin('[');
    json.Number(SrgbToLinear(rgb & 0xFF)).Number(SrgbToLinear((rgb >> 8) & 0xFF));
    json.Number(SrgbToLinear((rgb >> 16) & 0xFF)).Number(1).End();
    json.Key("metallicFactor").Number(0).Key("roughnessFactor").Number(1).End();
    json.Key("doubleSided").Bool(true);
    json.Key("extensions").Begin('{').Key("KHR_materials_unlit").Begin('{').End().End();
    json.End();
}

void WritePrimitive(TJsonWriter& json, uint32_t positions, int64_t indices, uint32_t mode, size_t material)
{
    json.Begin('{').Key("attributes").Begin('{').Key("POSITION").Integer(positions).End();
    json.Key("indices").Integer(indices).Key("mode").Integer(mode);
    json.Key("material").Integer(static_cast<int64_t>(material)).End();
}

void TGltfBuilder::WriteMaterialsAndMeshes(TJsonWriter& json) const
{
    if (meshes_.empty()) return;
    std::map<int32_t, size_t> materials;  // colour -> material number, ascending colours
    for (const TMeshEntry& mesh : meshes_) materials.emplace(mesh.Color, 0);
    json.Key("materials").Begin('[');
    size_t next = 0;
    for (auto& [color, number] : materials) {
        number = next++;
        WriteMaterial(json, color, context_.Store.Palette[static_cast<size_t>(color)]);
    }
    json.End();
    json.Key("meshes").Begin('[');
    for (const TMeshEntry& mesh : meshes_) {
        json.Begin('{').Key("name").String(MeshName(mesh)).Key("primitives").Begin('[');
        const size_t material = materials.at(mesh.Color);
        if (mesh.Lines >= 0) WritePrimitive(json, mesh.Positions, mesh.Lines, kLines, material);
        if (mesh.Triangles >= 0) WritePrimitive(json, mesh.Positions, mesh.Triangles, kTriangles, material);
        json.End().End();
    }
    json.End();
}

std::string TGltfBuilder::Json() const
{
    TJsonWriter json;
    json.Begin('{');
    json.Key("asset").Begin('{').Key("version").String("2.0").Key("generator").String("TESSARO").End();
    if (!meshes_.empty()) json.Key("extensionsUsed").Begin('[').String("KHR_materials_unlit").End();
    json.Key("scene").Integer(0).Key("scenes").Begin('[').Begin('{').Key("nodes").Begin('[').Integer(0).End().End().End();
    WriteNodes(json);
    WriteMaterialsAndMeshes(json);
    binary_.WriteJson(json);
    json.End();
    return json.Text();
}

}  // namespace

bool WriteGltf(const TConversionContext& context, TByteSink& sink)
{
    try {
        const unsigned threads = WriterThreadsFor(context);
        TMemberBounds bounds;
        const TFigureGroups groups = GroupFigures(context.Store, threads, &bounds);
        TGltfBuilder builder(context, groups);
        builder.SetCentre(bounds);
        using TMesh = TGltfBuilder::TMesh;
        const TWeldMemoryScope weldMemory;
        // With texts, every group is made twice: its other Figures, then its texts.
        const size_t passes = context.Store.TextSegments > 0 ? 2 : 1;
        RunInOrder<TMesh>(
            groups.Groups.size() * passes, threads, 2 * static_cast<size_t>(threads),
            [&](size_t i) { return builder.MakeMesh(groups.Groups[i / passes], i % passes == 1); },
            [&](size_t, TMesh&& mesh) { builder.AddMesh(std::move(mesh)); });
        return WriteGlb(sink, builder.Json(), builder.Binary().Pieces());
    } catch (...) {
        return false;  // out of memory
    }
}
