"""The converter's shared library (include/tessaro.h) through ctypes: a drawing's bytes in, its
binary glTF document and what the drawing says of itself out. No Blender here."""

import ctypes
import os
import platform
from dataclasses import dataclass, field

# tessaro_status values (include/tessaro.h).
OK, NOT_THIS_FORMAT, DAMAGED, UNSUPPORTED_VERSION, TOO_LARGE, LIMIT_REACHED = range(6)
INVALID_ARGUMENT = 6

# tessaro_format by extension, as the command line chooses it; AUTO reads the signature.
_FORMATS = {".jww": 1, ".jws": 2, ".jwc": 3, ".jwk": 4}
_FORMAT_AUTO = 0
_LAYERS = 256

# The library beside this file, built for each platform the zip carries.
_LIBRARIES = {
    ("Linux", "x86_64"): "libtessaro.so",
    ("Windows", "AMD64"): "libtessaro.dll",
}


class EngineMissing(Exception):
    """No library for this platform, or it would not load."""


@dataclass
class Converted:
    status: int            # the conversion's tessaro_status
    status_text: str
    glb: bytes = b""       # empty when the conversion gave no document
    read_offset: int = 0   # where reading stopped
    drawing_scale: float = 1.0
    hidden_layers: frozenset = field(default_factory=frozenset)
    background_after: int = 1
    heights_out_of_range: int = 0  # height texts beyond 10,000 m, which marked nothing


def _library_path():
    name = _LIBRARIES.get((platform.system(), platform.machine()))
    if name is None:
        raise EngineMissing(f"no converter library for {platform.system()} {platform.machine()}")
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "lib", name)
    if not os.path.isfile(path):
        raise EngineMissing(f"the converter library is missing: {path}")
    return path


def _declare(lib):
    p, c_size, c_int, c_str = ctypes.c_void_p, ctypes.c_size_t, ctypes.c_int, ctypes.c_char_p
    signatures = {
        "tessaro_options_new": (p, []),
        "tessaro_options_free": (None, [p]),
        "tessaro_options_set": (c_int, [p, c_str, c_str]),
        "tessaro_options_set_threads": (c_int, [p, ctypes.c_uint]),
        "tessaro_options_set_carried_background": (c_int, [p, c_int]),
        "tessaro_engine_new": (p, []),
        "tessaro_engine_free": (None, [p]),
        "tessaro_engine_convert": (c_int, [p, c_str, c_size, c_int, p, c_str, ctypes.POINTER(p)]),
        "tessaro_document_free": (None, [p]),
        "tessaro_document_bytes": (p, [p]),
        "tessaro_document_size": (c_size, [p]),
        "tessaro_document_read_offset": (c_size, [p]),
        "tessaro_document_drawing_scale": (ctypes.c_double, [p]),
        "tessaro_document_layer_hidden": (c_int, [p, c_int]),
        "tessaro_document_background_after": (c_int, [p]),
        "tessaro_document_heights_out_of_range": (c_size, [p]),
        "tessaro_status_text": (c_str, [c_int]),
        "tessaro_version": (c_str, []),
    }
    for name, (result, arguments) in signatures.items():
        function = getattr(lib, name)
        function.restype, function.argtypes = result, arguments
    return lib


_lib = None


def library():
    """The loaded library, loaded once; EngineMissing when it cannot be."""
    global _lib
    if _lib is None:
        try:
            _lib = _declare(ctypes.CDLL(_library_path()))
        except (OSError, AttributeError) as failure:
            raise EngineMissing(f"the converter library would not load: {failure}") from failure
    return _lib


def format_of(path):
    return _FORMATS.get(os.path.splitext(path)[1].lower(), _FORMAT_AUTO)


class Engine:
    """Converts drawings one after another into glb documents, each starting with the
    background the one before left, as the command line's batch does. `words` are
    (name, value) pairs for tessaro_options_set."""

    def __init__(self, words):
        self._lib = library()
        self._options = self._lib.tessaro_options_new()
        self._engine = self._lib.tessaro_engine_new()
        if not self._options or not self._engine:
            self.close()
            raise MemoryError("the converter ran out of memory")
        for name, value in list(words) + [("format", "glb")]:
            status = self._lib.tessaro_options_set(self._options, name.encode(), value.encode())
            if status != OK:
                self.close()
                raise ValueError(f"option {name} {value!r}: {self._text(status)}")
        self._lib.tessaro_options_set_threads(self._options, 0)  # one per processor core

    def _text(self, status):
        return self._lib.tessaro_status_text(status).decode()

    def convert(self, data, path):
        lib = self._lib
        name = os.path.splitext(os.path.basename(path))[0]
        document = ctypes.c_void_p()
        # A bytes object goes in as a pointer to its own storage, without a copy.
        status = lib.tessaro_engine_convert(self._engine, data, len(data), format_of(path), self._options,
                                            name.encode("utf-8", "replace"), ctypes.byref(document))
        result = Converted(status, self._text(status))
        if not document:
            return result
        try:
            size = lib.tessaro_document_size(document)
            result.glb = ctypes.string_at(lib.tessaro_document_bytes(document), size)
            result.read_offset = lib.tessaro_document_read_offset(document)
            result.drawing_scale = lib.tessaro_document_drawing_scale(document)
            result.hidden_layers = frozenset(
                layer for layer in range(_LAYERS) if lib.tessaro_document_layer_hidden(document, layer))
            result.background_after = lib.tessaro_document_background_after(document)
            result.heights_out_of_range = lib.tessaro_document_heights_out_of_range(document)
            lib.tessaro_options_set_carried_background(self._options, result.background_after)
        finally:
            lib.tessaro_document_free(document)
        return result

    def close(self):
        if self._engine:
            self._lib.tessaro_engine_free(self._engine)
            self._engine = None
        if self._options:
            self._lib.tessaro_options_free(self._options)
            self._options = None

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.close()
