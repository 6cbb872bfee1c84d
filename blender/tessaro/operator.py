"""File > Import > Jw_cad: the dialog (the converter's options and the line width, remembered
in the add-on's preferences between imports and sessions) and the import of the chosen files."""

import os

import bpy
from bpy.props import CollectionProperty, FloatProperty, StringProperty
from bpy_extras.io_utils import ImportHelper

from . import background, engine, importing, options

_LINE_WIDTH = {"line_width": FloatProperty(
    name="Line width", description="Width of the lines in paper millimetres, as ribbons that render "
    "(a Geometry Nodes modifier, editable afterwards); 0 keeps plain edges", min=0.0, max=100.0,
    soft_max=5.0, default=0.25, precision=2, step=5)}
# Every value the dialog remembers.
REMEMBERED = {**_LINE_WIDTH, **options.annotations()}


def preferences(context):
    addon = context.preferences.addons.get(__package__)
    return addon.preferences if addon else None


class TESSARO_OT_import(bpy.types.Operator, ImportHelper):
    """Import Jw_cad drawings (.jww, .jws, .jwc, .jwk)"""
    bl_idname = "import_scene.tessaro"
    bl_label = "Import Jw_cad"
    bl_options = {"REGISTER", "UNDO"}

    filename_ext = ".jww"
    filter_glob: StringProperty(default="*.jww;*.jws;*.jwc;*.jwk", options={"HIDDEN"})
    files: CollectionProperty(type=bpy.types.OperatorFileListElement, options={"HIDDEN", "SKIP_SAVE"})
    directory: StringProperty(subtype="DIR_PATH", options={"HIDDEN", "SKIP_SAVE"})

    def invoke(self, context, event):
        remembered = preferences(context)
        if remembered is not None:
            for name in REMEMBERED:
                setattr(self, name, getattr(remembered, name))
        return ImportHelper.invoke(self, context, event)

    def draw(self, context):
        layout = self.layout
        layout.use_property_split = True
        layout.prop(self, "line_width")
        for row in options.ROWS:
            for name in row.properties:
                line = layout.row()
                line.active = row.active(self, name)
                line.prop(self, name)

    def execute(self, context):
        remembered = preferences(context)
        if remembered is not None:
            for name in REMEMBERED:
                setattr(remembered, name, getattr(self, name))
        paths = [os.path.join(self.directory, f.name) for f in self.files if f.name] or [self.filepath]
        progress = context.window_manager
        progress.progress_begin(0, len(paths))
        try:
            outcome = importing.import_files(paths, options.words(self), self.line_width, context.collection,
                                             context.view_layer, progress.progress_update)
        except (engine.EngineMissing, ValueError, MemoryError) as failure:
            self.report({"ERROR"}, f"Jw_cad import: {failure}")
            return {"CANCELLED"}
        finally:
            progress.progress_end()
        if outcome.background is not None:
            background.show(context.scene, outcome.background, [w.screen for w in context.window_manager.windows])
        self.report({"WARNING"} if outcome.problems else {"INFO"}, outcome.message(len(paths)))
        return {"FINISHED"}


class TessaroPreferences(bpy.types.AddonPreferences):
    """The dialog's values from the last import."""
    bl_idname = __package__

    def draw(self, context):
        self.layout.label(text="The import dialog's values from the last import are kept here.")


def _menu_entry(self, context):
    self.layout.operator(TESSARO_OT_import.bl_idname, text="Jw_cad (.jww, .jws, .jwc, .jwk)")


def _with_remembered(cls):
    cls.__annotations__ = {**cls.__annotations__, **REMEMBERED}
    return cls


CLASSES = (_with_remembered(TESSARO_OT_import), _with_remembered(TessaroPreferences))


def register():
    for cls in CLASSES:
        bpy.utils.register_class(cls)
    bpy.types.TOPBAR_MT_file_import.append(_menu_entry)


def unregister():
    bpy.types.TOPBAR_MT_file_import.remove(_menu_entry)
    for cls in reversed(CLASSES):
        bpy.utils.unregister_class(cls)
