#!/usr/bin/env python3
"""same_files.py LEFT RIGHT [--with-output]: checks that two folders hold the same files,
byte for byte, apart from the dates the formats carry (a .DBF header's date of last update,
an .MDX header's two dates, an output file's `fecha`). With --with-output, the folders must
also hold tables and an import's output file. Prints each difference; exits 1 if any."""
import os
import re
import sys

# Byte ranges that hold dates, by file extension.
DATES = {".dbf": [(1, 4)], ".mdx": [(1, 4), (44, 47)]}
FECHA = re.compile(rb'(\sfecha=")[^"]*(")')


def files(top):
    out = {}
    for folder, _, names in os.walk(top):
        for name in names:
            path = os.path.join(folder, name)
            out[os.path.relpath(path, top)] = path
    return out


def masked(path):
    data = bytearray(open(path, "rb").read())
    for start, end in DATES.get(os.path.splitext(path)[1].lower(), []):
        data[start:end] = b"\0" * max(0, min(end, len(data)) - start)
    if path.lower().endswith(".xml"):
        data = bytearray(FECHA.sub(rb"\1\2", bytes(data)))
    return bytes(data)


def main():
    left_top, right_top = sys.argv[1], sys.argv[2]
    left, right = files(left_top), files(right_top)
    faults = []
    for name in sorted(set(left) ^ set(right)):
        faults.append(f"only in {left_top if name in left else right_top}: {name}")
    for name in sorted(set(left) & set(right)):
        a, b = masked(left[name]), masked(right[name])
        if a != b:
            at = next((i for i in range(min(len(a), len(b))) if a[i] != b[i]), min(len(a), len(b)))
            faults.append(f"{name}: differs at byte {at} (sizes {len(a)} and {len(b)})")
    for fault in faults:
        print(fault)
    if not any(n.lower().endswith(".dbf") for n in left):
        faults.append("no tables to compare")
        print(faults[-1])
    if "--with-output" in sys.argv[3:] and not any(
            os.path.basename(n).startswith("ResultadoVelor") for n in left):
        faults.append("no output file to compare")
        print(faults[-1])
    print(f"{len(set(left) & set(right))} files compared, {len(faults)} differences")
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
