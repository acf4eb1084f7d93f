"""What a program sees for the driver's statuses: PyVISA's status codes."""

from pyvisa.constants import StatusCode

from . import _taphost

#: Driver status -> the error a real instrument's session would raise. The
#: driver's 15 is its answer when the recording holds nothing for a write or
#: a read: the instrument stays silent, so the call times out.
DRIVER_ERRORS = {
    8: StatusCode.error_nonsupported_operation,  # no DoCommand entry answers
    9: StatusCode.error_resource_not_found,  # no playback file / no stream at all
    12: StatusCode.error_session_not_locked,
    15: StatusCode.error_timeout,  # nothing recorded for this write or read
    20: StatusCode.error_resource_not_found,  # no stream has this address
    24: StatusCode.error_invalid_setup,  # the recording cannot be loaded
    128: StatusCode.error_system_error,  # failure inside the driver
}

#: The C API's own failures.
API_ERRORS = {
    _taphost.E_NULL_ARGUMENT: StatusCode.error_system_error,
    _taphost.E_BAD_HANDLE: StatusCode.error_invalid_object,
    _taphost.E_DRIVER: StatusCode.error_library_not_found,
    _taphost.E_REGION: StatusCode.error_system_error,
    _taphost.E_BAD_ARGUMENT: StatusCode.error_invalid_resource_name,
    _taphost.E_FAILED: StatusCode.error_system_error,
}

#: Stop reason of a successful read -> its completion code. 1 is the
#: driver's "count reached, more to come"; 4 is the termination character by
#: convention; anything else ends the message (2, the END indicator, by
#: convention).
STOP_REASONS = {
    1: StatusCode.success_max_count_read,
    4: StatusCode.success_termination_character_read,
}


def error_for(status):
    """The StatusCode for a non-zero status of the driver or the API."""
    if status < 0:
        return API_ERRORS.get(status, StatusCode.error_system_error)
    # Other values are return values recorded from the original host, whose
    # meaning the recording does not carry: an I/O error.
    return DRIVER_ERRORS.get(status, StatusCode.error_io)
