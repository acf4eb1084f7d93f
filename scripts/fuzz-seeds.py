#!/usr/bin/env python3
"""Fills fuzz/corpus/<target>/ with seeds taken from the repository: the
examples, the test recordings and the test scripts. Run it again after
adding examples or tests; it replaces the generated seeds (files named
after their content) and leaves the hand-written ones in fuzz/seeds/.

  scripts/fuzz-seeds.py            all targets
  scripts/fuzz-seeds.py TARGET...  only those
"""
import glob
import hashlib
import os
import re
import shutil
import sys
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
NS = "{urn:Tarvena/Lantorix/StimulusResponseFile/1.0}"
MAX_SEED = 8192  # fuzz_vbscript skips larger inputs
MAX_XML_SEED = 16384  # the scripted power supply fits; the 2 MB oscilloscope does not


def files(*patterns):
    out = []
    for p in patterns:
        out += glob.glob(os.path.join(ROOT, p), recursive=True)
    return sorted(f for f in set(out) if "/build" not in os.path.relpath(f, ROOT))


def read(path):
    with open(path, "rb") as f:
        return f.read()


def recordings():
    return files("examples/*.xml", "tests/**/*.xml")


def parse(path):
    try:
        return ET.parse(path).getroot()
    except ET.ParseError:
        return None


def unhex(text):
    try:
        return bytes.fromhex((text or "").strip())
    except ValueError:
        return b""


# ---- fuzz_xml_load: the files themselves --------------------------------
def xml_seeds():
    return [read(f) for f in recordings() + files("fuzz/seeds/fuzz_xml_load/*")]


# ---- fuzz_vbscript: test scripts and the scripts inside recordings ------
def vbscript_seeds():
    seeds = [read(f) for f in files("tests/**/*.vbs")]
    for path in recordings():
        root = parse(path)
        if root is None:
            continue
        for st in root.iter(NS + "Stimulus"):
            body = st.get("scriptString")
            if body:
                seeds.append(("Sub ExecuteWrite(ByVal PlaybackEngine)\n" + body + "\nEnd Sub\n").encode())
        for resp in root.iter(NS + "Response"):
            if resp.get("responseType") == "vbscript":
                body = unhex(resp.findtext(NS + "ExactString")).decode("cp1252", "replace")
                seeds.append(("Sub ExecuteRead(ByVal PlaybackEngine)\n" + body + "\nEnd Sub\n").encode())
    return seeds


# ---- fuzz_regex: patterns from recordings and scripts, with subjects ----
VBS_STRING = re.compile(r'"((?:[^"\n]|"")*)"')
VBS_PATTERN = re.compile(r'\.Pattern\s*=\s*"((?:[^"\n]|"")*)"', re.I)


def regex_input(switches, pattern, subject):
    p = pattern.encode("utf-8")[:255]
    return bytes([switches, len(p)]) + p + subject.encode("utf-8")


def regex_seeds():
    pairs = []  # (pattern, [subjects])
    for path in recordings():
        root = parse(path)
        if root is None:
            continue
        conv = os.path.splitext(path)[0] + ".conv"
        subjects = []
        if os.path.exists(conv):
            for line in read(conv).decode("utf-8", "replace").splitlines():
                m = re.match(r"(?:write|query) (.*)", line)
                if m:
                    subjects.append(m.group(1).replace("\\n", "\n"))
        for st in root.iter(NS + "Stimulus"):
            pattern = st.get("patternString")
            if pattern is not None:
                pairs.append((pattern, subjects[:4] or ["*IDN?\n"]))
    for path in files("tests/**/*.vbs"):
        text = read(path).decode("utf-8", "replace")
        literals = [s.replace('""', '"') for s in VBS_STRING.findall(text)]
        for m in VBS_PATTERN.finditer(text):
            pattern = m.group(1).replace('""', '"')
            subjects = [s for s in literals if s != pattern][:3]
            pairs.append((pattern, subjects or [""]))
    seeds = []
    for pattern, subjects in pairs:
        for i, subject in enumerate(subjects):
            # Plain, ignore case + global + multiline, and the 8-bit path.
            seeds.append(regex_input((0, 7, 8)[i % 3], pattern, subject))
    return seeds


# ---- fuzz_entries: the examples' exchanges in the target's encoding -----
class Encoder:
    """Writes the decisions fuzz/FuzzRecording.h and fuzz_entries.cpp read."""

    def __init__(self):
        self.out = bytearray()

    def below(self, value):
        self.out.append(value)

    def text(self, data, limit):
        data = data[:limit]
        self.out.append(len(data))
        self.out += data


