"""Tessaro for Blender: File > Import > Jw_cad (.jww, .jws, .jwc, .jwk). The converter's shared
library (lib/) turns each drawing into a glTF document in memory, and the add-on builds its
collections, meshes and materials itself."""

bl_info = {
    "name": "Tessaro: Jw_cad drawings",
    "author": "Tessaro",
    "version": (1, 0, 0),
    "blender": (3, 4, 0),
    "location": "File > Import > Jw_cad (.jww, .jws, .jwc, .jwk)",
    "description": "Imports Jw_cad drawings as collections of layers, with lines that render",
    "category": "Import-Export",
}

from . import operator


def register():
    operator.register()


def unregister():
    operator.unregister()
