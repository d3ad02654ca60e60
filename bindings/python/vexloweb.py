"""VexloWebLib from Python, over its C interface with ctypes (no compiled extension).

Loads the shared library from $VEXLOWEB_LIBRARY, else beside this module, else from the system's
library path (libvexloweb.so.1); ImportError says what it tried. Every function may be called from any thread. Failures raise VexloWebError, which
carries the layer that failed, the reason and, for a document, the member at fault.

    import vexloweb
    sealed = vexloweb.seal('{"package_name": "com.example.app"}')
    assert vexloweb.open(sealed) == '{"package_name": "com.example.app"}'
    vexloweb.load("app", bundle="/opt/app/resources")
    print(vexloweb.record()["package_name"])
"""

import ctypes
import ctypes.util
import json
import os

__all__ = ["VexloWebError", "version", "seal", "open", "check", "load", "record",
           "set_record", "defaults", "set_bundle_path", "set_defaults_path"]


class VexloWebError(Exception):
    """A failed call: `layer` ("resource", "cipher", "document", ...), `reason`, and
    `member_path` ("menus[1].menu") for a member of the document, else None."""

    def __init__(self, layer, reason, member_path=None):
        self.layer = layer
        self.reason = reason
        self.member_path = member_path
        where = f" ({member_path})" if member_path else ""
        super().__init__(f"{layer}{where}: {reason}")


class _Failure(ctypes.Structure):
    _fields_ = [("layer", ctypes.c_void_p), ("reason", ctypes.c_void_p),
                ("member_path", ctypes.c_void_p)]


def _candidates():
    """Where the library is looked for, in order: $VEXLOWEB_LIBRARY, a library beside this module,
    the system's library search (ctypes.util.find_library), then libvexloweb.so.1."""
    beside = os.path.join(os.path.dirname(os.path.abspath(__file__)), "libvexloweb.so.1")
    names = [os.environ.get("VEXLOWEB_LIBRARY"), beside if os.path.exists(beside) else None,
             ctypes.util.find_library("vexloweb"), "libvexloweb.so.1"]
    return [name for i, name in enumerate(names) if name and name not in names[:i]]


def _open_library():
    tried = []
    for name in _candidates():
        try:
            lib = ctypes.CDLL(name)
            break
        except OSError as error:
            tried.append(f"{name} ({error})")
    else:
        raise ImportError("vexloweb: cannot load the VexloWebLib shared library; tried "
                          + "; ".join(tried) + ". Install libvexloweb1 or set VEXLOWEB_LIBRARY")
    text, size, failure = ctypes.c_char_p, ctypes.c_size_t, ctypes.POINTER(_Failure)
    owned = ctypes.c_void_p  # returned strings are freed with vexloweb_free
    signatures = {
        "vexloweb_version_string": (ctypes.c_char_p, []),
        "vexloweb_set_bundle_path": (None, [text]),
        "vexloweb_set_defaults_path": (None, [text]),
        "vexloweb_read_configuration": (None, [text]),
        "vexloweb_load_configuration": (ctypes.c_int, [text, failure]),
        "vexloweb_load_configuration_from": (ctypes.c_int, [text, text, text, failure]),
        "vexloweb_configure_data_json": (owned, []),
        "vexloweb_set_configure_data_json": (ctypes.c_int, [text, size, failure]),
        "vexloweb_defaults_json": (owned, []),
        "vexloweb_defaults_json_at": (owned, [text]),
        "vexloweb_read_defaults": (owned, [text, failure]),
        "vexloweb_seal": (owned, [text, size, failure]),
        "vexloweb_open": (owned, [text, size, ctypes.POINTER(size), failure]),
        "vexloweb_check": (ctypes.c_int, [text, size, failure]),
        "vexloweb_failure_clear": (None, [failure]),
        "vexloweb_free": (None, [ctypes.c_void_p]),
    }
    for function, (result, arguments) in signatures.items():
        getattr(lib, function).restype = result
        getattr(lib, function).argtypes = arguments
    return lib


_lib = _open_library()


def _bytes(text, what="argument"):
    """UTF-8 bytes of str, bytes or bytearray; TypeError for anything else."""
    if isinstance(text, str):
        return text.encode("utf-8")
    if isinstance(text, (bytes, bytearray, memoryview)):
        return bytes(text)
    raise TypeError(f"{what} must be str or bytes, not {type(text).__name__}")


def _name(text, what):
    """A NUL-terminated name or path for C: str, bytes or os.PathLike, without NUL."""
    if not isinstance(text, (str, bytes, os.PathLike)):
        raise TypeError(f"{what} must be str, bytes or os.PathLike, not {type(text).__name__}")
    data = _bytes(os.fspath(text), what)
    if b"\0" in data:
        raise ValueError(f"embedded null character in {what}")
    return data


