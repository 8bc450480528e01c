"""Checks kalvena-results' exports with readers independent of it: Python's
csv module, openpyxl for XLSX and poppler's pdfinfo and pdftotext for PDF."""
import csv
import io
import os
import subprocess
import sys
import tempfile

import openpyxl

PROGRAM = sys.argv[1]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def entry(name, platoon, right=None, asked=None):
    text = f"{name}\r\n{platoon}\r\n"
    if right is not None:
        text += f"Правильных ответов {right} из {asked}\r\n\r\n"
    return text


def run(*arguments):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    # An option taken for a file name would open the window and never end.
    return subprocess.run([PROGRAM, *arguments], capture_output=True, env=env, check=False, timeout=60)


def pdf_page_text(path, page):
    return subprocess.run(["pdftotext", "-f", str(page), "-l", str(page), "-layout", path, "-"],
                          capture_output=True, text=True, check=True).stdout


def pdf_pages(path):
    info = subprocess.run(["pdfinfo", path], capture_output=True, text=True, check=True).stdout
    return int(next(line.split()[1] for line in info.splitlines() if line.startswith("Pages:")))


EXPECTED_ROWS = [
    ["№", "ФИО", "Учебный взвод", "Правильных", "Вопросов", "%", "Оценка", "Состояние", "Компьютер", "Файл",
     "Учетная запись"],
    ["1", 'Иванов; "Ваня"', "101", "7", "10", "70", "4 (хорошо)", "завершён", "pc07", "Results.txt", ""],
    ["2", "Петров Пётр", "101", "", "", "", "", "не завершён", "pc07", "Results.txt", ""],
    ["3", "'=1+2", "102;б", "7", "8", "87", "4 (хорошо)", "завершён", "pc07", "Results.txt", ""],
    ["4", "100% %s", "102;б", "0", "10", "0", "2 (неудовлетворительно)", "завершён", "pc07", "Results.txt", ""],
]

