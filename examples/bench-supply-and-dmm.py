"""Drives the imported bench supply and multimeter as any PyVISA program
would; only the resource manager's argument names the recording.

    srplay import examples/bench-supply-and-dmm.yaml -o examples/bench-supply-and-dmm.xml
    PYTHONPATH=python TAPLAYBACK_LIB_DIR=build/default \
        python3 examples/bench-supply-and-dmm.py
"""

import os

import pyvisa

HERE = os.path.dirname(os.path.abspath(__file__))
rm = pyvisa.ResourceManager(os.path.join(HERE, "bench-supply-and-dmm.xml") + "@tap")
print("resources:", ", ".join(rm.list_resources()))

supply = rm.open_resource("GPIB0::5::INSTR", read_termination="\n", write_termination="\n")
meter = rm.open_resource("USB0::0x1F3A::0x6500::SN71003::INSTR", read_termination="\n",
                         write_termination="\n")

print(supply.query("*IDN?"))
supply.write("SOUR1:VOLT 12.000")
print("channel 1 voltage:", supply.query("SOUR1:VOLT?"))
supply.write("SOUR1:VOLT 99.000")  # above the output's 30 V
print("after 99 V:", supply.read(), "/", supply.query("SOUR1:VOLT?"), "/", supply.query("SYST:ERR?"))

print(meter.query("*IDN?"))
print("reading:", meter.query("READ?"))

supply.close()
meter.close()
rm.close()
