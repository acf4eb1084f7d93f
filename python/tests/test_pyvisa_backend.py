"""PyVISA programs, unmodified but for "@tap", played from recordings."""

import struct
import time

import pytest
import pyvisa
from pyvisa import VisaIOError
from pyvisa.constants import StatusCode

from conftest import docommand, pair, recording, response, stream

IDN = b"ACME,MODEL-1,0,1.0\n"
WAVE = [0.5, -1.25, 3.0, 1e-3]
BLOCK = struct.pack("<4f", *WAVE)
IEEE = b"#2%02d" % len(BLOCK) + BLOCK + b"\n"


def bench(**kw):
    return recording(
        stream("gpib", 22,
               pair(b"*IDN?\n", response(IDN)),
               pair(b"MEAS?\n", response(b"1.5\n"), response(b"2.5\n")),
               pair(b"CURV?\n", response(IEEE)),
               pair(b"SLOW?\n", response(b"done\n", wait=kw.get("wait", 300))),
               pair(b"EOI?\n", response(b"0123456789\n", stop=2)),
               pair(b"TERM?\n", response(b"x\n", stop=4)),
               pair(b"BAD?\n", response(b"", rv=17)),
               docommand(7, b"\x01\x02", b"\xAA\xBB")),
        stream("tcpip", 0, pair(b"*IDN?\n", response(b"LAN\n")), bracket="10.0.0.9",
               colon="inst0"),
        stream("gpib", 5, sec="0", devprot="1"))


@pytest.fixture
def rm(write_recording):
    manager = pyvisa.ResourceManager(write_recording(bench()))
    yield manager
    manager.close()


@pytest.fixture
def inst(rm):
    instrument = rm.open_resource("GPIB0::22::INSTR", read_termination="\n",
                                  write_termination="\n")
    yield instrument
    instrument.close()


def test_a_program_gets_the_recorded_answers(rm, inst):
    assert rm.list_resources() == ("GPIB0::22::INSTR", "TCPIP0::10.0.0.9::inst0::INSTR")
    assert inst.query("*IDN?") == IDN.decode().rstrip("\n")
    # Successive writes of one stimulus step through its responses, cyclically.
    assert [inst.query("MEAS?") for _ in range(3)] == ["1.5", "2.5", "1.5"]
    inst.write("MEAS?")
    assert inst.read() == "2.5"
    lan = rm.open_resource("tcpip::10.0.0.9::INSTR", read_termination="\n",
                           write_termination="\n")
    assert lan.query("*IDN?") == "LAN"
    lan.close()


def test_binary_block_through_query_binary_values(inst):
    values = inst.query_binary_values("CURV?", datatype="f", container=list)
    assert values == pytest.approx(WAVE)


def test_read_status_tells_count_reached_from_end(rm, inst):
    inst.write("EOI?")
    lib = rm.visalib
    with inst.ignore_warning(StatusCode.success_max_count_read):
        assert lib.read(inst.session, 4) == (b"0123", StatusCode.success_max_count_read)
        assert lib.read(inst.session, 4) == (b"4567", StatusCode.success_max_count_read)
    assert lib.read(inst.session, 4) == (b"89\n", StatusCode.success)
    inst.write("TERM?")
    assert lib.read(inst.session, 64) == (b"x\n", StatusCode.success_termination_character_read)
    # Small chunks are joined by PyVISA's read loop.
    inst.chunk_size = 3
    assert inst.query("EOI?") == "0123456789"


def test_a_recorded_wait_is_applied_within_the_timeout(inst):
    start = time.monotonic()
    assert inst.query("SLOW?") == "done"
    assert time.monotonic() - start >= 0.3
    inst.timeout = 50
    start = time.monotonic()
    assert inst.query("SLOW?") == "done"
    assert 0.05 <= time.monotonic() - start < 0.3
    inst.timeout = None  # infinite
    assert inst.timeout == float("+inf")


@pytest.mark.parametrize("action, code", [
    (lambda i: i.write("NOT RECORDED"), StatusCode.error_timeout),
    (lambda i: i.read(), StatusCode.error_timeout),  # nothing written: nothing to read
    (lambda i: i.query("BAD?"), StatusCode.error_io),  # a recorded failure
])
def test_what_the_recording_cannot_answer_raises(inst, action, code):
    with pytest.raises(VisaIOError) as raised:
        action(inst)
    assert raised.value.error_code == code


@pytest.mark.parametrize("name, code", [
    ("GPIB0::9::INSTR", StatusCode.error_resource_not_found),
    ("TCPIP0::10.0.0.8::inst0::INSTR", StatusCode.error_resource_not_found),
    ("VXI0::1::INSTR", StatusCode.error_invalid_resource_name),
])
def test_opening_what_was_not_recorded_raises(rm, name, code):
    with pytest.raises(VisaIOError) as raised:
        rm.open_resource(name)
    assert raised.value.error_code == code


def test_docommand_answers_from_the_recording(rm, inst):
    assert rm.visalib.do_command(inst.session, 7, b"\x01\x02") == (b"\xAA\xBB",
                                                                   StatusCode.success)
    with pytest.raises(VisaIOError) as raised:
        rm.visalib.do_command(inst.session, 8, b"\x01\x02")
    assert raised.value.error_code == StatusCode.error_nonsupported_operation


def test_two_recordings_play_side_by_side(write_recording):
    first = pyvisa.ResourceManager(write_recording(bench()))
    second = pyvisa.ResourceManager(write_recording(recording(
        stream("com", 3, pair(b"*IDN?\n", response(b"SERIAL\n"))))))
    assert second.list_resources() == ("ASRL3::INSTR",)
    a = first.open_resource("GPIB0::22::INSTR", read_termination="\n", write_termination="\n")
    b = second.open_resource("ASRL3::INSTR", read_termination="\n", write_termination="\n")
    assert (a.query("*IDN?"), b.query("*IDN?")) == (IDN.decode().rstrip(), "SERIAL")
    first.close()
    second.close()


def test_a_file_that_is_no_recording_is_refused(write_recording, tmp_path):
    with pytest.raises(OSError):
        pyvisa.ResourceManager(write_recording("<IORecordStreamFile"))
    with pytest.raises(OSError):
        pyvisa.ResourceManager("%s@tap" % (tmp_path / "missing.xml"))


def test_secondary_address_zero_is_kept_when_recorded(write_recording):
    # PyVISA turns GPIB0::7::INSTR into GPIB0::7::0::INSTR; a stream with
    # secondary address 0 answers that name before the one without.
    rm = pyvisa.ResourceManager(write_recording(recording(
        stream("gpib", 7, pair(b"Q\n", response(b"none\n"))),
        stream("gpib", 7, pair(b"Q\n", response(b"zero\n")), sec="0"))))
    assert rm.list_resources() == ("GPIB0::7::INSTR", "GPIB0::7::0::INSTR")
    inst = rm.open_resource("GPIB0::7::0::INSTR", read_termination="\n", write_termination="\n")
    assert inst.query("Q") == "zero"
    rm.close()
