"""The converter's options as the import dialog shows them, one row each: the row's properties
(with the command line's defaults) and the option words (tessaro_options_set) they give. A new
option is one more row."""

from dataclasses import dataclass
from typing import Callable

from bpy.props import EnumProperty, FloatProperty, IntProperty


@dataclass(frozen=True)
class Row:
    properties: dict                   # name -> bpy property, in the dialog's order
    words: Callable[[object], list]    # the operator's values -> [(option word, value)]
    active: Callable[[object, str], bool] = lambda values, name: True  # greyed out when False


def _number(value):
    """A decimal without exponent, as the option words take numbers."""
    return format(value, ".9f").rstrip("0").rstrip(".") or "0"


_KINDS = (
    ("hidden", "Hidden layers", "Entities on layers the drawing hides (imported hidden)"),
    ("aux", "Auxiliary lines", "Auxiliary lines and auxiliary colours"),
    ("dims", "Dimensions", "Dimension lines, their arrows and figures"),
    ("hatch", "Hatching", "Hatching"),
    ("points", "Points", "Points, drawn as markers"),
    ("solids", "Solids", "Filled solids, as faces"),
    ("texts", "Texts", "Texts and dimension values as the outlines of their characters (a 'text' collection in each layer)"),
)
_MARKERS = ("＋", "×", "□", "◇", "○", "■", "◆", "●")


def _kinds(values):
    chosen = [name for name, _, _ in _KINDS if name in values.include]
    left = [name for name, _, _ in _KINDS if name not in values.include]
    return [(word, ",".join(names)) for word, names in (("include", chosen), ("exclude", left)) if names]


def _arcs(values):
    if values.arc_mode == "count":
        return [("arcs", f"count:{values.arc_count}")]
    size = values.arc_angle if values.arc_mode == "angle" else values.arc_length
    return [("arcs", f"{values.arc_mode}:{_number(size)}:{values.arc_min}")]


def _arc_property_active(values, name):
    return name in ("arc_mode", f"arc_{values.arc_mode}") or (name == "arc_min" and values.arc_mode != "count")


ROWS = (
    Row({"scale": EnumProperty(
        name="Scale", description="Coordinate factor: one drawing millimetre becomes 0.001 × factor units",
        items=[("1", "×1", "Metres: the drawing's real size"), ("10", "×10", ""), ("100", "×100", ""),
               ("1000", "×1000", "Millimetres as units")], default="1")},
        lambda v: [("scale", v.scale)]),
    Row({"arc_mode": EnumProperty(
            name="Arcs", description="How circles and arcs are broken into segments",
            items=[("count", "Count", "Every circle and arc in the same number of segments"),
                   ("angle", "Angle", "About this many degrees per segment"),
                   ("length", "Length", "About this many paper millimetres per segment")], default="count"),
         "arc_count": IntProperty(name="Segments", min=3, max=3600, default=12),
         "arc_angle": FloatProperty(name="Degrees", min=0.1, max=90.0, default=10.0),
         "arc_length": FloatProperty(name="Paper mm", min=0.001, max=1000.0, default=10.0),
         "arc_min": IntProperty(name="At least", description="The fewest segments of a circle or arc",
                                min=3, max=3600, default=4)},
        _arcs, _arc_property_active),
    Row({"marker": EnumProperty(
            name="Point marker", items=[(str(n), shape, "") for n, shape in enumerate(_MARKERS)], default="0"),
         "marker_size": FloatProperty(name="Marker size", description="Paper millimetres",
                                      min=0.00001, max=10000.0, default=1.0)},
        lambda v: [("marker", v.marker), ("marker-size", _number(v.marker_size))]),
    Row({"background": EnumProperty(
        name="Pens for", description="The default pens' colours: black for a light background, white for a dark one",
        items=[("carried", "As the drawings say", "Dark, or what the drawing before left, as the command line does"),
               ("light", "Light background", "Black pens, for a white render or paper"),
               ("dark", "Dark background", "White pens")], default="carried")},
        lambda v: [] if v.background == "carried" else [("background", v.background)]),
    Row({"heights": EnumProperty(
        name="Heights (2.5D)", description="Height texts at the lines' ends (as the 2.5D command writes them) "
        "lift the lines into walls, with roofs on closed outlines",
        items=[("off", "Off", "Every line on the ground"), ("m", "Metres", "The height texts are metres"),
               ("mm", "Millimetres", "The height texts are millimetres")], default="off")},
        lambda v: [] if v.heights == "off" else [("heights", v.heights)]),
    Row({"include": EnumProperty(
        name="Include", options={"ENUM_FLAG"}, items=[(n, label, text) for n, label, text in _KINDS],
        default={"hidden", "aux", "dims", "hatch", "points"})},
        _kinds),
)


def annotations():
    """Every row's properties, for the operator's and the preferences' classes."""
    return {name: prop for row in ROWS for name, prop in row.properties.items()}


def words(values):
    """The option words of the values the operator (or anything with the same names) holds."""
    return [word for row in ROWS for word in row.words(values)]
