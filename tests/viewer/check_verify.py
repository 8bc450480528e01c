"""Runs kalvena-results --verify as a cron job would: no display, its own
data folder, and checks the exit status and the lines it prints."""
import os
import shutil
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


def viewer(data, *arguments):
    env = dict(os.environ, XDG_DATA_HOME=data)
    env.pop("DISPLAY", None)
    env.pop("QT_QPA_PLATFORM", None)
    return subprocess.run([PROGRAM, *arguments], capture_output=True, text=True, env=env, check=False, timeout=60)


def verify(data, *names):
    return viewer(data, "--verify", *names)


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

    # Nothing checked is no all-clear: a nightly check of a share that is
    # not mounted sees an empty folder.
    unmounted = os.path.join(folder, "share")
    os.mkdir(unmounted)
    for names, what in [([], "no file"), (["--last", log], "a wrong option"),
                        ([os.path.join(folder, "nothing.txt")], "a file never seen and not there"),
                        ([unmounted], "a folder with no results")]:
        expect(verify(data, *names), 2, "", what)

# A computer's log gone from the department's folder is told until the
# instructor says it went to the archive; then its folder is quiet, and a
# new term's log there is read afresh.
GONE = "файл, прочитанный ранее, исчез (если он сдан в архив, отметьте это: kalvena-results --archived)"
with tempfile.TemporaryDirectory() as folder:
    data = os.path.join(folder, "data")
    root = os.path.join(folder, "srv")
    logs = {pc: os.path.join(root, pc, "Results.txt") for pc in ["pc01", "pc02"]}
    for log in logs.values():
        os.makedirs(os.path.dirname(log))
        write(log, ENTRY_A)
    expect(verify(data, root), 0, "", "a department's first look")
    memory = os.path.join(data, "kalvena-results", "seen")
    modes = {oct(os.stat(memory).st_mode & 0o777)} | {oct(os.stat(os.path.join(memory, name)).st_mode & 0o777)
                                                       for name in os.listdir(memory)}
    if modes != {"0o700", "0o600"}:
        failures.append(f"the memory is not private: {modes}")

    shutil.move(os.path.dirname(logs["pc02"]), os.path.join(folder, "archive-pc02"))
    expect(verify(data, root), 1, f"{logs['pc02']}:0: {GONE}\n", "a log gone from the folder")
    expect(viewer(data, "--archived", os.path.join(root, "pc02")), 0,
           f"{logs['pc02']}: отмечен как сданный в архив\n", "the gone folder said to be archived")
    expect(verify(data, root), 0, "", "an archived log gone")
    os.makedirs(os.path.dirname(logs["pc02"]))
    write(logs["pc02"], ENTRY_B)
    expect(verify(data, root), 0, "", "a new term's log where the archived one was")
    write(logs["pc02"], "Другой\r\n")
    result = verify(data, root)
    if result.returncode != 1 or not result.stdout.startswith(logs["pc02"] + ":"):
        failures.append(f"the new term's log is not guarded: {result.returncode}, {result.stdout!r}")

    # Marking what the viewer never read is refused.
    result = viewer(data, "--archived", os.path.join(folder, "never.txt"))
    if result.returncode != 1 or "отмечать нечего" not in result.stderr:
        failures.append(f"archiving an unknown file: {result.returncode}, {result.stderr!r}")
    expect(viewer(data, "--archived"), 2, "", "--archived without a file")
    expect(viewer(data, "--archived", "--last", root), 2, "", "--archived with another option")

# A line that cannot be read, or a result without its attempt in a record
# kept beside the log, is told and makes the status 3, not 0.
with tempfile.TemporaryDirectory() as folder:
    data = os.path.join(folder, "data")
    log = os.path.join(folder, "Results.txt")
    write(log, ENTRY_A + "Правильных ответов 3 из 10\r\n")
    result = verify(data, log)
    if result.returncode != 3 or not result.stdout.startswith(log + ":5: "):
        failures.append(f"an unreadable line: {result.returncode}, {result.stdout!r}")
    write(log, ENTRY_A)
    with open(os.path.join(folder, "Results.answers.csv"), "w", encoding="utf-8") as f:
        f.write("kalvena-answers-2,start,2026-12-08T09:00:00+03:00,pc03,1.0,0badbeef,00000000000000a1,"
                "Иванов Иван,101,3,s.ivanov\n")
    result = verify(os.path.join(folder, "other data"), log)
    if result.returncode != 3 or not result.stdout.startswith(log + ":1: «Иванов Иван», результат без попытки"):
        failures.append(f"a result without its attempt: {result.returncode}, {result.stdout!r}")

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
