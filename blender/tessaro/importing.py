"""Imports drawing files one after another: each is read, converted into a glTF document in
memory and built into the scene; a file that fails is named with why, and the others go on."""

import math
import os
from dataclasses import dataclass, field

from . import engine, glb, scene

# Why a drawing was converted only in part.
_PARTLY = {
    engine.DAMAGED: "damaged at byte {offset}",
    engine.UNSUPPORTED_VERSION: "a version this converter does not read",
    engine.TOO_LARGE: "declares more than memory holds",
    engine.LIMIT_REACHED: "past the converter's limits",
}


@dataclass
class Outcome:
    imported: int = 0
    problems: list = field(default_factory=list)  # "file: what went wrong"
    collections: list = field(default_factory=list)
    background: int = None  # the last drawing imported's background (tessaro_background)

    def message(self, files):
        head = f"Jw_cad import: {self.imported} of {files} file{'s' if files != 1 else ''} imported"
        return ". ".join([head] + self.problems) + "."


def import_files(paths, words, line_width_mm, parent, view_layer, on_file=lambda done: None):
    """Imports `paths` with the option words into collections under `parent`; line_width_mm
    (paper millimetres, 0 for none) gives the lines their ribbons. on_file(n) is called before
    the file after the n-th."""
    outcome = Outcome()
    factor = float(dict(words).get("scale", "1")) * 0.001  # document units per drawing millimetre
    with engine.Engine(words) as converter:
        for done, path in enumerate(paths):
            on_file(done)
            name = os.path.basename(path)
            problem = _import_one(converter, path, line_width_mm, factor, parent, view_layer, outcome)
            if problem:
                outcome.problems.append(f"{name}: {problem}")
    return outcome


def _import_one(converter, path, line_width_mm, factor, parent, view_layer, outcome):
    """Imports one file; what went wrong, or None."""
    try:
        with open(path, "rb") as file:
            data = file.read()
    except OSError as failure:
        return f"could not be read ({failure.strerror or failure})"
    converted = converter.convert(data, path)
    del data
    if converted.status == engine.NOT_THIS_FORMAT:
        return "not a Jw_cad drawing (.jww, .jws, .jwc, .jwk); skipped"
    if not converted.glb:
        return f"could not be converted ({converted.status_text})"
    partly = _PARTLY.get(converted.status, "").format(offset=converted.read_offset)
    try:
        document = glb.read(converted.glb)
    except glb.BadDocument as failure:
        return f"could not be imported ({failure})"
    if not any(_has_mesh(root) for root in document.roots):
        return f"{partly}; nothing read to import" if partly else "holds no lines or solids to import"
    width = line_width_mm * converted.drawing_scale * factor
    builder = scene.DrawingBuilder(document, converted.hidden_layers, width if math.isfinite(width) and width > 0 else 0.0)
    try:
        outcome.collections.extend(builder.build(parent, view_layer))
    except Exception as failure:  # noqa: BLE001 - one file's failure is that file's
        builder.remove()
        return f"could not be imported ({failure!r})"
    outcome.imported += 1
    outcome.background = converted.background_after
    notes = [f"{partly}; imported what was read"] if partly else []
    if converted.heights_out_of_range:
        notes.append(f"{converted.heights_out_of_range} height text(s) beyond 10,000 m marked nothing")
    return "; ".join(notes) or None


def _has_mesh(node):
    return node.mesh is not None or any(_has_mesh(child) for child in node.children)
