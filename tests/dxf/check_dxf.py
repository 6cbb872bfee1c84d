"""The DXF documents of the sample drawings in real clients.

For every sample NAME, WORK holds NAME.dxf and NAME.glb converted with the same options, and
NAME.pdf, LibreCAD's print of the DXF. Checked: ezdxf reads each DXF and its audit finds
nothing to fix; after every INSERT is exploded, every LINE is a segment of the glb (within
1e-6 in the glb's units, metres at factor 1, or the float32 precision of its coordinate), and
every ARC and ELLIPSE ends where a glb polyline does;
the print has ink, spread over the page as the drawing's box is; a Japanese text and layer
name arrive as the same Unicode text.
"""
import json
import math
import struct
import subprocess
import sys
from pathlib import Path

import ezdxf
from ezdxf.disassemble import recursive_decompose

GLB_UNITS_PER_MM = 0.001


def glb_segments(path):
    data = path.read_bytes()
    json_length = struct.unpack_from("<I", data, 12)[0]
    doc = json.loads(data[20:20 + json_length])
    binary = data[20 + json_length + 8:]
    root = doc["nodes"][0]
    t = root.get("translation", [0, 0, 0])
    # The root turns the drawing's z-up into glTF's y-up: (x, y, z) -> (x, z, -y).
    cx, cy = t[0], -t[2]

    def accessor(index):
        a = doc["accessors"][index]
        view = doc["bufferViews"][a["bufferView"]]
        start = view.get("byteOffset", 0) + a.get("byteOffset", 0)
        kind = {5126: "f", 5125: "I", 5123: "H", 5121: "B"}[a["componentType"]]
        width = {"SCALAR": 1, "VEC3": 3}[a["type"]]
        values = struct.unpack_from("<%d%s" % (a["count"] * width, kind), binary, start)
        return [values[i:i + width] for i in range(0, len(values), width)] if width > 1 else list(values)

    segments = []
    for mesh in doc.get("meshes", []):
        for primitive in mesh["primitives"]:
            if primitive.get("mode") != 1:
                continue
            points = accessor(primitive["attributes"]["POSITION"])
            indices = accessor(primitive["indices"])
            for i in range(0, len(indices), 2):
                a, b = points[indices[i]], points[indices[i + 1]]
                # What the glb's float32 values can tell apart, about their own magnitude.
                step = max(abs(v) for v in a[:2] + b[:2]) * 2.0 ** -23
                segments.append(((a[0] + cx, a[1] + cy), (b[0] + cx, b[1] + cy), step))
    return segments


class SegmentIndex:
    """Segments by the grid cell of each end, for a near-match search."""

    def __init__(self, segments, cell):
        self.cell = cell
        self.cells = {}
        for s in segments:
            for end in s[:2]:
                self.cells.setdefault(self.key(end), []).append(s)

    def key(self, p):
        return (math.floor(p[0] / self.cell), math.floor(p[1] / self.cell))

    def touches(self, a):
        """Whether a segment ends at `a`."""
        kx, ky = self.key(a)
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                for s in self.cells.get((kx + dx, ky + dy), ()):
                    tolerance = max(1e-6, 2 * s[2])
                    if any(max(abs(p[0] - a[0]), abs(p[1] - a[1])) <= tolerance for p in s[:2]):
                        return True
        return False

    def has(self, a, b):
        kx, ky = self.key(a)
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                for s in self.cells.get((kx + dx, ky + dy), ()):
                    tolerance = max(1e-6, 2 * s[2])
                    for p, q in ((s[0], s[1]), (s[1], s[0])):
                        if (max(abs(p[0] - a[0]), abs(p[1] - a[1])) <= tolerance and
                                max(abs(q[0] - b[0]), abs(q[1] - b[1])) <= tolerance):
                            return True
        return False


def check_lines(doc, segments):
    index = SegmentIndex(segments, 1e-3)
    lines = [e for e in recursive_decompose(doc.modelspace()) if e.dxftype() == "LINE"]
    missing = 0
    for line in lines:
        a = (line.dxf.start.x * GLB_UNITS_PER_MM, line.dxf.start.y * GLB_UNITS_PER_MM)
        b = (line.dxf.end.x * GLB_UNITS_PER_MM, line.dxf.end.y * GLB_UNITS_PER_MM)
        if not index.has(a, b):
            missing += 1
    return len(lines), missing


