"""Lines that render: Blender renders no loose edges, so a Geometry Nodes modifier turns each
chain of loose edges into a flat ribbon of the given width lying in the drawing's plane. The
mesh keeps its edges (the modifier is non-destructive). A mesh of lines alone gets the plain
group; one with faces too the group that picks out the loose edges and keeps the faces, which
costs more to evaluate."""

import bpy

GROUP_NAMES = {False: "Tessaro line width", True: "Tessaro line width (with faces)"}
MODIFIER_NAME = "Line width"
WIDTH_INPUT = "Width"
# The ribbons are new geometry, without the mesh's material: given it again, they render and
# show in the viewport in the pen's colour, not as grey (or, on a black world, black) surfaces.
MATERIAL_INPUT = "Material"
_TAG = "tessaro_line_width"  # marks the node group this module made, and its layout's version
_VERSION = 2


# The group's sockets: group.inputs and group.outputs up to Blender 3.6, group.interface from 4.0.
def _new_socket(group, kind, name, in_out):
    if hasattr(group, "interface"):
        return group.interface.new_socket(name, in_out=in_out, socket_type=kind)
    return (group.inputs if in_out == "INPUT" else group.outputs).new(kind, name)


def _input_identifier(group, name):
    if hasattr(group, "interface"):
        return next(item.identifier for item in group.interface.items_tree
                    if item.item_type == "SOCKET" and item.in_out == "INPUT" and item.name == name)
    return group.inputs[name].identifier


def flat_ribbons(group, curves, width):
    """Nodes in `group` that turn the curves at the socket `curves` into ribbons: their normals
    laid in the plane (Z up), swept by a line across them `width` (a socket) wide, centred on
    the line. The normal node and the sweep node (its output is the ribbons' mesh)."""
    nodes, link = group.nodes, group.links.new
    flat = nodes.new("GeometryNodeSetCurveNormal")
    flat.mode = "Z_UP"
    link(curves, flat.inputs["Curve"])
    ends = []
    for factor in (-0.5, 0.5):
        half = nodes.new("ShaderNodeMath")
        half.operation, half.inputs[1].default_value = "MULTIPLY", factor
        link(width, half.inputs[0])
        point = nodes.new("ShaderNodeCombineXYZ")
        link(half.outputs[0], point.inputs["X"])
        ends.append(point)
    across = nodes.new("GeometryNodeCurvePrimitiveLine")
    link(ends[0].outputs[0], across.inputs["Start"])
    link(ends[1].outputs[0], across.inputs["End"])
    swept = nodes.new("GeometryNodeCurveToMesh")
    link(flat.outputs[0], swept.inputs["Curve"])
    link(across.outputs[0], swept.inputs["Profile Curve"])
    return flat, swept


def _build(group, with_faces):
    nodes, link = group.nodes, group.links.new
    _new_socket(group, "NodeSocketGeometry", "Geometry", "INPUT")
    width = _new_socket(group, "NodeSocketFloat", WIDTH_INPUT, "INPUT")
    width.min_value, width.default_value = 0.0, 0.025
    _new_socket(group, "NodeSocketMaterial", MATERIAL_INPUT, "INPUT")
    _new_socket(group, "NodeSocketGeometry", "Geometry", "OUTPUT")
    given, result = nodes.new("NodeGroupInput"), nodes.new("NodeGroupOutput")

    curves = nodes.new("GeometryNodeMeshToCurve")
    link(given.outputs[0], curves.inputs["Mesh"])
    flat, swept = flat_ribbons(group, curves.outputs[0], given.outputs[WIDTH_INPUT])
    ribbons = nodes.new("GeometryNodeSetMaterial")
    link(swept.outputs[0], ribbons.inputs["Geometry"])
    link(given.outputs[MATERIAL_INPUT], ribbons.inputs["Material"])

    for column, node in enumerate((given, curves, flat, swept, ribbons, result)):
        node.location = (column * 200, 0)
    if not with_faces:
        link(ribbons.outputs[0], result.inputs[0])
        return

    # Loose edges, those without a face, are the lines; the faces and vertices stay.
    neighbours = nodes.new("GeometryNodeInputMeshEdgeNeighbors")
    loose = nodes.new("ShaderNodeMath")
    loose.operation, loose.inputs[1].default_value = "LESS_THAN", 0.5
    link(neighbours.outputs["Face Count"], loose.inputs[0])
    link(loose.outputs[0], curves.inputs["Selection"])
    rest = nodes.new("GeometryNodeDeleteGeometry")
    rest.domain, rest.mode = "EDGE", "EDGE_FACE"
    link(given.outputs[0], rest.inputs["Geometry"])
    link(loose.outputs[0], rest.inputs["Selection"])
    joined = nodes.new("GeometryNodeJoinGeometry")
    link(ribbons.outputs[0], joined.inputs[0])
    link(rest.outputs[0], joined.inputs[0])
    link(joined.outputs[0], result.inputs[0])
    for node, place in ((neighbours, (0, 300)), (loose, (200, 300)), (rest, (600, 300)), (joined, (800, 150))):
        node.location = place


def node_group(with_faces):
    """The shared node group for meshes with or without faces, made the first time."""
    tag = [_VERSION, int(with_faces)]
    for group in bpy.data.node_groups:
        if group.bl_idname == "GeometryNodeTree" and list(group.get(_TAG, [])) == tag:
            return group
    group = bpy.data.node_groups.new(GROUP_NAMES[with_faces], "GeometryNodeTree")
    group[_TAG] = tag
    _build(group, with_faces)
    return group


def add_modifier(obj, group, width, material=None):
    """Gives `obj` the modifier with `width` in scene units, its ribbons in `material`."""
    modifier = obj.modifiers.new(MODIFIER_NAME, "NODES")
    modifier.node_group = group
    modifier[_input_identifier(group, WIDTH_INPUT)] = width
    if material is not None:
        modifier[_input_identifier(group, MATERIAL_INPUT)] = material
    return modifier
