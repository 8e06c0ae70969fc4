"""Two exclusive opens of one table collide across processes; two shared opens do not;
a shared open keeps an exclusive one out; a closed table can be opened again."""
import subprocess
import sys
import tempfile

tool = sys.argv[1]
failures = []
with tempfile.TemporaryDirectory() as folder:
    subprocess.run([tool, "write-sample", folder], check=True)

    def attempt(mode):
        return subprocess.run([tool, "try", folder, "muestra", mode],
                              capture_output=True).returncode

    cases = [("exclusive", "exclusive", 3), ("exclusive", "shared", 3),
             ("shared", "exclusive", 3), ("shared", "shared", 0)]
    for held, tried, wanted in cases:
        holder = subprocess.Popen([tool, "hold", folder, "MUESTRA", held],
                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        if holder.stdout.readline().strip() != "open":
            failures.append(f"{held}: the holder did not open")
        got = attempt(tried)
        if got != wanted:
            failures.append(f"{tried} while {held} is held: exit {got}, wanted {wanted}")
        holder.communicate("\n", timeout=30)
        if attempt("exclusive") != 0:
            failures.append(f"after {held} was released: exclusive refused")
if failures:
    print("\n".join(failures))
    sys.exit(1)
print("sharing across processes as expected")