def check_arc_ends(doc, segments):
    """The ends of every ARC and ELLIPSE are ends of the glb's segments: the same curve, its
    start and sweep kept (the glb breaks each arc from its start to its end)."""
    index = SegmentIndex(segments, 1e-3)
    ends = set()
    for cell in index.cells.values():
        for s in cell:
            ends.add(s[:2])
    arcs, missing = 0, 0
    for e in recursive_decompose(doc.modelspace()):
        if e.dxftype() == "ARC":
            points = [e.start_point, e.end_point]
        elif e.dxftype() == "ELLIPSE" and abs(e.dxf.end_param - e.dxf.start_param - 2 * math.pi) > 1e-9:
            points = list(e.vertices([e.dxf.start_param, e.dxf.end_param]))
        else:
            continue
        arcs += 1
        for p in points:
            q = (p.x * GLB_UNITS_PER_MM, p.y * GLB_UNITS_PER_MM)
            if not index.touches(q):
                missing += 1
                break
    return arcs, missing


def ink_box(png):
    """The box of the dark pixels of a binary PGM/PPM picture, as fractions of its size."""
    data = png.read_bytes()
    parts = data.split(maxsplit=4)
    magic, width, height, depth = parts[0], int(parts[1]), int(parts[2]), int(parts[3])
    pixels = parts[4]
    channels = 3 if magic == b"P6" else 1
    xs, ys = [], []
    for y in range(height):
        row = pixels[y * width * channels:(y + 1) * width * channels]
        for x in range(width):
            if min(row[x * channels:(x + 1) * channels]) < depth * 15 // 16:
                xs.append(x)
                ys.append(y)
    if not xs:
        return None
    return (min(xs) / width, min(ys) / height, max(xs) / width, max(ys) / height)


def check_print(dxf, segments):
    """LibreCAD's print, made a picture: ink, as wide for its height as the glb's drawing."""
    pdf = dxf.with_suffix(".pdf")
    picture = dxf.with_suffix("")
    subprocess.run(["pdftoppm", "-r", "40", "-gray", "-singlefile", str(pdf), str(picture)], check=True)
    box = ink_box(picture.with_suffix(".pgm"))
    if box is None:
        return "no ink on the page"
    if not segments:
        return None
    xs = [p[0] for s in segments for p in s[:2]]
    ys = [p[1] for s in segments for p in s[:2]]
    drawing = (max(xs) - min(xs)) / max(max(ys) - min(ys), 1e-12)
    # The page's own proportion turns the picture's fractions back into lengths.
    with open(picture.with_suffix(".pgm"), "rb") as f:
        _, width, height = f.read(64).split()[:3]
    ink = (box[2] - box[0]) * int(width) / max((box[3] - box[1]) * int(height), 1)
    if not (0.7 < ink / drawing < 1.4):
        return "ink %.2f wide for its height, the drawing %.2f" % (ink, drawing)
    return None


def main(work, names):
    work = Path(work)
    failures = []
    for name in names:
        dxf = work / (name + ".dxf")
        doc = ezdxf.readfile(dxf)
        auditor = doc.audit()
        if auditor.errors or auditor.fixes:
            failures.append("%s: audit: %s" % (name, [e.message for e in (auditor.errors + auditor.fixes)[:3]]))
        segments = glb_segments(work / (name + ".glb"))
        count, missing = check_lines(doc, segments)
        if missing:
            failures.append("%s: %d of %d LINEs are no segment of the glb" % (name, missing, count))
        arcs, wrong = check_arc_ends(doc, segments)
        if wrong:
            failures.append("%s: %d of %d arcs do not end where the glb's do" % (name, wrong, arcs))
        problem = check_print(dxf, segments)
        if problem:
            failures.append("%s: LibreCAD's print: %s" % (name, problem))
        print("%s: %d LINEs on the glb's segments, %d arcs ending with its, audit clean, printed" % (name, count, arcs))
    if "サンプル" in names:
        doc = ezdxf.readfile(work / "サンプル.dxf")
        texts = {t.dxf.text for t in doc.modelspace().query("TEXT")}
        layers = {layer.dxf.name for layer in doc.layers}
        if "パントリー" not in texts or "0-1 躯体" not in layers:
            failures.append("サンプル: the Japanese text or layer name did not arrive as written")
    for failure in failures:
        print("FAILED " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2:]))
