"""The PyVISA backend: ResourceManager("RECORDING.xml@tap") plays a recording."""

import logging
import os
from itertools import count as counter

from pyvisa import constants, rname
from pyvisa.constants import ResourceAttribute, StatusCode
from pyvisa.highlevel import VisaLibraryBase
from pyvisa.util import LibraryPath

from . import _taphost
from .status_map import STOP_REASONS, error_for

logger = logging.getLogger("pyvisa_tap")

_SUCCESS = StatusCode.success
_NO_STREAM_FOR_ADDRESS = 20
_INT32_MAX = 2**31 - 1


def _driver_timeout(visa_timeout):
    """VISA's timeout in ms (VI_TMO_INFINITE for none) as the driver's int32."""
    if visa_timeout is None or visa_timeout >= constants.VI_TMO_INFINITE:
        return _INT32_MAX
    return min(int(visa_timeout), _INT32_MAX)


def _without_pyvisa_zero(name):
    """The name without the secondary address or USB interface number 0 that
    PyVISA's normal form adds; None when it has none."""
    try:
        parsed = rname.parse_resource_name(name)
    except rname.InvalidResourceName:
        return None
    if isinstance(parsed, rname.GPIBInstr) and parsed.secondary_address == "0":
        return "GPIB%s::%s::INSTR" % (parsed.board, parsed.primary_address)
    if isinstance(parsed, rname.USBInstr) and parsed.usb_interface_number == "0":
        return "USB%s::%s::%s::%s::INSTR" % (parsed.board, parsed.manufacturer_id,
                                             parsed.model_code, parsed.serial_number)
    return None


class _Resource:
    """A PyVISA session on one recorded stream."""

    __slots__ = ("session", "name", "attributes")

    def __init__(self, session, name, info):
        self.session = session
        self.name = name
        self.attributes = {
            ResourceAttribute.timeout_value: 2000,
            ResourceAttribute.termchar: 0x0A,
            ResourceAttribute.termchar_enabled: constants.VI_FALSE,
            ResourceAttribute.send_end_enabled: constants.VI_TRUE,
            ResourceAttribute.suppress_end_enabled: constants.VI_FALSE,
            ResourceAttribute.resource_name: name,
            ResourceAttribute.resource_class: info.resource_class,
            ResourceAttribute.interface_type: info.interface_type,
            ResourceAttribute.interface_number: info.interface_board_number,
            ResourceAttribute.resource_manufacturer_name: "taplayback",
        }


