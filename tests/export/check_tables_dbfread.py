"""Exports the sample school with transvelor and opens every table it wrote with an
independent dBase reader (dbfread), checking field names, order, types and widths.

usage: check_tables_dbfread.py TRANSVELOR CENTRO.XML
"""
import subprocess
import sys
import tempfile
from pathlib import Path

from dbfread import DBF

C, I, F, L = "C", "I", "F", "L"
# Name, kind, width of a character field.
SCHEMAS = {
    "ASIGNOMT": [("COD", C, 10), ("CODLARGO", C, 10), ("NOMBRE", C, 80), ("MATERIA", C, 8),
                 ("CODTAREA", C, 12), ("ESTAREA", L, 1)],
    "PROFT": [("ABREV", C, 10), ("NOMBRE", C, 80), ("DEPART", C, 40), ("EMAIL", C, 100),
              ("DNI", I, 0), ("X_EMPLEADO", C, 10), ("F_TOMAPOS", C, 10)],
    "AULAT": [("ABREV", C, 10), ("NOMBRE", C, 80), ("EDIFICIO", C, 1), ("MAXALUM", I, 0),
              ("DEPCENTRO", C, 10)],
    "CURSOST": [("ABREV", C, 10), ("TURNO", C, 1), ("NIVEL", C, 5), ("CURSO", C, 3),
                ("CLAVE", C, 10), ("ESTUD", C, 80)],
    "GRUPOST": [("ABREV", C, 10), ("TURNO", C, 1), ("NIVEL", C, 5), ("CURSO", C, 3),
                ("GRUPO", C, 2), ("DESCRIP", C, 80), ("MARCO", C, 1), ("CLAVE", C, 10),
                ("CLAVECURSO", C, 10)],
    "ASIGT": [("CASIG", C, 10), ("CPROF", C, 10), ("CGRUP", C, 10), ("CAULA", C, 10),
              ("TURNO", C, 1), ("NIVEL", C, 5), ("CURSO", C, 3), ("GRUPO", C, 2),
              ("HORAS", F, 0), ("SESIONES", C, 20), ("NCONEX", C, 4), ("CLAVE", C, 10),
              ("CLAVECURSO", C, 10), ("CTAREA", C, 10)],
    "PERIODOS": [("CJORNADA", C, 10), ("JORNADA", C, 40), ("FECINI", C, 10),
                 ("FECFIN", C, 10)],
}
SLOTS = [("DIHO", C, 10), ("CODDIHO", C, 10), ("DIA", C, 20), ("TEXTODIA", C, 20),
         ("HORA", C, 8), ("TEXTOHOR", C, 15), ("HORADESDE", C, 8), ("HORAHASTA", C, 8),
         ("MINUTOS", C, 8), ("MARCO", C, 1), ("MARCOXML", C, 10)]
SCHEMAS["DIASHORAST"] = SLOTS
SCHEMAS["DIASHORAST2"] = SLOTS + [("ORDEN", I, 0)]
ROWS = {"ASIGNOMT": None, "PROFT": 30, "AULAT": 15, "CURSOST": 8, "GRUPOST": 16,
        "DIASHORAST": 91, "DIASHORAST2": 0, "PERIODOS": 2}


def matches(field, kind, width):
    if kind == C:
        return field.type == "C" and field.length == width
    if kind == L:
        return field.type == "L" and field.length == 1
    if kind == I:  # an integer: numeric without decimals, or a binary integer
        return (field.type == "N" and field.decimal_count == 0) or field.type == "I"
    return field.type in ("N", "F", "O") and (field.type != "N" or field.decimal_count > 0)


def main():
    transvelor, centro = sys.argv[1], sys.argv[2]
    failures = []
    with tempfile.TemporaryDirectory() as work:
        run = subprocess.run([transvelor, "export", centro, "--frames", "501,502",
                              "--work-folder", work], capture_output=True, text=True)
        if run.returncode != 0:
            print(run.stdout, run.stderr)
            return 1
        for table, schema in SCHEMAS.items():
            dbf = DBF(str(Path(work) / (table + ".DBF")), encoding="cp1252")
            names = [f.name for f in dbf.fields]
            if names != [name for name, _, _ in schema]:
                failures.append(f"{table}: fields {names}")
            for field, (name, kind, width) in zip(dbf.fields, schema):
                if not matches(field, kind, width):
                    failures.append(f"{table}.{name}: {field.type} {field.length}"
                                    f".{field.decimal_count}, expected {kind} {width}")
            records = list(dbf)
            if ROWS.get(table) is not None and len(records) != ROWS[table]:
                failures.append(f"{table}: {len(records)} rows, expected {ROWS[table]}")
            if table == "ASIGT" and records and (records[0]["HORAS"] != 4
                                                 or records[0]["SESIONES"] != "1111"):
                failures.append(f"ASIGT first row {records[0]}")
            if table == "PROFT" and records[0]["NOMBRE"] != "García Martín, José":
                failures.append(f"PROFT first row {records[0]}")
    for failure in failures:
        print(failure)
    print("checked", len(SCHEMAS), "tables" if not failures else "FAILED")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
