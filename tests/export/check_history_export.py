#!/usr/bin/env python3
"""Exports a generated history and checks it from the outside: the CSV and JSON parse, the
sheet rows equal the task records of the .pm6 files (read here by their layout), and no
file of the data folder changed.

    check_history_export.py HISTORY_GEN TIRELMO_EXPORT WORK_DIR
"""
import csv, glob, hashlib, json, os, shutil, struct, subprocess, sys

gen, exporter, work = sys.argv[1:4]
shutil.rmtree(work, ignore_errors=True)
data, out = os.path.join(work, "data"), os.path.join(work, "out")
subprocess.run([gen, data, "--years", "2"], check=True, stdout=subprocess.DEVNULL)

def hashes():
    found = {}
    for root, _, files in os.walk(data):
        for f in files:
            p = os.path.join(root, f)
            found[p] = hashlib.sha256(open(p, "rb").read()).hexdigest()
    return found

def task_records(path):
    b = open(path, "rb").read()
    at, tasks = struct.unpack_from("<I", b, 0)[0], 0
    while at + 68 <= len(b):
        n = struct.unpack_from("<I", b, at)[0]
        text = b[at + 66:at + n].decode("utf-16-le").rstrip("\0")
        if text and text != "   --- Unplanned & Urgent ---":
            tasks += 1
        at += n
    return tasks

before = hashes()
run = subprocess.run([exporter, data, out], capture_output=True, text=True)
assert run.returncode == 0, run.stderr
assert hashes() == before, "the export changed the data folder"
assert not run.stderr, run.stderr

expected = sum(task_records(p) for p in glob.glob(os.path.join(data, "DailyTask", "**", "*.pm6"), recursive=True))
for kind in ("sheets", "done_tasks", "month_stats", "projects", "usage"):
    with open(os.path.join(out, kind + ".csv"), newline="", encoding="utf-8") as f:
        rows = list(csv.DictReader(f))
    with open(os.path.join(out, kind + ".json"), encoding="utf-8") as f:
        docs = json.load(f)
    assert len(rows) == len(docs), kind
    if kind == "sheets":
        assert len(rows) == expected, (len(rows), expected)
        assert all(r["text"] == d["text"] for r, d in zip(rows, docs))
print(run.stdout.strip())