ADDRESSES = ["gpib", "tcpip", "com", "usb"]  # FuzzRecording.h's kAddresses order


def entries_seed(root):
    stream = root.find(NS + "IORecordStream")
    if stream is None:
        return None
    address = stream.find(NS + "InstrumentAddress")
    intf = address.get("intfaddr") if address is not None else "gpib"
    if intf not in ADDRESSES:
        return None
    e = Encoder()
    e.below(0)                        # one stream
    e.below(ADDRESSES.index(intf))
    e.below(1)                        # opens
    exact = [p for p in stream.findall(NS + "IOStimulusResponse")
             if p.find(NS + "Stimulus") is not None
             and p.find(NS + "Stimulus").get("stimulusType") == "exactString"][:3]
    e.below(len(exact))
    for p in exact:
        st = p.find(NS + "Stimulus")
        e.below(0)                    # exact stimulus
        e.below(int(st.get("readWriteFlags", "0")) & 3)
        e.below(1)                    # ignore flags
        e.text(unhex(st.findtext(NS + "ExactString")), 16)
        e.below(1)                    # recorded status 0
        e.below(min(int(st.get("actualWritten", "0")), 19))
        e.below(0)                    # no wait
        responses = p.findall(NS + "Response")[:2]
        e.below(len(responses))
        for r in responses:
            e.below(1)                # exact response
            e.text(unhex(r.findtext(NS + "ExactString")), 24)
            e.below(1)
            e.below(int(r.get("stopReason", "0")) & 3)
            e.below(0)
    commands = stream.findall(NS + "DoCommand")[:2]
    e.below(len(commands))
    for c in commands:
        e.below((int(c.get("command", "8193")) - 8193) & 3)
        e.below(1)                    # exactMatch
        e.below(0)
        e.below(1)
        e.text(b"".join(unhex(d.text) for d in c.iter(NS + "DataParameter")), 8)
        responses = c.findall(NS + "DoCommandResponse")[:2]
        e.below(len(responses))
        for r in responses:
            e.below(1)
            e.below(0)
            ds = r.find(NS + "DataStruct")
            e.text(b"".join(unhex(d.text) for d in ds.iter(NS + "DataParameter")) if ds is not None else b"", 8)
    e.below(0)                        # no initial values
    # Calls: open the stream's address, write and read each pair, a DoCommand
    # on each entry, lock, unlock; the target closes what stays open.
    session = [7, 1]                  # the first open session
    flags_0 = [1, 0]
    timeout_1ms = 2
    e.out += bytes([0, ADDRESSES.index(intf), 1, 1, 0, 1, 1, 1])
    for i in range(len(exact)):
        e.out += bytes([2, *session, *flags_0, timeout_1ms, 1, i, 1, 4])
        e.out += bytes([3, *session, *flags_0, timeout_1ms, 10, 7, 4])
    for i in range(len(commands)):
        e.out += bytes([5, *session, *flags_0, timeout_1ms, 1, i, 0, 0, 0])
    e.out += bytes([6, *session, 1, 6, *session, 0])
    return bytes(e.out)


def entries_seeds():
    seeds = []
    for path in recordings():
        root = parse(path)
        if root is not None:
            seed = entries_seed(root)
            if seed:
                seeds.append(seed)
    return seeds


TARGETS = {
    "fuzz_xml_load": xml_seeds,
    "fuzz_vbscript": vbscript_seeds,
    "fuzz_regex": regex_seeds,
    "fuzz_entries": entries_seeds,
}


def fill(target):
    folder = os.path.join(ROOT, "fuzz", "corpus", target)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    kept = 0
    for seed in TARGETS[target]():
        limit = MAX_XML_SEED if target == "fuzz_xml_load" else MAX_SEED
        if not seed or len(seed) > limit:
            continue
        name = hashlib.sha1(seed).hexdigest()[:16]
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            with open(path, "wb") as f:
                f.write(seed)
            kept += 1
    print(f"{target}: {kept} seeds")


def main():
    targets = sys.argv[1:] or list(TARGETS)
    for t in targets:
        if t not in TARGETS:
            sys.exit(f"unknown target {t}; known: {' '.join(TARGETS)}")
        fill(t)


if __name__ == "__main__":
    main()
