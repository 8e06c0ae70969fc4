"""Tables that python3-dbf writes, in dBase III and Visual FoxPro form with deleted rows,
read by our engine with the values that were written, the deleted rows passed over."""
import datetime
import subprocess
import sys
import tempfile

import dbf

tool = sys.argv[1]
failures = []
with tempfile.TemporaryDirectory() as folder:
    cases = {
        "db3": "PROF C(6); DIA N(2,0); HORA N(3,0); HORAS N(6,2); NOTA M; ACTIVO L; FECHA D",
        "vfp": ("PROF C(6); DIA N(2,0); HORA I; HORAS B; NOTA M; ACTIVO L; FECHA D; "
                "PRECIO Y; CUANDO T"),
    }
    for kind, contents in cases.items():
        name = "soluc_" + kind
        table = dbf.Table(folder + "/" + name + ".dbf", contents, dbf_type=kind,
                          codepage="cp1252")
        table.open(dbf.READ_WRITE)
        rows = [("ABÇ", 1, 3, 1.5, "nota", True, datetime.date(2026, 12, 11)),
                ("borrar", 2, 4, 2.0, "", False, None),
                ("Peña", 10, 12, -0.25, "", None, None),
                ("", 0, 0, 0, "", None, None)]
        for row in rows:
            values = list(row)
            if kind == "vfp":
                values += [None, None] if row[0] != "ABÇ" else [
                    12.25, datetime.datetime(2026, 12, 11, 1, 2, 3)]
            table.append(tuple(values))
        # The second row is deleted, and a logical left unset reads as "".
        dbf.delete(table[1])
        table.close()
        out = subprocess.run([tool, "dump", folder, name.upper()], check=True,
                             capture_output=True).stdout.decode("cp1252").splitlines()
        if kind == "db3":
            wanted = ["ABÇ|1|3|1.5||T|20261211", "Peña|10|12|-0.25|||", "|0|0|0|||"]
        else:
            wanted = ["ABÇ|1|3|1.5||T|20261211|12.25|20261211 01:02:03",
                      "Peña|10|12|-0.25||||0|", "|0|0|0||||0|"]
        if out != wanted:
            failures.append(f"{kind}: {out!r} != {wanted!r}")
if failures:
    print("\n".join(failures))
    sys.exit(1)
print("read the python3-dbf tables as written")
