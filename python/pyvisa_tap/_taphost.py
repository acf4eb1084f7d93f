"""ctypes binding of libtaphost.so, the playback driver's C host API."""

import atexit
import ctypes
import os
import weakref
from ctypes import POINTER, byref, c_char_p, c_int32, c_size_t, c_uint8, c_uint32, c_void_p

# The API's own failures; non-negative statuses are the driver's.
E_NULL_ARGUMENT = -1
E_BAD_HANDLE = -2
E_DRIVER = -3
E_REGION = -4
E_BAD_ARGUMENT = -5
E_FAILED = -6


def library_dir():
    """The folder holding libtaphost.so and libtaplayback.so."""
    folder = os.environ.get("TAPLAYBACK_LIB_DIR")
    if folder:
        return folder
    try:
        from . import _installed  # written by cmake --install
    except ImportError:
        raise OSError(
            "libtaphost.so not found: set TAPLAYBACK_LIB_DIR to the folder holding "
            "libtaphost.so and libtaplayback.so (the build folder, e.g. build/default)"
        ) from None
    return os.path.normpath(os.path.join(os.path.dirname(__file__), _installed.LIB_DIR))


def _first_existing(folder, names):
    for name in names:
        path = os.path.join(folder, name)
        if os.path.exists(path):
            return path
    raise OSError("none of %s in %s" % (", ".join(names), folder))


class HostLibrary:
    """The loaded C API, its signatures declared once."""

    def __init__(self, folder=None):
        folder = folder or library_dir()
        self.folder = folder
        self.driver_path = _first_existing(folder, ("libtaplayback.so", "libtaplayback.so.0"))
        dll = ctypes.CDLL(_first_existing(folder, ("libtaphost.so", "libtaphost.so.0")))
        self.dll = dll
        sig = [
            ("taphost_create", [c_char_p, POINTER(c_void_p), c_char_p, c_size_t]),
            ("taphost_last_error", [c_void_p], c_char_p),
            ("taphost_open_resource", [c_void_p, c_char_p, c_char_p, POINTER(c_void_p)]),
            ("taphost_open", [c_void_p, c_char_p, c_char_p, c_char_p, c_char_p, c_uint32,
                              c_uint32, c_uint32, c_char_p, c_char_p, POINTER(c_void_p)]),
            ("taphost_close", [c_void_p]),
            ("taphost_set_timeout", [c_void_p, c_int32]),
            ("taphost_set_flags", [c_void_p, c_uint32, c_uint32]),
            ("taphost_set_termination", [c_void_p, c_uint8]),
            ("taphost_write", [c_void_p, c_char_p, c_uint32, POINTER(c_uint32)]),
            ("taphost_read", [c_void_p, c_void_p, c_uint32, POINTER(c_uint32),
                              POINTER(c_int32)]),
            ("taphost_docommand", [c_void_p, c_uint32, c_uint32, c_int32, c_void_p]),
            ("taphost_list_resources", [c_void_p, c_char_p, c_char_p, c_size_t,
                                        POINTER(c_size_t)]),
        ]
        for entry in sig:
            fn = getattr(dll, entry[0])
            fn.argtypes = entry[1]
            fn.restype = entry[2] if len(entry) > 2 else c_int32
        dll.taphost_free.argtypes = [c_void_p]
        dll.taphost_free.restype = None


_live_hosts = weakref.WeakSet()


@atexit.register
def _free_hosts():
    # Closes sessions and lets the region go while the driver is still loaded.
    for host in list(_live_hosts):
        host.free()


class Host:
    """One host of the C API: the driver loaded, sessions opened on recordings."""

    def __init__(self, library=None):
        self.lib = library or HostLibrary()
        handle = c_void_p()
        error = ctypes.create_string_buffer(512)
        status = self.lib.dll.taphost_create(
            os.fsencode(self.lib.driver_path), byref(handle), error, len(error))
        if status != 0:
            raise OSError("cannot start the playback host: %s" % error.value.decode(errors="replace"))
        self.handle = handle
        _live_hosts.add(self)

    def last_error(self):
        return self.lib.dll.taphost_last_error(self.handle).decode(errors="replace")

    def free(self):
        if self.handle:
            self.lib.dll.taphost_free(self.handle)
            self.handle = None

    def list_resources(self, recording):
        """The resource name of each stream in file order ("" where none opens it)."""
        needed = c_size_t()
        path = os.fsencode(recording)
        status = self.lib.dll.taphost_list_resources(self.handle, path, None, 0, byref(needed))
        if status == 0:
            names = ctypes.create_string_buffer(needed.value + 1)
            status = self.lib.dll.taphost_list_resources(
                self.handle, path, names, len(names), byref(needed))
        if status != 0:
            return status, self.last_error()
        text = names.value.decode("latin-1")
        return 0, text.split("\n") if text else []

    def open_resource(self, recording, resource_name):
        """(status, Session or None)."""
        handle = c_void_p()
        status = self.lib.dll.taphost_open_resource(
            self.handle, os.fsencode(recording), resource_name.encode("latin-1"), byref(handle))
        if status != 0:
            return status, None
        return 0, Session(self.lib.dll, handle)


def _unchecked(dll, name):
    """The function without argtypes. Converting each argument through its
    declared type costs about a microsecond per call, more than the driver's
    whole answer; the hot calls are given ready-made C values instead (the
    handle as c_void_p, byref out-values, counts below 2**31)."""
    fn = dll._FuncPtr((name, dll))
    fn.restype = c_int32
    return fn


_MAX_COUNT = 2**31 - 1


class Session:
    """An open session; buffers and out-values are kept between calls."""

    def __init__(self, dll, handle):
        self.handle = handle
        self._write = _unchecked(dll, "taphost_write")
        self._read = _unchecked(dll, "taphost_read")
        self._close = dll.taphost_close
        self._set_timeout = dll.taphost_set_timeout
        self._set_termination = dll.taphost_set_termination
        self._docommand = dll.taphost_docommand
        self._actual = c_uint32()
        self._actual_ref = byref(self._actual)
        self._stop = c_int32()
        self._stop_ref = byref(self._stop)
        self._grow(4096)

    def _grow(self, size):
        self._buffer = ctypes.create_string_buffer(size)
        self._buffer_size = size
        self._view = memoryview(self._buffer).cast("B")

    def write(self, data):
        """(status, count written)."""
        if type(data) is not bytes:
            data = bytes(data)
        status = self._write(self.handle, data, len(data), self._actual_ref)
        return status, self._actual.value

    def read(self, count):
        """(status, bytes, stop reason)."""
        if count > self._buffer_size:
            self._grow(min(count, _MAX_COUNT))
            count = self._buffer_size
        status = self._read(self.handle, self._buffer, count, self._actual_ref, self._stop_ref)
        return status, self._view[: self._actual.value].tobytes(), self._stop.value

    def docommand(self, command, data, flags=0):
        """(status, the data block after the call)."""
        block = ctypes.create_string_buffer(bytes(data), len(data))
        status = self._docommand(self.handle, flags, command, len(data), block)
        return status, block.raw

    def set_timeout(self, ms):
        return self._set_timeout(self.handle, ms)

    def set_termination(self, char):
        return self._set_termination(self.handle, char)

    def close(self):
        if self.handle:
            status = self._close(self.handle)
            self.handle = None
            return status
        return 0
