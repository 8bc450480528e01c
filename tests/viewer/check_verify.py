"""Runs kalvena-results --verify as a cron job would: no display, its own
data folder, and checks the exit status and the lines it prints."""
import os
import subprocess
import sys
import tempfile

PROGRAM = sys.argv[1]
failures = []

ENTRY_A = "Иванов Иван\r\n101\r\nПравильных ответов 7 из 10\r\n\r\n"
ENTRY_B = "Петров Пётр\r\n102\r\n"


def write(path, text, mode="w"):
    with open(path, mode + "b") as f:
        f.write(text.encode("cp1251"))


def verify(data, *names):
    env = dict(os.environ, XDG_DATA_HOME=data)
    env.pop("DISPLAY", None)
    env.pop("QT_QPA_PLATFORM", None)
    return subprocess.run([PROGRAM, "--verify", *names], capture_output=True, text=True, env=env, check=False,
                          timeout=60)


def expect(result, status, stdout, what):
    if result.returncode != status or result.stdout != stdout:
        failures.append(f"{what}: status {result.returncode}, printed {result.stdout!r}{result.stderr!r}")


with tempfile.TemporaryDirectory() as folder:
    data = os.path.join(folder, "data")
    log = os.path.join(folder, "pc12", "Results.txt")
    os.mkdir(os.path.dirname(log))
    write(log, ENTRY_A)
    expect(verify(data, log), 0, "", "first look")
    write(log, ENTRY_B, "a")
    expect(verify(data, folder), 0, "", "an append, through the folder")

    with open(log, "r+b") as f:  # in place, same inode
        f.write("Иванов Иван\r\n101\r\nПравильных ответов 9 из 10".encode("cp1251"))
    result = verify(data, folder)
    expect(result, 1, result.stdout, "an edit")
    lines = result.stdout.splitlines()
    if len(lines) != 1 or not lines[0].startswith(log + ":1: запись изменена после ") \
            or not lines[0].endswith(": была «Иванов Иван, 101, Правильных ответов 7 из 10»"):
        failures.append(f"an edit: printed {result.stdout!r}")

    expect(verify(data), 2, "", "no file")
    expect(verify(data, "--last", log), 2, "", "a wrong option")
    expect(verify(data, os.path.join(folder, "nothing.txt")), 2, "", "a file never seen and not there")

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
