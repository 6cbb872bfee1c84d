"""Builds one drawing's Blender data from its glTF document: a collection for the drawing and
for each layer group and layer (the document's node names), one mesh object per (layer,
colour) with its unlit material, the plan on the ground with Z up."""

import array
import math

import bpy
from mathutils import Matrix, Quaternion

from . import line_width, line_width_3d

# glTF's Y up into Blender's Z up: the document's root turns the drawing's Z-up plane into Y up,
# and this turns it back.
_Y_UP_TO_Z_UP = Matrix.Rotation(math.pi / 2, 4, "X")


def _local_matrix(node):
    return (Matrix.Translation(node.translation) @ Quaternion(node.rotation).to_matrix().to_4x4()
            @ Matrix.Diagonal((*node.scale, 1.0)))


def _mesh(data):
    """A mesh of the vertices, the triangles as faces and the segments as loose edges, one edge
    per segment (duplicates kept), set whole with foreach_set."""
    mesh = bpy.data.meshes.new(data.name)
    mesh.vertices.add(len(data.positions) // 3)
    mesh.vertices.foreach_set("co", data.positions)
    edges = data.lines
    if data.triangles:
        count = len(data.triangles) // 3
        mesh.loops.add(len(data.triangles))
        mesh.loops.foreach_set("vertex_index", data.triangles)
        mesh.polygons.add(count)
        mesh.polygons.foreach_set("loop_start", array.array("i", range(0, 3 * count, 3)))
        mesh.polygons.foreach_set("loop_total", array.array("i", [3]) * count)
        # The faces' edges first; the segments after them, so that none is merged into a face's.
        mesh.update(calc_edges=True)
        edges = array.array("i", bytes(4 * 2 * len(mesh.edges)))
        mesh.edges.foreach_get("vertices", edges)
        edges.extend(data.lines)
        mesh.edges.add(len(data.lines) // 2)
    else:
        mesh.edges.add(len(edges) // 2)
    mesh.edges.foreach_set("vertices", edges)
    mesh.update()
    return mesh


def _material(source):
    """Unlit: the colour as emission, so a render shows the plan as the viewport does."""
    material = bpy.data.materials.new(source.name)
    material.diffuse_color = source.color
    material.use_nodes = True
    nodes = material.node_tree.nodes
    nodes.clear()
    emission = nodes.new("ShaderNodeEmission")
    emission.inputs["Color"].default_value = source.color
    emission.inputs["Strength"].default_value = 1.0
    output = nodes.new("ShaderNodeOutputMaterial")
    output.location = (300, 0)
    material.node_tree.links.new(emission.outputs[0], output.inputs["Surface"])
    return material


class DrawingBuilder:
    """Makes the data of one document, and removes it again when a drawing fails halfway."""

    def __init__(self, document, hidden_layers, width):
        self.document = document
        self.hidden_layers = hidden_layers  # layer numbers (the nodes' "layer" extras)
        self.width = width                  # of the lines' ribbons in scene units; 0 for none
        self.made = []                      # every ID made, in order
        self.hidden = []                    # collections to hide
        self._materials = {}

    def build(self, parent, view_layer):
        """The document's root collections, linked into `parent`."""
        roots = [self._node(root, parent, _Y_UP_TO_Z_UP) for root in self.document.roots]
        self._hide(view_layer)
        return [root for root in roots if isinstance(root, bpy.types.Collection)]

    def remove(self):
        stores = ((bpy.types.Object, bpy.data.objects), (bpy.types.Mesh, bpy.data.meshes),
                  (bpy.types.Collection, bpy.data.collections), (bpy.types.Material, bpy.data.materials))
        for made in reversed(self.made):
            store = next(store for kind, store in stores if isinstance(made, kind))
            store.remove(made)
        self.made.clear()

    def _node(self, node, collection, parent_matrix):
        matrix = parent_matrix @ _local_matrix(node)
        if node.mesh is not None:
            obj = self._object(node, matrix)
            collection.objects.link(obj)
            for child in node.children:
                self._node(child, collection, matrix)
            return obj
        inner = bpy.data.collections.new(node.name)
        self.made.append(inner)
        for key, value in node.extras.items():
            if isinstance(value, (int, float, str)):
                inner[key] = value
        collection.children.link(inner)
        if node.extras.get("layer") in self.hidden_layers:
            self.hidden.append(inner)
        for child in node.children:
            self._node(child, inner, matrix)
        return inner

    def _object(self, node, matrix):
        mesh = _mesh(node.mesh)
        self.made.append(mesh)
        if 0 <= node.mesh.material < len(self.document.materials):
            mesh.materials.append(self._material(node.mesh.material))
        obj = bpy.data.objects.new(node.name, mesh)
        self.made.append(obj)
        obj.matrix_world = matrix
        if self.width > 0 and node.mesh.lines:
            group = (line_width_3d.node_group() if line_width_3d.is_raised(node.mesh.positions)
                     else line_width.node_group(bool(node.mesh.triangles)))
            line_width.add_modifier(obj, group, self.width, mesh.materials[0] if mesh.materials else None)
        return obj

    def _material(self, number):
        if number not in self._materials:
            self._materials[number] = _material(self.document.materials[number])
            self.made.append(self._materials[number])
        return self._materials[number]

    def _hide(self, view_layer):
        """Hidden layers: out of renders, and their eye closed in the view layer."""
        if not self.hidden:
            return
        wanted = set(self.hidden)
        pending = [view_layer.layer_collection]
        while pending:
            layer_collection = pending.pop()
            if layer_collection.collection in wanted:
                layer_collection.hide_viewport = True
            pending.extend(layer_collection.children)
        for collection in self.hidden:
            collection.hide_render = True

