"""Line widths for a drawing with heights. The plain groups of line_width lay every ribbon in the
drawing's plane, which leaves a vertical edge (a corner of a wall, from its foot to its top) a
ribbon of no width: its curve's "Z up" normal has no direction. This group sweeps the loose
edges that stand upright with a small polygon instead, a post that shows from every side, and
the other loose edges as flat ribbons; the faces (walls, roofs) stay as they are."""

import bpy

from . import line_width

GROUP_NAME = "Tessaro line width (3D)"
_TAG = "tessaro_line_width_3d"
_VERSION = 2
_UPRIGHT = 0.999  # |cos| of an edge's angle to Z from which it counts as vertical
_POST_SIDES = 6


def _build(group):
    nodes, link = group.nodes, group.links.new
    line_width._new_socket(group, "NodeSocketGeometry", "Geometry", "INPUT")
    width = line_width._new_socket(group, "NodeSocketFloat", line_width.WIDTH_INPUT, "INPUT")
    width.min_value, width.default_value = 0.0, 0.025
    line_width._new_socket(group, "NodeSocketMaterial", line_width.MATERIAL_INPUT, "INPUT")
    line_width._new_socket(group, "NodeSocketGeometry", "Geometry", "OUTPUT")
    given, result = nodes.new("NodeGroupInput"), nodes.new("NodeGroupOutput")

    def math(operation, a, b=None):
        node = nodes.new("ShaderNodeMath")
        node.operation = operation
        for socket, value in ((node.inputs[0], a), (node.inputs[1], b)):
            if isinstance(value, (int, float)):
                socket.default_value = value
            elif value is not None:
                link(value, socket)
        return node.outputs[0]

    # Loose edges (no face) are lines; of those, the ones along Z are upright.
    neighbours = nodes.new("GeometryNodeInputMeshEdgeNeighbors")
    loose = math("LESS_THAN", neighbours.outputs["Face Count"], 0.5)
    ends = nodes.new("GeometryNodeInputMeshEdgeVertices")
    along = nodes.new("ShaderNodeVectorMath")
    along.operation = "SUBTRACT"
    link(ends.outputs["Position 2"], along.inputs[0])
    link(ends.outputs["Position 1"], along.inputs[1])
    direction = nodes.new("ShaderNodeVectorMath")
    direction.operation = "NORMALIZE"
    link(along.outputs[0], direction.inputs[0])
    parts = nodes.new("ShaderNodeSeparateXYZ")
    link(direction.outputs[0], parts.inputs[0])
    vertical = math("GREATER_THAN", math("ABSOLUTE", parts.outputs["Z"]), _UPRIGHT)
    flat_lines = math("GREATER_THAN", math("SUBTRACT", loose, vertical), 0.5)
    upright_lines = math("GREATER_THAN", math("ADD", loose, vertical), 1.5)

    # The flat ribbons, as line_width makes them.
    curves = nodes.new("GeometryNodeMeshToCurve")
    link(given.outputs[0], curves.inputs["Mesh"])
    link(flat_lines, curves.inputs["Selection"])
    normal, ribbons = line_width.flat_ribbons(group, curves.outputs[0], given.outputs[line_width.WIDTH_INPUT])

    # The upright lines as posts as wide as a ribbon.
    uprights = nodes.new("GeometryNodeMeshToCurve")
    link(given.outputs[0], uprights.inputs["Mesh"])
    link(upright_lines, uprights.inputs["Selection"])
    ring = nodes.new("GeometryNodeCurvePrimitiveCircle")
    ring.inputs["Resolution"].default_value = _POST_SIDES
    link(math("MULTIPLY", given.outputs[line_width.WIDTH_INPUT], 0.5), ring.inputs["Radius"])
    posts = nodes.new("GeometryNodeCurveToMesh")
    link(uprights.outputs[0], posts.inputs["Curve"])
    link(ring.outputs["Curve"], posts.inputs["Profile Curve"])

    # The faces and vertices without the loose edges, then everything together.
    rest = nodes.new("GeometryNodeDeleteGeometry")
    rest.domain, rest.mode = "EDGE", "EDGE_FACE"
    link(given.outputs[0], rest.inputs["Geometry"])
    link(loose, rest.inputs["Selection"])
    # Ribbons and posts are new geometry: they take the mesh's material again (see line_width).
    lines = nodes.new("GeometryNodeJoinGeometry")
    for part in (ribbons, posts):
        link(part.outputs[0], lines.inputs[0])
    coloured = nodes.new("GeometryNodeSetMaterial")
    link(lines.outputs[0], coloured.inputs["Geometry"])
    link(given.outputs[line_width.MATERIAL_INPUT], coloured.inputs["Material"])
    joined = nodes.new("GeometryNodeJoinGeometry")
    for part in (coloured, rest):
        link(part.outputs[0], joined.inputs[0])
    link(joined.outputs[0], result.inputs[0])
    for column, node in enumerate((given, curves, normal, ribbons, joined, result)):
        node.location = (column * 200, 0)
    for column, node in enumerate((uprights, ring, posts)):
        node.location = (200 + column * 200, -300)


def node_group():
    """The shared group for meshes with heights, made the first time."""
    for group in bpy.data.node_groups:
        if group.bl_idname == "GeometryNodeTree" and group.get(_TAG) == _VERSION:
            return group
    group = bpy.data.node_groups.new(GROUP_NAME, "GeometryNodeTree")
    group[_TAG] = _VERSION
    _build(group)
    return group


def is_raised(positions):
    """Whether a mesh's positions (x, y, z each) leave the drawing's plane."""
    heights = positions[2::3]
    return len(heights) > 0 and (max(heights) != 0.0 or min(heights) != 0.0)
