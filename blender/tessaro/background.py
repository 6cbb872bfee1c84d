"""The scene's world on the background the imported drawing's pens were made for: white behind
a drawing made on a light screen, black behind one made on a dark screen, in renders and in the
3D views' solid shading, with the colours shown as they are (no tone curve greying white)."""

import bpy

LIGHT, DARK = 0, 1  # tessaro_background
_COLOURS = {LIGHT: (1.0, 1.0, 1.0), DARK: (0.0, 0.0, 0.0)}


def colour_of(background):
    return _COLOURS.get(background, _COLOURS[DARK])


def show(scene, background, screens=()):
    """Gives `scene` a world of the background's colour (making one when it has none) and
    turns the solid shading of the 3D views in `screens` to the world's colour."""
    colour = colour_of(background)
    world = scene.world
    if world is None:
        world = scene.world = bpy.data.worlds.new("Jw_cad background")
    world.color = colour  # Workbench renders and solid shading with the world's background
    world.use_nodes = True
    tree = world.node_tree
    node = next((n for n in tree.nodes if n.type == "BACKGROUND"), None)
    if node is None:
        node = tree.nodes.new("ShaderNodeBackground")
        output = next((n for n in tree.nodes if n.type == "OUTPUT_WORLD"), None) or tree.nodes.new("ShaderNodeOutputWorld")
        tree.links.new(node.outputs["Background"], output.inputs["Surface"])
    for link in list(node.inputs["Color"].links):
        tree.links.remove(link)
    node.inputs["Color"].default_value = (*colour, 1.0)
    node.inputs["Strength"].default_value = 1.0
    scene.view_settings.view_transform = "Standard"
    for screen in screens:
        for area in screen.areas:
            for space in area.spaces:
                if space.type == "VIEW_3D":
                    space.shading.background_type = "WORLD"
