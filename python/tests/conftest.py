"""Recordings written as text for the backend's tests."""

import os
import sys

import pytest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), ".."))

NS = "urn:Tarvena/Lantorix/StimulusResponseFile/1.0"


def recording(*streams):
    return ('<?xml version="1.0"?>\n<IORecordStreamFile xmlns="%s" version="1.0">\n%s'
            "</IORecordStreamFile>\n" % (NS, "".join(streams)))


def stream(intfaddr, prim, *body, sec="-1", devprot="0", bracket="", colon="", rv=0):
    return ('<IORecordStream returnValue="%d"><InstrumentAddress intfaddr="%s" prim="%s" '
            'sec="%s" devprot="%s" bracket="%s" colon="%s"/>\n%s</IORecordStream>\n'
            % (rv, intfaddr, prim, sec, devprot, bracket, colon, "".join(body)))


def response(data, wait=0, stop=2, rv=0):
    return ('<Response responseType="exactString" returnValue="%d" stopReason="%d" '
            'waitTime="%d"><ExactString>%s</ExactString></Response>\n'
            % (rv, stop, wait, bytes(data).hex().upper()))


def pair(stimulus, *responses, rv=0):
    return ('<IOStimulusResponse version="1.5"><Stimulus stimulusType="exactString" '
            'returnValue="%d" actualWritten="%d" readWriteFlags="0"><ExactString>%s'
            "</ExactString></Stimulus>\n%s</IOStimulusResponse>\n"
            % (rv, len(stimulus), bytes(stimulus).hex().upper(), "".join(responses)))


def docommand(command, data, answer):
    return ('<DoCommand doCmdType="exactMatch" version="1.5" doCmdFlags="0" command="%d">'
            "<DataStruct><DataParameter>%s</DataParameter></DataStruct>"
            '<DoCommandResponse returnValue="0"><DataStruct><DataParameter>%s</DataParameter></DataStruct>'
            "</DoCommandResponse></DoCommand>\n" % (command, data.hex(), answer.hex()))


@pytest.fixture
def write_recording(tmp_path):
    """Writes a recording's text to a file and gives its ResourceManager spec."""
    count = [0]

    def write(text):
        count[0] += 1
        path = tmp_path / ("recording%d.xml" % count[0])
        path.write_text(text)
        return "%s@tap" % path

    return write


def pytest_configure(config):
    if not os.environ.get("TAPLAYBACK_LIB_DIR"):
        default = os.path.join(os.path.dirname(__file__), "..", "..", "build", "default")
        if os.path.exists(os.path.join(default, "libtaphost.so")):
            os.environ["TAPLAYBACK_LIB_DIR"] = os.path.abspath(default)