class TapVisaLibrary(VisaLibraryBase):
    """Answers a program's VISA calls from a recording through libtaphost.so.

    The library path that PyVISA hands over (the text before "@tap") is the
    recording's path.
    """

    @staticmethod
    def get_library_paths():
        return ()

    @staticmethod
    def get_debug_info():
        try:
            folder = _taphost.library_dir()
        except OSError as e:
            folder = str(e)
        return {"Library folder": folder}

    def _init(self):
        recording = str(self.library_path)
        if not recording or not os.path.isfile(recording):
            raise OSError("pyvisa_tap needs a recording: ResourceManager('FILE.xml@tap'); "
                          "%r is not a file" % recording)
        self.recording = os.path.abspath(recording)
        self._host = _taphost.Host()
        status, names = self._host.list_resources(self.recording)
        if status != 0:
            raise OSError("%s is not a playback file: %s" % (recording, names))
        # Two streams of one address are two opens of one resource.
        self._names = tuple(dict.fromkeys(n for n in names if n))
        self._ids = counter(1)
        self._rm_sessions = set()
        self._resources = {}  # PyVISA session -> _Resource
        self._taps = {}  # PyVISA session -> _taphost.Session

    def __del__(self):
        host = getattr(self, "_host", None)
        if host is not None:
            host.free()

    # -- resource manager ------------------------------------------------------

    def open_default_resource_manager(self):
        session = next(self._ids)
        self._rm_sessions.add(session)
        return session, self.handle_return_value(None, _SUCCESS)

    def list_resources(self, session, query="?*::INSTR"):
        return rname.filter(self._names, query)

    def open(self, session, resource_name, access_mode=constants.AccessModes.no_lock,
             open_timeout=constants.VI_TMO_IMMEDIATE):
        if session not in self._rm_sessions:
            return 0, self.handle_return_value(session, StatusCode.error_invalid_object)
        info, status = self.parse_resource_extended(session, resource_name)
        if status != _SUCCESS:
            return 0, self.handle_return_value(session, status)
        status, tap = self._host.open_resource(self.recording, resource_name)
        if status == _NO_STREAM_FOR_ADDRESS:
            # PyVISA writes GPIB0::22::INSTR as GPIB0::22::0::INSTR (and a USB
            # name without an interface number with ::0) before the backend
            # sees it; the name without the 0 is what the program may have meant.
            shorter = _without_pyvisa_zero(resource_name)
            if shorter:
                status, tap = self._host.open_resource(self.recording, shorter)
        if status != 0:
            logger.debug("open %s: %s", resource_name, self._host.last_error())
            return 0, self.handle_return_value(session, error_for(status))
        new = next(self._ids)
        resource = _Resource(new, resource_name, info)
        self._resources[new] = resource
        self._taps[new] = tap
        tap.set_timeout(_driver_timeout(resource.attributes[ResourceAttribute.timeout_value]))
        return new, self.handle_return_value(new, _SUCCESS)

    def close(self, session):
        if session in self._rm_sessions:
            self._rm_sessions.discard(session)
            return self.handle_return_value(session, _SUCCESS)
        tap = self._taps.pop(session, None)
        self._resources.pop(session, None)
        if tap is None:
            return self.handle_return_value(session, StatusCode.error_invalid_object)
        tap.close()
        return self.handle_return_value(session, _SUCCESS)

    # -- message-based I/O -----------------------------------------------------

    def write(self, session, data):
        try:
            tap = self._taps[session]
        except KeyError:
            return 0, self.handle_return_value(session, StatusCode.error_invalid_object)
        status, written = tap.write(data)
        if status:
            self._log_failure(session, "write", status, data)
            return written, self.handle_return_value(session, error_for(status))
        # handle_return_value's enum conversion and warning checks cost more
        # than the driver's whole answer; a success needs the bookkeeping only.
        self._last_status = self._last_status_in_session[session] = _SUCCESS
        return written, _SUCCESS

    def read(self, session, count):
        try:
            tap = self._taps[session]
        except KeyError:
            return b"", self.handle_return_value(session, StatusCode.error_invalid_object)
        status, data, stop_reason = tap.read(count)
        if status:
            self._log_failure(session, "read", status, None)
            return data, self.handle_return_value(session, error_for(status))
        code = STOP_REASONS.get(stop_reason, _SUCCESS)
        if code is _SUCCESS:
            self._last_status = self._last_status_in_session[session] = _SUCCESS
            return data, _SUCCESS
        return data, self.handle_return_value(session, code)

    def do_command(self, session, command, data, flags=0):
        """The driver's DoCommand: (the data block after the call, status)."""
        tap = self._taps.get(session)
        if tap is None:
            return bytes(data), self.handle_return_value(session, StatusCode.error_invalid_object)
        status, block = tap.docommand(command, data, flags)
        if status:
            return block, self.handle_return_value(session, error_for(status))
        return block, self.handle_return_value(session, _SUCCESS)

    def _log_failure(self, session, call, status, data):
        resource = self._resources.get(session)
        logger.warning("%s %s: status %d (%s)%s", resource.name if resource else session, call,
                       status, self._host.last_error(),
                       "" if data is None else ", bytes %r" % bytes(data))

    def clear(self, session):
        return self._known(session)

    def flush(self, session, mask):
        return self._known(session)

    # A recording holds no events; PyVISA switches them off at every close.
    def disable_event(self, session, event_type, mechanism):
        return self._known(session)

    def discard_events(self, session, event_type, mechanism):
        return self._known(session)

    def _known(self, session):
        ok = session in self._taps
        return self.handle_return_value(session, _SUCCESS if ok else StatusCode.error_invalid_object)

    # -- attributes ------------------------------------------------------------

    def get_attribute(self, session, attribute):
        resource = self._resources.get(session)
        if resource is None:
            return None, self.handle_return_value(session, StatusCode.error_invalid_object)
        try:
            value = resource.attributes[attribute]
        except KeyError:
            return None, self.handle_return_value(session, StatusCode.error_nonsupported_attribute)
        return value, self.handle_return_value(session, _SUCCESS)

    def set_attribute(self, session, attribute, attribute_state):
        resource = self._resources.get(session)
        if resource is None:
            return self.handle_return_value(session, StatusCode.error_invalid_object)
        if attribute not in resource.attributes or attribute in _READ_ONLY:
            return self.handle_return_value(session, StatusCode.error_nonsupported_attribute)
        resource.attributes[attribute] = attribute_state
        tap = self._taps[session]
        if attribute == ResourceAttribute.timeout_value:
            tap.set_timeout(_driver_timeout(attribute_state))
        elif attribute == ResourceAttribute.termchar:
            tap.set_termination(int(attribute_state) & 0xFF)
        return self.handle_return_value(session, _SUCCESS)


_READ_ONLY = frozenset({
    ResourceAttribute.resource_name,
    ResourceAttribute.resource_class,
    ResourceAttribute.interface_type,
    ResourceAttribute.interface_number,
    ResourceAttribute.resource_manufacturer_name,
})

__all__ = ["TapVisaLibrary", "LibraryPath"]
