#!/usr/bin/env python3
"""*IDN? queries per second, in one run:

  tap    PyVISA through pyvisa_tap and the real driver (ResourceManager("...@tap"));
  floor  PyVISA through a backend that answers from a Python dict: PyVISA's
         front end alone, the least any backend can cost;
  C API  the C API's round trip alone (bench_host_api from the build folder).

Usage: TAPLAYBACK_LIB_DIR=build/default python3 python/bench/bench_pyvisa.py [--seconds S]
Add --profile to print where the tap path spends its time.
"""

import argparse
import json
import os
import subprocess
import sys
import tempfile
import time
import types

sys.path.insert(0, os.path.join(os.path.dirname(__file__), ".."))

import pyvisa  # noqa: E402
from pyvisa import constants  # noqa: E402
from pyvisa.constants import StatusCode  # noqa: E402
from pyvisa.highlevel import VisaLibraryBase  # noqa: E402

ANSWER = b"ACME,MODEL-1,0,1.0\n"
RECORDING = """<?xml version="1.0"?>
<IORecordStreamFile xmlns="urn:Tarvena/Lantorix/StimulusResponseFile/1.0" version="1.0">
<IORecordStream returnValue="0"><InstrumentAddress intfaddr="gpib" prim="22" sec="-1"
 devprot="0" bracket="" colon=""/>
<IOStimulusResponse version="1.5"><Stimulus stimulusType="exactString" returnValue="0"
 actualWritten="6" readWriteFlags="0"><ExactString>%s</ExactString></Stimulus>
<Response responseType="exactString" returnValue="0" stopReason="2" waitTime="0">
<ExactString>%s</ExactString></Response></IOStimulusResponse>
</IORecordStream></IORecordStreamFile>
""" % (b"*IDN?\n".hex(), ANSWER.hex())


class DictLibrary(VisaLibraryBase):
    """The floor: answers from a dict, with the bookkeeping any backend keeps."""

    ANSWERS = {b"*IDN?\n": ANSWER}

    def _init(self):
        self._pending = {}
        self._attributes = {}

    def open_default_resource_manager(self):
        return 0, StatusCode.success

    def list_resources(self, session, query="?*::INSTR"):
        return ("GPIB0::22::INSTR",)

    def open(self, session, name, access_mode=0, open_timeout=0):
        self._attributes[1] = {constants.ResourceAttribute.timeout_value: 2000}
        return 1, StatusCode.success

    def close(self, session):
        return StatusCode.success

    def write(self, session, data):
        self._pending[session] = self.ANSWERS[bytes(data)]
        return len(data), StatusCode.success

    def read(self, session, count):
        return self._pending.pop(session), StatusCode.success

    def disable_event(self, session, event_type, mechanism):
        return StatusCode.success

    def discard_events(self, session, event_type, mechanism):
        return StatusCode.success

    def get_attribute(self, session, attribute):
        return self._attributes[session].get(attribute), StatusCode.success

    def set_attribute(self, session, attribute, value):
        self._attributes[session][attribute] = value
        return StatusCode.success


def open_idn(spec):
    rm = pyvisa.ResourceManager(spec)
    inst = rm.open_resource("GPIB0::22::INSTR", read_termination="\n", write_termination="\n")
    assert inst.query("*IDN?") == ANSWER.decode().rstrip("\n")
    return rm, inst


def profile(inst):
    import cProfile
    import pstats
    with cProfile.Profile() as p:
        for _ in range(20000):
            inst.query("*IDN?")
    pstats.Stats(p).sort_stats("tottime").print_stats(14)


def round_rate(inst, seconds):
    n, start = 0, time.perf_counter()
    deadline = start + seconds
    while True:
        for _ in range(500):
            inst.query("*IDN?")
        n += 500
        now = time.perf_counter()
        if now >= deadline:
            return n / (now - start)


def best_rates(instruments, seconds, rounds=10):
    """Rounds of each in turn, so that a busy spell of the shared machine
    falls on both; the best round of each."""
    best = [0.0] * len(instruments)
    for _ in range(rounds):
        for i, inst in enumerate(instruments):
            best[i] = max(best[i], round_rate(inst, seconds / rounds))
    return best


def c_api_queries_per_second(lib_dir):
    exe = os.path.join(lib_dir, "bench", "bench_host_api")
    if not os.path.exists(exe):
        return None
    out = subprocess.run([exe, "--benchmark_format=json", "--benchmark_repetitions=5",
                          "--benchmark_report_aggregates_only=true"],
                         check=True, capture_output=True, text=True).stdout
    runs = json.loads(out)["benchmarks"]
    return max(r["queries_per_s"] for r in runs if r.get("aggregate_name") in ("median", "max"))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--seconds", type=float, default=3.0, help="per backend")
    parser.add_argument("--profile", action="store_true")
    args = parser.parse_args()
    lib_dir = os.environ.get("TAPLAYBACK_LIB_DIR", "build/default")
    os.environ["TAPLAYBACK_LIB_DIR"] = lib_dir

    floor_module = types.ModuleType("pyvisa_dictfloor")
    floor_module.WRAPPER_CLASS = DictLibrary
    sys.modules["pyvisa_dictfloor"] = floor_module

    with tempfile.NamedTemporaryFile("w", suffix=".xml", delete=False) as f:
        f.write(RECORDING)
    try:
        tap_rm, tap_inst = open_idn("%s@tap" % f.name)
        floor_rm, floor_inst = open_idn("floor@dictfloor")
        if args.profile:
            profile(tap_inst)
        tap, floor = best_rates([tap_inst, floor_inst], args.seconds)
        tap_rm.close()
        floor_rm.close()
    finally:
        os.unlink(f.name)
    c_api = c_api_queries_per_second(lib_dir)

    print("*IDN? queries per second (best of 10 rounds each, taken in turn):")
    print("  PyVISA @tap            %10.0f   %6.2f us/query" % (tap, 1e6 / tap))
    print("  PyVISA dict backend    %10.0f   %6.2f us/query  (floor)" % (floor, 1e6 / floor))
    if c_api:
        print("  C API round trip       %10.0f   %6.2f us/query" % (c_api, 1e6 / c_api))
    print("  @tap adds %.2f us per query to the floor" % (1e6 / tap - 1e6 / floor))


if __name__ == "__main__":
    main()