def _take(pointer, length=None):
    """The UTF-8 text at an owned pointer, freed; None for NULL."""
    if not pointer:
        return None
    try:
        raw = ctypes.string_at(pointer, length) if length is not None \
            else ctypes.string_at(pointer)
        return raw.decode("utf-8")
    finally:
        _lib.vexloweb_free(pointer)


class _Call:
    """A zeroed failure struct for one call; raises VexloWebError when the call failed."""

    def __enter__(self):
        self.failure = _Failure()
        return ctypes.byref(self.failure)

    def raise_if_failed(self):
        f = self.failure
        if f.layer:
            error = VexloWebError(ctypes.string_at(f.layer).decode("utf-8"),
                                  ctypes.string_at(f.reason).decode("utf-8") if f.reason else "",
                                  ctypes.string_at(f.member_path).decode("utf-8")
                                  if f.member_path else None)
            raise error

    def __exit__(self, *exc):
        _lib.vexloweb_failure_clear(ctypes.byref(self.failure))
        return False


def version():
    """The library's version, "MAJOR.MINOR.PATCH"."""
    return _lib.vexloweb_version_string().decode("ascii")


def set_bundle_path(folder):
    """Points the app's resource folder, where "<name>.io" files are looked for, at `folder`."""
    _lib.vexloweb_set_bundle_path(_name(folder, "folder"))


def set_defaults_path(file):
    """Points the user-defaults store at an SQLite file; None gives a fresh in-memory store."""
    _lib.vexloweb_set_defaults_path(None if file is None else _name(file, "file"))


def seal(document):
    """The text of a .io file for a JSON document (str or bytes), checked first as the tool's
    seal does."""
    data = _bytes(document, "document")
    call = _Call()
    with call as failure:
        sealed = _lib.vexloweb_seal(data, len(data), failure)
        call.raise_if_failed()
        return _take(sealed)


def open(sealed):  # pylint: disable=redefined-builtin
    """The document inside the text of a .io file, exactly as sealed."""
    data = _bytes(sealed, "sealed")
    call = _Call()
    length = ctypes.c_size_t(0)
    with call as failure:
        document = _lib.vexloweb_open(data, len(data), ctypes.byref(length), failure)
        call.raise_if_failed()
        return _take(document, length.value)


def check(sealed):
    """Checks the text of a .io file through every layer and its document, storing nothing;
    raises VexloWebError with the first failure."""
    data = _bytes(sealed, "sealed")
    call = _Call()
    with call as failure:
        _lib.vexloweb_check(data, len(data), failure)
        call.raise_if_failed()


def load(name, bundle=None, defaults=...):
    """Loads "<name>.io" as the app does: the record is held and the ad settings and theme
    colours exported. `bundle` is the resource folder and `defaults` the store file for this load
    only (safe when threads load from different folders at once); left out, the process-wide
    ones. defaults=None points the process-wide store at memory first. Raises VexloWebError;
    the last good record then stays, except for layer "defaults": the record is held but the
    settings reached only memory, since the store file could not take them."""
    file_name = _name(name, "name")
    folder = None if bundle is None else _name(bundle, "bundle")
    if defaults is None:
        set_defaults_path(None)
    store = None if defaults is None or defaults is ... else _name(defaults, "defaults")
    call = _Call()
    with call as failure:
        _lib.vexloweb_load_configuration_from(folder, store, file_name, failure)
        call.raise_if_failed()


def record():
    """The held record as a dict (its JSON form), or None before a load."""
    text = _take(_lib.vexloweb_configure_data_json())
    return None if text is None else json.loads(text)


def set_record(document):
    """Replaces the held record with a JSON document (str, bytes or dict); nothing is exported."""
    data = _bytes(json.dumps(document) if isinstance(document, dict) else document, "document")
    call = _Call()
    with call as failure:
        _lib.vexloweb_set_configure_data_json(data, len(data), failure)
        call.raise_if_failed()


def defaults(file=None):
    """Every entry of the user-defaults store, as a dict: the process-wide store, or the store
    file `file` (a file that does not exist reads as empty). Reading changes no file. Raises
    VexloWebError (layer "defaults") when the file is not a store (a folder, a text file, another
    program's database) or the store's values did not reach it."""
    store = None if file is None else _name(file, "file")
    call = _Call()
    with call as failure:
        text = _lib.vexloweb_read_defaults(store, failure)
        call.raise_if_failed()
        return json.loads(_take(text))
