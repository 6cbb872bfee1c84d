"""The Blender add-on as a user gets it, run inside Blender by scripts/blender-test.sh:
  1. its zip installs and enables;
  2. every sample imported at once gives, per layer group, layer and (layer, colour), the
     collections and the loose edges and faces of the command line's glb of it, and the layers
     left hidden are exactly those whose lines go when hidden layers are excluded;
  3. the scene's world takes the background the imported drawing's pens were made for, and a
     render of a sample from the top on it shows its lines (and none without their line width);
  4. a damaged and a foreign file imported beside a good one are reported and the good one
     imports;
  5. a drawing with heights imported with them is the command line's glb of it, has faces off the
     ground and posts on its vertical edges, and a render of it from the south-east above is
     saved beside RENDER_PNG as blender-heights.png.
Arguments after "--": ZIP TESSARO_PROGRAM SAMPLES_DIR RENDER_PNG."""

import array
import json
import math
import os
import re
import struct
import subprocess
import sys
import tempfile

import bpy
from mathutils import Vector

ZIP, PROGRAM, SAMPLES, RENDER = sys.argv[sys.argv.index("--") + 1:]
HEIGHTS_RENDER = os.path.join(os.path.dirname(RENDER), "blender-heights.png")
ALL_KINDS = {"hidden", "aux", "dims", "hatch", "points", "solids", "texts"}
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def plain(name):
    """A name without the number Blender appends to a taken one."""
    return re.sub(r"\.\d{3}$", "", name)


def bounds(values):
    """A mesh's box, low corner then high, to a hundredth of a millimetre (float32 positions)."""
    return tuple(round(v, 5) for v in values)


def glb_tree(path):
    """{group: {layer: {mesh: (segments, triangles), "text": {mesh: ...}}}} of a glb, from its
    JSON alone."""
    data = open(path, "rb").read()
    gltf = json.loads(data[20:20 + struct.unpack_from("<I", data, 12)[0]])
    nodes, accessors = gltf["nodes"], gltf["accessors"]

    def counts(mesh):
        found = {1: 0, 4: 0}
        for primitive in gltf["meshes"][mesh]["primitives"]:
            found[primitive["mode"]] += accessors[primitive["indices"]]["count"]
        positions = accessors[gltf["meshes"][mesh]["primitives"][0]["attributes"]["POSITION"]]
        return found[1] // 2, found[4] // 3, bounds(positions["min"] + positions["max"])

    def tree(node):
        return counts(node["mesh"]) if "mesh" in node else {nodes[c]["name"]: tree(nodes[c])
                                                             for c in node.get("children", [])}

    return tree(nodes[0])


def blender_tree(drawing):
    def counts(mesh):
        in_faces = array.array("i", bytes(4 * len(mesh.loops)))
        mesh.loops.foreach_get("edge_index", in_faces)
        co = array.array("f", bytes(4 * 3 * len(mesh.vertices)))
        mesh.vertices.foreach_get("co", co)
        low = [min(co[axis::3]) for axis in range(3)]
        high = [max(co[axis::3]) for axis in range(3)]
        return len(mesh.edges) - len(set(in_faces)), len(mesh.polygons), bounds(low + high)

    def tree(collection):
        found = {plain(o.name): counts(o.data) for o in collection.objects}
        found.update({plain(c.name): tree(c) for c in collection.children})
        return found

    return tree(drawing)


def import_into(parent_name, directory, names, **options):
    """Imports into a new collection; the operator's result and what Blender printed."""
    parent = bpy.data.collections.new(parent_name)
    bpy.context.scene.collection.children.link(parent)
    layer = bpy.context.view_layer
    layer.active_layer_collection = layer.layer_collection.children[parent.name]
    with tempfile.TemporaryFile() as printed:
        sys.stdout.flush()
        saved = os.dup(1)
        os.dup2(printed.fileno(), 1)
        try:
            result = bpy.ops.import_scene.tessaro(directory=directory, files=[{"name": n} for n in names], **options)
        finally:
            os.dup2(saved, 1)
            os.close(saved)
        printed.seek(0)
        text = printed.read().decode("utf-8", "replace")
    print(text, end="")
    return parent, result, text


