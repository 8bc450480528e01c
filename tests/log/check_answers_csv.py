"""Reads an answers record back with Python's csv module, a reader
independent of the writer: every line parses into the documented fields."""
import csv
import os
import re
import subprocess
import sys
import tempfile

SAMPLE = sys.argv[1]

with tempfile.TemporaryDirectory() as folder:
    path = os.path.join(folder, "Results.answers.csv")
    subprocess.run([SAMPLE, path], check=True, timeout=60)
    with open(path, "rb") as raw:
        data = raw.read()
    rows = list(csv.reader(data.decode("utf-8").splitlines()))

failures = []
if not data.endswith(b"\n") or b"\r" in data or data.startswith(b"\xef\xbb\xbf"):
    failures.append("not UTF-8 lines ending in LF without a BOM")
if len(rows) != 2:
    failures.append(f"{len(rows)} lines instead of 2")
else:
    start, end = rows
    common = ["pc12", "1.0", "3fa85f64", "9c1e4b7a2d3f6e80", 'Иванов, "Ваня" Иванович', "ВЗ-21", "11"]
    if start[:2] != ["kalvena-answers-1", "start"] or start[3:] != common:
        failures.append(f"start line: {start}")
    if end[:2] != ["kalvena-answers-1", "end"] or end[3:10] != common:
        failures.append(f"end line: {end}")
    for row in rows:
        if not re.fullmatch(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d", row[2]):
            failures.append(f"time {row[2]}")
    if end[10:13] != ["stopped", "1", "8"]:
        failures.append(f"ending and counts: {end[10:13]}")
    questions = end[13:]
    if [questions[i:i + 3] for i in range(0, len(questions), 4)] != [
            ["Tq1101", "1", "1"], ["Tq1102", "", "0"], ["Tq1103", "", "0"]]:
        failures.append(f"questions: {questions}")

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
