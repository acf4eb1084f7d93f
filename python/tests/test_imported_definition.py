"""A simulated-instrument definition imported by `srplay import`, then
played by an unmodified PyVISA program through "@tap": the answers must be
the ones the definition specifies."""

import os
import subprocess

import pytest
import pyvisa
from pyvisa import VisaIOError

DEFINITION = r'''
spec: "1.1"
devices:
  supply:
    eom:
      GPIB INSTR: {q: "\n", r: "\n"}
      TCPIP INSTR: {q: "\n", r: "\n"}
    error:
      response: {command_error: ERROR}
      error_queue:
        - q: "SYST:ERR?"
          default: '+0,"No error"'
          command_error: '-100,"Command error"'
    dialogues:
      - {q: "*IDN?", r: "ACME,PSU-1,SN1,1.0"}
    properties:
      voltage:
        default: 1.5
        getter: {q: "VOLT?", r: "{:.3f}"}
        setter: {q: "VOLT {:.3f}"}
        specs: {min: 0, max: 30, type: float}
      mode:
        default: "CV"
        getter: {q: "MODE?", r: "{:s}"}
        setter: {q: "MODE {:s}"}
        specs: {valid: [CV, CC], type: str}
  meter:
    eom:
      USB INSTR: {q: "\n", r: "\n"}
    error: "-113,Undefined header"
    dialogues:
      - {q: "*IDN?", r: "ACME,DMM-2,SN2,2.0"}
      - {q: "READ?", r: "+1.25E+00"}
resources:
  GPIB0::7::INSTR: {device: supply}
  TCPIP0::10.1.2.3::inst0::INSTR: {device: supply}
  USB0::0x1234::0x5678::SN2::INSTR: {device: meter}
'''


@pytest.fixture(scope="module")
def manager(tmp_path_factory):
    folder = tmp_path_factory.mktemp("imported")
    definition = folder / "bench.yaml"
    definition.write_text(DEFINITION)
    recording = folder / "bench.xml"
    srplay = os.path.join(os.environ["TAPLAYBACK_LIB_DIR"], "srplay")
    done = subprocess.run([srplay, "import", str(definition), "-o", str(recording)],
                          capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    rm = pyvisa.ResourceManager("%s@tap" % recording)
    yield rm
    rm.close()


def open_(rm, name):
    return rm.open_resource(name, read_termination="\n", write_termination="\n", timeout=2000)


@pytest.mark.parametrize("name,identity", [
    ("GPIB0::7::INSTR", "ACME,PSU-1,SN1,1.0"),
    ("TCPIP0::10.1.2.3::inst0::INSTR", "ACME,PSU-1,SN1,1.0"),
    ("USB0::0x1234::0x5678::SN2::INSTR", "ACME,DMM-2,SN2,2.0"),
])
def test_each_resource_answers_as_its_device(manager, name, identity):
    inst = open_(manager, name)
    try:
        assert inst.query("*IDN?") == identity
    finally:
        inst.close()


def test_properties_keep_settings_and_refuse_what_the_specs_forbid(manager):
    inst = open_(manager, "GPIB0::7::INSTR")
    try:
        assert inst.query("VOLT?") == "1.500"
        inst.write("VOLT 12.250")
        assert inst.query("VOLT?") == "12.250"
        # Out of range: the setting stays, the error answers and is queued.
        inst.write("VOLT 45.000")
        assert inst.read() == "ERROR"
        assert inst.query("VOLT?") == "12.250"
        assert inst.query("SYST:ERR?") == '-100,"Command error"'
        assert inst.query("SYST:ERR?") == '+0,"No error"'
        inst.write("MODE CC")
        assert inst.query("MODE?") == "CC"
        inst.write("MODE XX")
        assert inst.read() == "ERROR"
        assert inst.query("MODE?") == "CC"
    finally:
        inst.close()


def test_every_session_starts_from_the_defaults(manager):
    first = open_(manager, "GPIB0::7::INSTR")
    second = open_(manager, "TCPIP0::10.1.2.3::inst0::INSTR")
    try:
        first.write("VOLT 3.000")
        assert first.query("VOLT?") == "3.000"
        assert second.query("VOLT?") == "1.500"
    finally:
        first.close()
        second.close()


def test_an_unknown_command_gets_the_devices_error(manager):
    inst = open_(manager, "USB0::0x1234::0x5678::SN2::INSTR")
    try:
        assert inst.query("READ?") == "+1.25E+00"
        assert inst.query("FOO?") == "-113,Undefined header"
    finally:
        inst.close()


def test_a_resource_the_definition_does_not_name_is_not_found(manager):
    with pytest.raises(VisaIOError):
        manager.open_resource("GPIB0::9::INSTR")
