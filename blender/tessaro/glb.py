"""Reads the binary glTF documents the converter writes: the node tree (drawing, layer groups,
layers, one node per (layer, colour) mesh), each mesh's positions and index lists as arrays
Blender's foreach_set takes whole, and the materials' colours. No Blender here."""

import array
import json
import struct
from dataclasses import dataclass, field

_HEADER = struct.Struct("<4sII")
_CHUNK = struct.Struct("<II")
_JSON_CHUNK, _BIN_CHUNK = 0x4E4F534A, 0x004E4942
_LINES, _TRIANGLES = 1, 4
_ITEM_CODES = {5121: "B", 5123: "H", 5125: "I", 5126: "f"}
_TYPE_SIZES = {"SCALAR": 1, "VEC3": 3}


class BadDocument(ValueError):
    """Bytes that are not a glTF document of the shape the converter writes."""


@dataclass
class Mesh:
    name: str
    positions: array.array  # "f": x, y, z per vertex
    lines: array.array      # "i": two vertex numbers per segment
    triangles: array.array  # "i": three per triangle
    material: int           # into Document.materials; -1 for none


@dataclass
class Node:
    name: str
    translation: tuple = (0.0, 0.0, 0.0)
    rotation: tuple = (1.0, 0.0, 0.0, 0.0)  # w, x, y, z
    scale: tuple = (1.0, 1.0, 1.0)
    children: list = field(default_factory=list)
    mesh: Mesh = None
    extras: dict = field(default_factory=dict)


@dataclass
class Material:
    name: str
    color: tuple  # linear RGBA


@dataclass
class Document:
    roots: list
    materials: list


def _chunks(data):
    magic, version, length = _HEADER.unpack_from(data, 0) if len(data) >= _HEADER.size else (b"", 0, 0)
    if magic != b"glTF" or version != 2 or length > len(data):
        raise BadDocument("not a binary glTF 2.0 document")
    found, offset = {}, _HEADER.size
    while offset + _CHUNK.size <= length:
        size, kind = _CHUNK.unpack_from(data, offset)
        offset += _CHUNK.size
        if offset + size > length:
            raise BadDocument("a chunk runs past the document's end")
        found.setdefault(kind, memoryview(data)[offset:offset + size])
        offset += size
    if _JSON_CHUNK not in found:
        raise BadDocument("no JSON chunk")
    return json.loads(bytes(found[_JSON_CHUNK])), found.get(_BIN_CHUNK, memoryview(b""))


class _Reader:
    def __init__(self, data):
        self.gltf, self.binary = _chunks(data)

    def _list(self, key):
        return self.gltf.get(key, [])

    def accessor(self, number, codes):
        """The accessor's items as an array of type "f" (floats) or "i" (vertex numbers)."""
        accessor = self._list("accessors")[number]
        view = self._list("bufferViews")[accessor["bufferView"]]
        code = _ITEM_CODES.get(accessor["componentType"])
        if code not in codes or view.get("byteStride") or view.get("buffer", 0) != 0:
            raise BadDocument(f"accessor {number} is not one this reader takes")
        items = accessor["count"] * _TYPE_SIZES[accessor["type"]]
        start = view.get("byteOffset", 0) + accessor.get("byteOffset", 0)
        size = items * array.array(code).itemsize
        if start + size > min(len(self.binary), view.get("byteOffset", 0) + view["byteLength"]):
            raise BadDocument(f"accessor {number} runs past its buffer")
        raw = self.binary[start:start + size]
        if code in ("B", "H"):  # widened to 32 bits byte by byte: little-endian, zeros above
            width = array.array(code).itemsize
            wide = bytearray(4 * items)
            for byte in range(width):
                wide[byte::4] = raw[byte::width]
            raw, code = wide, "I"
        # Vertex numbers of 32 bits go in as "i", the same bits (they are below 2^31).
        made = array.array("i" if code == "I" else code)
        made.frombytes(raw)
        return made

    def mesh(self, number):
        entry = self._list("meshes")[number]
        positions, lines, triangles, material = None, array.array("i"), array.array("i"), -1
        for primitive in entry.get("primitives", []):
            mode = primitive.get("mode", _TRIANGLES)
            if mode not in (_LINES, _TRIANGLES) or "indices" not in primitive:
                continue
            accessor = primitive["attributes"]["POSITION"]
            if positions is None:
                positions_accessor, positions = accessor, self.accessor(accessor, "f")
            elif accessor != positions_accessor:
                raise BadDocument(f"mesh {number}: primitives over different positions")
            indices = self.accessor(primitive["indices"], "BHI")
            (lines if mode == _LINES else triangles).extend(indices)
            material = primitive.get("material", material)
        positions = positions if positions is not None else array.array("f")
        # The vertex numbers are not checked one by one (a second per million segments): the
        # document comes from the library moments before, which numbers only its own vertices.
        if len(lines) % 2 or len(triangles) % 3:
            raise BadDocument(f"mesh {number}: an index list of a broken length")
        return Mesh(entry.get("name", f"mesh{number}"), positions, lines, triangles, material)

    def node(self, number, depth):
        if depth > 32:
            raise BadDocument("nodes nested too deep")
        entry = self._list("nodes")[number]
        x, y, z, w = entry.get("rotation", (0.0, 0.0, 0.0, 1.0))
        node = Node(entry.get("name", f"node{number}"), tuple(entry.get("translation", (0.0, 0.0, 0.0))),
                    (w, x, y, z), tuple(entry.get("scale", (1.0, 1.0, 1.0))), extras=entry.get("extras", {}))
        if "mesh" in entry:
            node.mesh = self.mesh(entry["mesh"])
        node.children = [self.node(child, depth + 1) for child in entry.get("children", [])]
        return node

    def materials(self):
        made = []
        for number, entry in enumerate(self._list("materials")):
            color = entry.get("pbrMetallicRoughness", {}).get("baseColorFactor", (1.0, 1.0, 1.0, 1.0))
            made.append(Material(entry.get("name", f"material{number}"), tuple(color)))
        return made


def read(data):
    """The document in `data` (bytes); BadDocument when it is none the converter writes."""
    try:
        reader = _Reader(data)
        scenes = reader.gltf.get("scenes", [])
        roots = scenes[reader.gltf.get("scene", 0)].get("nodes", []) if scenes else []
        return Document([reader.node(root, 0) for root in roots], reader.materials())
    except (KeyError, IndexError, TypeError, ValueError, struct.error) as failure:
        if isinstance(failure, BadDocument):
            raise
        raise BadDocument(f"unreadable glTF: {failure!r}") from failure
