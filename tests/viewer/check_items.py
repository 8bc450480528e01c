"""Checks kalvena-results' item analysis of a department's folder from the
outside: pooled figures against counts made here, each record once, the
list for the bank's revision, and the PDF read back with poppler's
pdftotext and pdffonts."""
import csv
import io
import os
import re
import shutil
import subprocess
import sys
import tempfile

PROGRAM = sys.argv[1]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def run(*arguments):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    return subprocess.run([PROGRAM, *arguments], capture_output=True, env=env, check=False, timeout=120)


# Forty students of rising ability i: Tq31 right from i = 14 on, Tq33 from
# i = 10 on, and Tq32 right only below i = 20, the others picking option 3:
# the strong miss it.
def answers_line(i, computer):
    cells = []
    right = 0
    for question, correct in (("Tq31", i >= 14), ("Tq32", i < 20), ("Tq33", i >= 10)):
        chosen = 1 if correct else (3 if question == "Tq32" else 2)
        right += correct
        cells += [question, str(chosen), str(int(correct)), "20"]
    return (f"kalvena-answers-1,end,2026-12-08T09:{i:02d}:00+03:00,{computer},1.0,0badbeef,{i + 1:016x},"
            f"Студент {i},10{i % 3},3,finished,{right},3," + ",".join(cells) + "\n")


def csv_rows(path):
    return list(csv.reader(io.StringIO(open(path, encoding="utf-8-sig").read(), newline=""), delimiter=";"))


with tempfile.TemporaryDirectory() as folder:
    os.chdir(folder)
    for computer, parity in (("pc01", 0), ("pc02", 1)):
        os.makedirs(f"dept/{computer}")
        open(f"dept/{computer}/Results.txt", "wb").close()
        with open(f"dept/{computer}/Results.answers.csv", "w", encoding="utf-8") as f:
            f.write("".join(answers_line(i, computer) for i in range(40) if i % 2 == parity))
    # A copy of one computer's record kept in another folder.
    os.makedirs("dept/backup")
    shutil.copy("dept/pc01/Results.answers.csv", "dept/backup/Results.answers.csv")

    # The folder, and a record in it named again: every attempt once.
    result = run("--items", "--all-attempts", "--csv", "items.csv", "dept/pc01/Results.txt", "dept")
    rows = csv_rows("items.csv")
    check(result.returncode == 0, f"items csv: {result.returncode} {result.stderr!r}")
    by_question = {}
    for row in rows[1:]:
        by_question.setdefault(row[2], []).append(row)
    check([row[4] for row in by_question.get("вся тема", [])] == ["40"], f"theme attempts: {by_question.get('вся тема')}")
    check(len(by_question.get("набор вопросов 1", [])) == 1 and "набор вопросов 2" not in by_question,
          f"sets: {list(by_question)}")
    for question, right in (("Tq31", 26), ("Tq32", 20), ("Tq33", 30)):
        shown = by_question.get(question, [])
        check(len(shown) == 1 and shown[0][4] == "40" and shown[0][5] == f"{right / 40:.2f}".replace(".", ","),
              f"{question}: {shown}")

    # The list to revise the bank by: the reversed question with the
    # option that draws the strong and the two groups' counts (27 % of 40).
    revision = run("--items", "--revision", "dept")
    lines = revision.stdout.decode("utf-8").splitlines()
    reversed_lines = [line for line in lines if line.startswith("банк 0badbeef: Tq32: ")]
    check(revision.returncode == 0 and len(reversed_lines) == 1
          and re.fullmatch(r"банк 0badbeef: Tq32: различает наоборот: сильные выбирают вариант 3 "
                           r"\((\d+) из 11 против 0 из 11\)", reversed_lines[0]) is not None,
          f"revision: {lines}")
    check(run("--revision", "--csv", "x.csv", "dept").returncode == 2, "revision with an export")

    # On paper every column title, the set, the flags and the key stay whole.
    check(run("--items", "--pdf", "items.pdf", "dept").returncode == 0, "items pdf")
    text = subprocess.run(["pdftotext", "items.pdf", "-"], capture_output=True, text=True, check=True).stdout
    words = set(text.split())
    titles = rows[0]
    for title in titles:
        for word in title.split():
            check(word in words, f"pdf lacks the title word «{word}» of «{title}»")
    check("…" not in text, "pdf cuts a text")
    # A wrapped cell's lines may come with other cells' between them: its
    # words in their order, whatever stands between.
    def in_order(words_wanted, words_found):
        found = iter(words_found)
        return all(word in found for word in words_wanted)

    flag = reversed_lines[0].split(": ", 2)[2] if reversed_lines else "различает наоборот"
    check(in_order(flag.split(), text.split()), f"pdf lacks the flag «{flag}»")
    check("набор вопросов 1" in " ".join(text.split()), "pdf lacks the set's name")
    check(text.count("(верный)") == 3, f"pdf marks {text.count('(верный)')} keys")
    fonts = subprocess.run(["pdffonts", "items.pdf"], capture_output=True, text=True, check=True).stdout
    check("Bold" in fonts, f"pdf has no bold font for the keys: {fonts}")

if failures:
    print("\n".join(failures))
    sys.exit(1)
