"""Checks a recovery of a fidelity fixture: every file of the manifest at one
of the paths it may be saved under (below DIR/#/ Root) with its sha256;
every name listed by `salvor-cli ls --json` with the record's number of names
(`links`) and its deleted state; all names of one record one file on disk
(hard links). Prints one line per problem, then "ok N bad M inodes K" (K:
distinct files on disk behind the manifest's records with more than one
name).

usage: check_fidelity.py MANIFEST LS_JSON DIR
"""
import collections
import hashlib
import json
import os
import sys

manifest, ls_json, out = sys.argv[1], sys.argv[2], sys.argv[3]
files = json.load(open(manifest, encoding="utf-8"))["files"]
listed = {}
for line in open(ls_json, encoding="utf-8"):
    e = json.loads(line)
    listed[e["path"]] = e
ok, bad, inodes = 0, 0, collections.defaultdict(set)
for f in files:
    entry = listed.get(" Root/" + f["path"])
    if entry is None or entry["links"] != f["links"] or entry["deleted"] != f["deleted"]:
        print("listed wrong:", f["path"], entry and (entry["links"], entry["deleted"])); bad += 1
        continue
    found = None
    for path in f["saved"]:
        full = os.path.join(out, "#", " Root", path)
        if os.path.isfile(full) and hashlib.sha256(open(full, "rb").read()).hexdigest() == f["sha256"]:
            found = full
            break
    if found is None:
        print("not saved byte-exact:", f["path"]); bad += 1
        continue
    if f["links"] > 1:
        inodes[f["record"]].add(os.stat(found).st_ino)
    ok += 1
for record, numbers in inodes.items():
    if len(numbers) != 1:
        print("names of record %d are %d files" % (record, len(numbers))); bad += 1
print("ok %d bad %d inodes %d" % (ok, bad, sum(len(n) for n in inodes.values())))
