"""Checks a Turbo Scan listing (and optionally a recovery) against the
manifest of a Turbo Scan fixture (tools/make-turbo-fixtures).

Every entry whose record survived must be listed under its record number with
its name and record sector; a folder whose record is gone but whose name
survives in its parent's index block must be listed as a folder without a
record sector, holding its files. With DIR, every surviving file must have
been recovered below DIR/# with the manifest's sha256. Prints one line per
problem, then "ok N bad M".

usage: check_turbo.py MANIFEST LS_JSON [DIR]
"""
import hashlib
import json
import os
import sys

manifest = json.load(open(sys.argv[1]))
listing = [json.loads(line) for line in open(sys.argv[2]) if line.strip()]
out = sys.argv[3] if len(sys.argv) > 3 else None
by_record = {}
for e in listing:
    by_record.setdefault(e["record"], []).append(e)

ok, bad = 0, 0
for e in manifest["entries"]:
    candidates = [l for l in by_record.get(e["mft_record"], [])
                  if l["path"].rsplit("/", 1)[-1] == e["name"]]
    if e["record_survives"]:
        match = [l for l in candidates if l["record_sector"] == e["record_sector"]]
        if not match:
            print("not listed:", e["path"], e["mft_record"]); bad += 1; continue
        if match[0]["folder"] != e["is_dir"]:
            print("wrong kind:", e["path"]); bad += 1; continue
        if out and not e["is_dir"]:
            path = os.path.join(out, "#", match[0]["path"])
            if not os.path.isfile(path):
                print("missing:", path); bad += 1; continue
            with open(path, "rb") as f:
                if hashlib.sha256(f.read()).hexdigest() != e["sha256"]:
                    print("wrong bytes:", e["path"]); bad += 1; continue
        ok += 1
    elif e["is_dir"] and e.get("generation", "old") == "old" and "generation" not in e:
        # Lost folder record: its name survives in the parent's index block.
        folders = [l for l in candidates if l["folder"] and l["record_sector"] == 0]
        if not folders:
            print("lost folder not listed:", e["path"]); bad += 1; continue
        inside = [l for l in listing if l["path"].startswith(folders[0]["path"] + "/")]
        if not inside:
            print("lost folder empty:", e["path"]); bad += 1; continue
        ok += 1
print("ok %d bad %d" % (ok, bad))
