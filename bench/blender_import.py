"""Run by bench/blender-import.sh inside Blender: the add-on's import of a drawing against
Blender's own glTF importer on the converter's glb of it, each in an empty scene, and the
time the add-on's line widths take to evaluate. Arguments after "--": DRAWING GLB RUNS."""

import os
import sys
import time

import bpy

drawing, document, runs = sys.argv[sys.argv.index("--") + 1:]


def best_of(action):
    times = []
    for _ in range(int(runs)):
        bpy.ops.wm.read_homefile(use_empty=True)
        start = time.perf_counter()
        result = action()
        times.append(time.perf_counter() - start)
    return min(times), result


def add_on(line_width):
    def run():
        bpy.ops.import_scene.tessaro(directory=os.path.dirname(drawing),
                                     files=[{"name": os.path.basename(drawing)}], line_width=line_width)
        return sum(len(o.data.edges) for o in bpy.data.objects if o.type == "MESH")
    return run


def evaluate():
    bpy.context.view_layer.update()
    bpy.context.evaluated_depsgraph_get()


addon_seconds, edges = best_of(add_on(0.25))
start = time.perf_counter()
evaluate()
ribbons_seconds = time.perf_counter() - start
plain_seconds, _ = best_of(add_on(0.0))
print(f"add-on import: {addon_seconds:.2f} s with line width 0.25 mm ({edges} edges), "
      f"{plain_seconds:.2f} s without; {ribbons_seconds:.2f} s more to evaluate the ribbons after it")

# Debian's Blender 3.4 glTF importer still uses numpy.bool, gone from numpy 1.24.
import numpy  # noqa: E402
if not hasattr(numpy, "bool"):
    numpy.bool = bool
try:
    gltf_seconds, _ = best_of(lambda: bpy.ops.import_scene.gltf(filepath=document))
except Exception as failure:  # noqa: BLE001 - the comparison is skipped where it does not work
    print(f"Blender's glTF importer failed: {failure!r}")
    gltf_seconds = None
if gltf_seconds is not None:
    ratio = addon_seconds / gltf_seconds
    print(f"Blender's glTF importer: {gltf_seconds:.2f} s; add-on / glTF importer = {ratio:.2f} (goal at most 1.5)")
goal = addon_seconds < 10 and (gltf_seconds is None or addon_seconds <= 1.5 * gltf_seconds)
print(f"== Blender import goals {'met' if goal else 'MISSED'}")
sys.exit(0 if goal else 1)