with tempfile.TemporaryDirectory() as folder:
    # A classroom computer's folder: the log's computer is its name.
    os.mkdir(os.path.join(folder, "pc07"))
    os.chdir(os.path.join(folder, "pc07"))
    log = (entry('Иванов; "Ваня"', "101", 7, 10) + entry("Петров Пётр", "101")
           + entry("=1+2", "102;б", 7, 8) + entry("100% %s", "102;б", 0, 10))
    with open("Results.txt", "wb") as f:
        f.write(log.encode("cp1251"))

    # CSV: BOM, CR LF, ';' cells with quoting, a formula kept as text.
    check(run("--csv", "out.csv", "Results.txt").returncode == 0, "csv export failed")
    data = open("out.csv", "rb").read()
    check(data.startswith(b"\xef\xbb\xbf"), "csv has no BOM")
    check(data.count(b"\r\n") == len(EXPECTED_ROWS) and b"\n" not in data.replace(b"\r\n", b""),
          "csv lines do not all end in CR LF")
    rows = list(csv.reader(io.StringIO(data[3:].decode("utf-8"), newline=""), delimiter=";"))
    check(rows == EXPECTED_ROWS, f"csv cells differ: {rows}")

    # XLSX: the same cells, numbers as numbers, the summary on a second sheet.
    check(run("--xlsx", "out.xlsx", "Results.txt").returncode == 0, "xlsx export failed")
    book = openpyxl.load_workbook("out.xlsx")
    check(book.sheetnames == ["Результаты", "Сводка"], f"sheets: {book.sheetnames}")
    cells = [["" if v is None else str(v) for v in row] for row in book["Результаты"].iter_rows(values_only=True)]
    expected_xlsx = [[cell.lstrip("'") if cell.startswith("'=") else cell for cell in row] for row in EXPECTED_ROWS]
    check(cells == expected_xlsx, f"xlsx cells differ: {cells}")
    check(isinstance(book["Результаты"]["D2"].value, (int, float)), "right count is not a number")
    summary = list(book["Сводка"].iter_rows(values_only=True))
    check(summary[0][0] == "Учебный взвод" and len(summary) == 4, f"summary sheet: {summary}")
    # 101: one finished (4), one unfinished; 102;б: 87 % → 4 and 0 % → 2.
    # Students, of them finished, then attempts: all, finished, unfinished.
    check(list(summary[1][:6]) == ["101", 2, 1, 2, 1, 1], f"summary 101: {summary[1]}")
    check(list(summary[3][:6]) == ["Всего", 4, 3, 4, 3, 1] and abs(summary[3][6] - 10 / 3) < 1e-9,
          f"summary total: {summary[3]}")
    # The mean of 70, 87,5 and 0, not of the rounded 87.
    check(summary[3][11] == 52.5, f"summary mean percent: {summary[3][11]}")

    # A department's folder: every computer's log below it, each once though
    # named again.
    os.makedirs("../pc08/sub")
    with open("../pc08/sub/Results.txt", "wb") as f:
        f.write(entry("Яшин", "103", 9, 10).encode("cp1251"))
    check(run("--csv", "tree.csv", "..", "Results.txt").returncode == 0, "csv export of a folder failed")
    rows = list(csv.reader(io.StringIO(open("tree.csv", encoding="utf-8-sig").read(), newline=""), delimiter=";"))
    check([row[1] for row in rows] == ["ФИО"] + [row[1] for row in EXPECTED_ROWS[1:]] + ["Яшин"]
          and [row[8:10] for row in rows[4:]] == [["pc07", "pc07/Results.txt"], ["pc08/sub", "sub/Results.txt"]],
          f"csv of a folder: {rows}")
    tree_summary = run("--summary", "..").stdout.decode("utf-8").splitlines()
    check(tree_summary[-1].split()[:4] == ["Всего", "5", "4", "5"], f"summary of a folder: {tree_summary}")

    # Text summary for scripts.
    result = run("--summary", "Results.txt")
    lines = result.stdout.decode("utf-8").splitlines()
    check(result.returncode == 0 and lines[-1].split() == ["Всего", "4", "3", "4", "3", "1", "3,33", "0", "2", "0", "1", "52,5"],
          f"summary text: {lines}")

    # The item analysis reads the answers record beside the log and exports
    # the same table; a torn last line is told and the rest read.
    answers = "".join(
        f"kalvena-answers-1,end,2026-12-08T09:{i:02d}:00+03:00,pc12,1.0,0badbeef,{i:016x},Студент {i},101,3,"
        f"finished,{int(i < 8)},1,Tq31,{1 if i < 8 else 2},{int(i < 8)},{20 + i}\n" for i in range(10))
    with open("Results.answers.csv", "w", encoding="utf-8") as f:
        f.write(answers + "kalvena-answers-1,end,2026")
    items = run("--items", "Results.txt")
    # Told, and no clean exit: a script must see that a line was not read.
    check(items.returncode == 3 and "Results.answers.csv:11: последняя строка не закончена" in items.stderr.decode("utf-8"),
          f"items: {items.returncode}, {items.stderr!r}")
    with open("Results.answers.csv", "w", encoding="utf-8") as f:
        f.write(answers)
    check(run("--items", "--csv", "items.csv", "Results.txt").returncode == 0, "items csv export failed")
    rows = list(csv.reader(io.StringIO(open("items.csv", encoding="utf-8-sig").read(), newline=""), delimiter=";"))
    # Theme, the one form, the question and its 4 options and no answer.
    check(len(rows) == 9 and rows[0][:5] == ["Банк", "Тема", "Вопрос", "Текст", "Попыток"]
          and rows[3][:7] == ["0badbeef", "3", "Tq31", "", "10", "0,80", ""]
          and rows[4][2:9] == ["  вариант 1 (верный)", "", "", "", "", "8", "80"], f"items csv: {rows}")
    # Ten answers of 20 … 29 s: the median is the mean of the middle two.
    check(rows[3][11] == "24,5", f"items csv median: {rows[3]}")
    check(run("--items", "--xlsx", "items.xlsx", "--all-attempts", "Results.txt").returncode == 0, "items xlsx failed")
    book = openpyxl.load_workbook("items.xlsx")
    check(book.sheetnames == ["Вопросы"] and book["Вопросы"]["F4"].value == 0.8, f"items xlsx: {book.sheetnames}")
    check(run("--items", "--pdf", "items.pdf", "Results.txt").returncode == 0
          and "Анализ вопросов" in pdf_page_text("items.pdf", 1), "items pdf")
    # That record is not this log's: its students have no results here.
    os.remove("Results.answers.csv")

    # A 50 MB line with no line break: read in bounded memory, told in one
    # short line (that it is no results log). The whole file once cost 330 MB and went to the terminal.
    with open("huge.txt", "wb") as f:
        f.write(b"x" * (50 << 20))
    with open("huge.err", "wb") as err:
        huge = subprocess.Popen([PROGRAM, "--summary", "huge.txt"], stdout=subprocess.DEVNULL, stderr=err,
                                env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
        # wait4, not wait: the child's own peak memory.
        _, status, usage = os.wait4(huge.pid, 0)
    huge_err = open("huge.err", "rb").read()
    check(os.waitstatus_to_exitcode(status) == 3 and len(huge_err) < 600 and huge_err.count(b"\n") == 1,
          f"a huge line: {status}, {huge_err[:300]!r}")
    check(usage.ru_maxrss < 100 * 1024, f"a huge line took {usage.ru_maxrss} KiB")
    os.remove("huge.txt")

    # Random bytes and an English text: said to be no results log, once, with
    # no made-up students in the summary.
    import random
    noise = random.Random(7)
    with open("noise.bin", "wb") as f:
        f.write(bytes(noise.getrandbits(8) for _ in range(5 << 20)))
    with open("LICENSE", "w") as f:
        f.write("Permission is hereby granted, free of charge, to any person obtaining\n"
                "a copy of this software and associated documentation files.\n\n" * 30)
    for name in ["noise.bin", "LICENSE"]:
        result = run("--summary", name)
        said = f"Файл «{name}» не похож на файл результатов: в нём нет ни одной строки результата"
        out, err = result.stdout.decode("utf-8"), result.stderr.decode("utf-8")
        check(result.returncode == 3 and out.startswith(said) and out.splitlines()[-1].split()[:3] == ["Всего", "0", "0"],
              f"{name}: {out[:500]!r}")
        check(err.startswith("kalvena-results: " + said) and err.count("\n") == 1, f"{name}: {err[:500]!r}")

    # PDF: the summary on pages of its own, then 30 rows a page.
    check(run("--pdf", "one.pdf", "Results.txt").returncode == 0, "pdf export failed")
    check(pdf_pages("one.pdf") == 2, "4 rows should give 2 pages")
    with open("big.txt", "wb") as f:
        f.write("".join(entry(f"Студент {i}", "20" + str(i % 2), i % 11, 10) for i in range(65)).encode("cp1251"))
    check(run("--pdf", "big.pdf", "big.txt").returncode == 0, "pdf export failed")
    check(pdf_pages("big.pdf") == 4, f"65 rows should give 1 + 3 pages, got {pdf_pages('big.pdf')}")
    # The summary opens the PDF; the table's rows follow.
    first = pdf_page_text("big.pdf", 1)
    check("Сводка (все попытки)" in first and "Всего" in first and "Студент 0" not in first,
          f"the first page is not the summary: {first!r}")
    second = pdf_page_text("big.pdf", 2)
    check("Студент 0" in second and "Студент 29" in second and "Сводка" not in second,
          f"the table does not follow the summary: {second!r}")
    check("Студент 64" in pdf_page_text("big.pdf", 4), "the table's last row is not on the last page")
    open("empty.txt", "wb").close()
    check(run("--pdf", "empty.pdf", "empty.txt").returncode == 0 and pdf_pages("empty.pdf") == 2,
          "an empty log gives a table page and a summary page")

    # Wrong use and unreadable files are told apart by the exit status.
    check(run("--csv").returncode == 2, "missing output should exit 2")
    missing = run("--summary", "Results.txt", "absent.txt")
    check(missing.returncode == 1 and "absent.txt" in missing.stderr.decode("utf-8"), "missing file not reported")
    check(run("--csv", "/nonexistent/out.csv", "Results.txt").returncode == 1, "unwritable output should exit 1")

    # Failures are told in Russian only: the system's and libxlsxwriter's
    # English texts, and Qt's notes, do not reach the user.
    def russian_only(stderr, name):
        text = stderr.decode("utf-8").replace("kalvena-results", "").replace(name, "")
        return text.count("\n") == 1 and not any("a" <= c.lower() <= "z" for c in text)

    for kind in ["csv", "xlsx", "pdf"]:
        target = f"/nonexistent/out.{kind}"
        failed = subprocess.run([PROGRAM, f"--{kind}", target, "Results.txt"], capture_output=True, check=False,
                                env={k: v for k, v in os.environ.items() if k != "XDG_RUNTIME_DIR"}, timeout=60)
        expected = f"kalvena-results: Не удалось записать «{target}»: нет такого файла или папки\n"
        check(failed.returncode == 1 and failed.stderr.decode("utf-8") == expected,
              f"{kind} failure: {failed.stderr.decode('utf-8')!r}")
    os.mkdir("folder.xlsx")
    folder = run("--xlsx", "folder.xlsx", "Results.txt")
    check(folder.returncode == 1 and russian_only(folder.stderr, "folder.xlsx"), f"xlsx over a folder: {folder.stderr!r}")
    unreadable = run("--summary", "Results.txt", "folder.xlsx")
    check(unreadable.returncode == 1 and unreadable.stderr.decode("utf-8")
          == "kalvena-results: folder.xlsx: в папке нет журналов результатов (Results.txt)\n",
          f"a folder without logs: {unreadable.stderr!r}")

    # Options: an unknown one is refused in one Russian line, not read as a
    # file; after "--" a name may start with '-'.
    for wrong in [["--bogus"], ["--bogus", "Results.txt"], ["--csv", "bogus.csv", "-x", "Results.txt"],
                  ["--summary", "--csv", "bogus.csv", "Results.txt"], ["--last", "Results.txt"],
                  ["--summary"], ["--pdf"], ["--items", "--summary", "Results.txt"], ["--all-attempts", "Results.txt"],
                  ["--items", "--last", "Results.txt"]]:
        result = run(*wrong)
        message = result.stderr.decode("utf-8")
        check(result.returncode == 2, f"{wrong} should exit 2, exited {result.returncode}")
        check(message.count("\n") == 1 and message.startswith("kalvena-results: ")
              and any("а" <= c <= "я" for c in message), f"{wrong}: not one Russian line: {message!r}")
        check(result.stdout == b"", f"{wrong}: printed {result.stdout!r}")
    check("«--bogus»" in run("--bogus").stderr.decode("utf-8"), "the unknown option is not named")
    check(not os.path.exists("bogus.csv"), "a refused command line wrote its output")
    os.rename("Results.txt", "-dash.txt")
    dashed = run("--summary", "--", "-dash.txt")
    check(dashed.returncode == 0 and dashed.stdout.decode("utf-8").splitlines()[-1].split()[:2] == ["Всего", "4"],
          f"a file after -- not read: {dashed}")
    check(run("--csv", "dash.csv", "--last", "--", "-dash.txt").returncode == 0 and os.path.exists("dash.csv"),
          "an export of a file after -- failed")
    check(run("--help").returncode == 0, "--help should exit 0")

# A computer whose results the collecting service writes: each row takes the
# account of its attempt; what does not tie together is told and the exit is 3.
SERVICE_RECORD = (
    "kalvena-answers-2,start,2026-12-08T09:00:00+03:00,pc03,1.0,0badbeef,00000000000000a1,Орлов,101,3,s.orlov\n"
    "kalvena-answers-2,end,2026-12-08T09:05:00+03:00,pc03,1.0,0badbeef,00000000000000a1,Орлов,101,3,s.orlov,"
    "finished,1,1,Tq31,1,1,20\n"
    "kalvena-answers-2,start,2026-12-08T09:10:00+03:00,pc03,1.0,0badbeef,00000000000000a2,Соколов,101,3,s.sokolov\n"
    "kalvena-answers-2,end,2026-12-08T09:30:00+03:00,pc03,1.0,0badbeef,00000000000000a2,Соколов,101,3,s.sokolov,"
    "abandoned,0,1\n"
    "kalvena-answers-2,start,2026-12-08T09:40:00+03:00,pc03,1.0,0badbeef,00000000000000a3,Орлов,101,3,s.sokolov\n")
with tempfile.TemporaryDirectory() as folder:
    os.chdir(folder)
    with open("Results.txt", "wb") as f:
        f.write((entry("Орлов", "101", 1, 1) + entry("Соколов", "101") + entry("Орлов", "101")
                 + entry("Волков", "102", 1, 1)).encode("cp1251"))
    with open("Results.answers.csv", "w", encoding="utf-8") as f:
        f.write(SERVICE_RECORD)
    result = run("--csv", "service.csv", "Results.txt")
    rows = list(csv.reader(io.StringIO(open("service.csv", encoding="utf-8-sig").read(), newline=""), delimiter=";"))
    check([row[10] for row in rows] == ["Учетная запись", "s.orlov", "s.sokolov", "s.sokolov", ""],
          f"accounts: {rows}")
    said = result.stderr.decode("utf-8").splitlines()
    check(result.returncode == 3 and said == [
        "kalvena-results: Results.txt:9: «Волков», результат без попытки: в записи ответов нет конца законченного "
        "теста с этим ФИО и взводом",
        "kalvena-results: Results.answers.csv:5: ФИО «Орлов» записано разными учетными записями: s.orlov, s.sokolov"],
        f"service remarks: {result.returncode}, {said}")
    book_result = run("--xlsx", "service.xlsx", "Results.txt")
    sheet = openpyxl.load_workbook("service.xlsx")["Результаты"]
    check(book_result.returncode == 3 and sheet["K1"].value == "Учетная запись" and sheet["K2"].value == "s.orlov",
          f"xlsx accounts: {sheet['K1'].value}, {sheet['K2'].value}")
    check(run("--pdf", "service.pdf", "Results.txt").returncode == 3
          and "Учетная" in pdf_page_text("service.pdf", 2), "the pdf table has no account column")

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