def check_like_command_line(parent_name, samples, arguments, **options):
    """Imports the samples with the dialog's `options`: the collections, loose edges and faces
    of the command line's glb with `arguments`. The parent collection."""
    with tempfile.TemporaryDirectory() as out:
        subprocess.run([PROGRAM, "-f", "glb", "--out", out] + arguments + [os.path.join(SAMPLES, n) for n in samples],
                       check=True, stdout=subprocess.DEVNULL)
        expected = {os.path.splitext(n)[0]: glb_tree(os.path.join(out, os.path.splitext(n)[0] + ".glb"))
                    for n in samples}
    parent, result, _ = import_into(parent_name, SAMPLES, samples, **options)
    check(result == {"FINISHED"}, f"importing {samples} with {options}: {result}")
    drawings = {plain(c.name): c for c in parent.children}
    for name, tree in expected.items():
        check(drawings.get(name) is not None and blender_tree(drawings[name]) == tree,
              f"{name} with {options}: the collections, loose edges and faces are not the glb's")
    return parent


def check_samples(samples):
    everything = check_like_command_line("everything", samples, ["--include", ",".join(sorted(ALL_KINDS))],
                                         include=ALL_KINDS)
    # Every other row of the dialog, as the command line's options, on samples with arcs and points.
    some = [n for n in samples if n in ("Test1.jww", "サンプル.jww")] or samples[:2]
    check_like_command_line("options", some, ["--scale", "1000", "--arcs", "length:5:6", "--marker", "7",
                                              "--marker-size", "2", "--exclude", "dims"],
                            scale="1000", arc_mode="length", arc_length=5, arc_min=6, marker="7", marker_size=2,
                            include=ALL_KINDS - {"dims", "solids", "texts"})

    def layers(parent, visible_only):
        found = set()
        for drawing in parent.children:
            for group in drawing.children:
                for layer in group.children:
                    shown = not layer.hide_render and not find_layer_collection(layer).hide_viewport
                    if shown or not visible_only:
                        found.add((plain(drawing.name), plain(layer.name)))
        return found

    without_hidden, _, _ = import_into("without hidden", SAMPLES, samples, include=ALL_KINDS - {"hidden"})
    check(layers(everything, True) == layers(without_hidden, False),
          "the layers left visible are not those converted without hidden layers")
    check_hiding(os.path.join(SAMPLES, samples[-1]))
    with_width = [o for o in everything.all_objects if o.modifiers]
    check(with_width and all(len(o.evaluated_get(bpy.context.evaluated_depsgraph_get()).data.polygons)
                             > len(o.data.polygons) for o in with_width),
          "the line width gives no faces")


def check_hiding(path):
    """The samples hide no layer with lines: the builder is given hidden layers of its own."""
    from tessaro import engine, glb, scene
    with engine.Engine([("include", "hidden")]) as converter:
        converted = converter.convert(open(path, "rb").read(), path)
    document = glb.read(converted.glb)
    numbers = [layer.extras["layer"] for group in document.roots[0].children for layer in group.children]
    hidden = set(numbers[::2])
    drawing = scene.DrawingBuilder(document, hidden, 0.0).build(bpy.context.scene.collection,
                                                                 bpy.context.view_layer)[0]
    for group in drawing.children:
        for layer in group.children:
            want = layer["layer"] in hidden
            check(layer.hide_render == want and find_layer_collection(layer).hide_viewport == want,
                  f"layer {layer.name} of {path}: hidden should be {want}")


def find_layer_collection(collection, layer_collection=None):
    layer_collection = layer_collection or bpy.context.view_layer.layer_collection
    if layer_collection.collection == collection:
        return layer_collection
    for child in layer_collection.children:
        found = find_layer_collection(collection, child)
        if found:
            return found
    return None


def own_background(sample):
    """The background the engine gives the sample: its pens' own."""
    from tessaro import engine
    path = os.path.join(SAMPLES, sample)
    with engine.Engine([]) as converter:
        return converter.convert(open(path, "rb").read(), path).background_after


def world_colour():
    world = bpy.context.scene.world
    node = next((n for n in world.node_tree.nodes if n.type == "BACKGROUND"), None) if world and world.use_nodes else None
    return tuple(round(c, 3) for c in node.inputs["Color"].default_value[:3]) if node else None


def check_world(sample, option):
    """Imported with the dialog's background option, the sample's world is its own background."""
    from tessaro import background
    bpy.ops.wm.read_homefile(use_empty=True)
    import_into("world", SAMPLES, [sample], background=option)
    wanted = background.colour_of(own_background(sample))
    check(world_colour() == wanted, f"{sample} with the option {option}: the world is {world_colour()}, not {wanted}")


