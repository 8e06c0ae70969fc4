"""Tables we write read back by python3-dbfread with the values we put in them."""
import subprocess
import sys
import tempfile
from decimal import Decimal

import dbfread

tool = sys.argv[1]
with tempfile.TemporaryDirectory() as folder:
    subprocess.run([tool, "write-sample", folder], check=True)
    table = dbfread.DBF(folder + "/MUESTRA.DBF", char_decode_errors="strict")
    failures = []

    def expect(what, got, wanted):
        if got != wanted:
            failures.append(f"{what}: {got!r} != {wanted!r}")

    expect("encoding", table.encoding, "cp1252")
    expect("fields", [(f.name, f.type, f.length, f.decimal_count) for f in table.fields],
           [("NOMBRE", "C", 30, 0), ("COD", "C", 5, 0), ("DNI", "N", 11, 0),
            ("HORAS", "N", 20, 4), ("ESTAREA", "L", 1, 0)])
    rows = [dict(r) for r in table]
    expect("rows", rows, [
        {"NOMBRE": "José María Núñez €", "COD": "ÁÉÍÓÚ", "DNI": 12345678,
         "HORAS": 4.5, "ESTAREA": True},
        {"NOMBRE": "  con blancos delante", "COD": "x", "DNI": -7,
         "HORAS": 0.25, "ESTAREA": False},
        {"NOMBRE": "", "COD": "", "DNI": None, "HORAS": None, "ESTAREA": None},
    ])
    expect("count", len(table), 3)
    expect("deleted", len(table.deleted), 0)
    if failures:
        print("\n".join(failures))
        sys.exit(1)
    print("dbfread read", len(rows), "rows as written")