def share_off_background(sample, line_width, png):
    """Renders `sample` alone from the top into `png` on the world the import gave it, 1200
    pixels wide, its ribbons (if any) made 2.5 pixels wide to read in the picture; the share of
    pixels unlike the background."""
    bpy.ops.wm.read_homefile(use_empty=True)
    drawing, _, _ = import_into("render", SAMPLES, [sample], line_width=line_width)
    scene = bpy.context.scene
    corners = [o.matrix_world @ v.co for o in drawing.all_objects for v in o.data.vertices]
    low = [min(c[i] for c in corners) for i in range(2)]
    high = [max(c[i] for c in corners) for i in range(2)]
    camera = bpy.data.objects.new("top", bpy.data.cameras.new("top"))
    camera.data.type, camera.data.ortho_scale = "ORTHO", 1.05 * max(high[0] - low[0], high[1] - low[1])
    camera.location = ((low[0] + high[0]) / 2, (low[1] + high[1]) / 2, 100.0)
    camera.data.clip_end = 1000.0
    scene.collection.objects.link(camera)
    scene.camera = camera
    from tessaro import line_width as ribbons
    for obj in drawing.all_objects:
        for modifier in obj.modifiers:
            if modifier.name == ribbons.MODIFIER_NAME:
                modifier[ribbons._input_identifier(modifier.node_group, ribbons.WIDTH_INPUT)] = 2.5 * camera.data.ortho_scale / 1200
                obj.update_tag()
    scene.render.engine = "BLENDER_EEVEE"
    scene.eevee.taa_render_samples = 8
    scene.render.resolution_x = 1200
    scene.render.resolution_y = max(1, round(1200 * (high[1] - low[1]) / max(high[0] - low[0], 1e-9)))
    pixels, background = rendered_pixels(png)
    check(all(abs(a - b) < 0.02 for a, b in zip(background, world_colour() or ())),
          f"the render of {sample} is not on its world's colour: {tuple(background)}")
    # The lines' pixels are in the pens' colours (the materials' linear colours, as sRGB in the
    # picture), not in a default grey: a good share of them, the rest being their edges blended
    # with the background.
    srgb = lambda c: 12.92 * c if c <= 0.0031308 else 1.055 * c ** (1 / 2.4) - 0.055
    pens = {tuple(srgb(c) for c in m.diffuse_color[:3]) for o in drawing.all_objects for m in o.data.materials}
    off = in_pens = 0
    for i in range(0, len(pixels), 4):
        pixel = pixels[i:i + 3]
        if sum(abs(a - b) for a, b in zip(pixel, background)) > 0.05:
            off += 1
            in_pens += any(max(abs(a - b) for a, b in zip(pixel, pen)) < 0.08 for pen in pens)
    if line_width > 0:
        print(f"render: {in_pens / max(off, 1):.0%} of the line pixels in the pens' colours")
        check(in_pens > 0.25 * off, f"the render of {sample} shows {in_pens} of {off} line pixels in the pens' colours")
    return off / (len(pixels) // 4)


def rendered_pixels(png):
    """Renders the scene into `png`; its pixels (RGBA) and the colour of the first."""
    bpy.context.scene.render.filepath = png
    bpy.ops.render.render(write_still=True)
    image = bpy.data.images.load(png)
    pixels = array.array("f", bytes(4 * len(image.pixels)))
    image.pixels.foreach_get(pixels)
    return pixels, pixels[0:3]


def rendered_share(png):
    """Renders the scene into `png`; the share of its pixels unlike the first."""
    pixels, background = rendered_pixels(png)
    off = sum(1 for i in range(0, len(pixels), 4)
              if abs(pixels[i] - background[0]) + abs(pixels[i + 1] - background[1]) + abs(pixels[i + 2] - background[2]) > 0.05)
    return off / (len(pixels) // 4)


def check_bad_files(sample):
    with tempfile.TemporaryDirectory() as folder:
        data = open(os.path.join(SAMPLES, sample), "rb").read()
        for name, content in (("good.jww", data), ("damaged.jww", data[:len(data) // 2]),
                              ("foreign.jww", b"not a drawing\n" * 100)):
            open(os.path.join(folder, name), "wb").write(content)
        parent, result, printed = import_into("bad files", folder, ["damaged.jww", "foreign.jww", "good.jww"])
    check(result == {"FINISHED"}, f"the import with bad files: {result}")
    check(re.search(r"damaged\.jww: damaged at byte \d+; imported what was read", printed), "no damage reported")
    check("foreign.jww: not a Jw_cad drawing" in printed, "the foreign file is not reported")
    made = {plain(c.name): len(c.all_objects) for c in parent.children}
    check(made.get("good", 0) > 0 and made.get("damaged", 0) > 0 and "foreign" not in made,
          f"the drawings made beside the bad files: {made}")


def check_heights(sample, png):
    """`sample` with heights: the glb's collections, edges and faces, faces off the ground, the
    vertical edges as posts (upright faces the walls alone do not have), and a render."""
    bpy.ops.wm.read_homefile(use_empty=True)
    drawing = check_like_command_line("heights", [sample], ["--heights"], heights="m")
    objects = [o for o in drawing.all_objects if o.type == "MESH"]
    raised = sum(1 for o in objects for p in o.data.polygons if abs((o.matrix_world @ p.center).z) > 1e-3)
    check(raised > 0, f"{sample} with heights has no faces off the ground")
    depsgraph = bpy.context.evaluated_depsgraph_get()
    upright_faces = lambda mesh: sum(1 for p in mesh.polygons if abs(p.normal.z) < 0.1)  # noqa: E731
    posts = sum(upright_faces(o.evaluated_get(depsgraph).data) - upright_faces(o.data) for o in objects)
    check(posts > 0, f"{sample} with heights: its vertical edges show no width from the side")
    scene = bpy.context.scene
    scene.render.resolution_x, scene.render.resolution_y = 800, 560
    camera = bpy.data.objects.new("south-east", bpy.data.cameras.new("south-east"))
    camera.data.clip_start, camera.data.clip_end = 0.1, 10000.0
    scene.collection.objects.link(camera)
    scene.camera = camera
    # From the south-east, 35 degrees above, as near as every vertex stays in the picture (fitted
    # in a narrower angle for a margin).
    camera.rotation_euler = Vector((-1, 1, -math.sqrt(2) * math.tan(math.radians(35)))).to_track_quat("-Z", "Y").to_euler()
    camera.data.angle = math.radians(33)
    points = [c for o in objects for v in o.data.vertices for c in o.matrix_world @ v.co]
    bpy.context.view_layer.update()
    camera.location = camera.camera_fit_coords(bpy.context.evaluated_depsgraph_get(), points)[0]
    camera.data.angle = math.radians(35)
    # The faces' material is unlit, the drawing's colour everywhere: the workbench's studio
    # light in one grey shows the walls by their direction.
    scene.render.engine = "BLENDER_WORKBENCH"
    shading = scene.display.shading
    shading.light, shading.color_type, shading.single_color = "STUDIO", "SINGLE", (0.8, 0.8, 0.78)
    shading.show_cavity, shading.cavity_type, shading.show_object_outline = True, "WORLD", True
    shading.background_type = "WORLD"
    scene.world, scene.view_settings.view_transform = bpy.data.worlds.new("paper"), "Standard"
    scene.world.color = (1.0, 1.0, 1.0)
    shown = rendered_share(png)
    print(f"render: {shown:.2%} of pixels show {sample} in 3D ({raised} faces off the ground, {posts} post faces)")
    check(shown > 0.05, f"the render of {sample} in 3D shows too little of it")


bpy.ops.wm.read_homefile(use_empty=True)
bpy.ops.preferences.addon_install(filepath=ZIP, overwrite=True)
bpy.ops.preferences.addon_enable(module="tessaro")
check("tessaro" in bpy.context.preferences.addons, "the add-on did not enable")
samples = sorted(n for n in os.listdir(SAMPLES) if n.lower().endswith((".jww", ".jws", ".jwc", ".jwk")))
check_samples(samples)
check_bad_files("Test1.jww" if "Test1.jww" in samples else samples[0])
plan = "サンプル.jww" if "サンプル.jww" in samples else samples[0]
# A drawing of each screen, with the dialog's option on the other background: the world is the
# drawing's own.
for sample, option in (("2blocks.jww", "light"), (plan, "dark")):
    if sample in samples:
        check_world(sample, option)
with tempfile.TemporaryDirectory() as scratch:
    plain_edges = share_off_background(plan, 0.0, os.path.join(scratch, "plain-edges.png"))
shown = share_off_background(plan, 0.25, RENDER)
print(f"render: {shown:.2%} of pixels show lines at 0.25 mm, {plain_edges:.2%} with plain edges")
check(shown > 0.01 and shown > 10 * plain_edges, "the render does not show the lines")
if "Test5.jww" in samples:
    check_heights("Test5.jww", HEIGHTS_RENDER)
print(f"== Blender add-on: {len(failures)} failure(s)")
sys.exit(1 if failures else 0)
