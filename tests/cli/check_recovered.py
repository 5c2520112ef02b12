"""Checks a recovery against a truth manifest: every present file and every
deleted file marked recoverable must be at the path `salvor-cli ls --json`
gives its record (below DIR/#), with the manifest's sha256 and the listed
last-access date as modification time. Prints one line per problem, then
"kinds" with the number of good files of each kind and "ok N bad M".

usage: check_recovered.py MANIFEST VOLUME_INDEX LS_JSON DIR
"""
import collections
import datetime
import hashlib
import json
import os
import sys

manifest, volume, ls_json, out = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
entries = json.load(open(manifest))["volumes"][volume]["entries"]
listed = {}
for line in open(ls_json):
    e = json.loads(line)
    if not e["folder"]:
        listed.setdefault(e["record"], e)
# Names the tree leaves out wherever they are, and files whose name is
# nowhere on the disk any more (nothing names them in the tree).
system_names = {"$MFT", "$MFTMirr", "$LogFile", "$Volume", "$AttrDef", ".", "$Bitmap", "$Boot",
                "$BadClus", "$Secure", "$UpCase"}
ok, bad, kinds = 0, 0, collections.Counter()
for e in entries:
    if e["is_dir"] or (e.get("deleted") and not e.get("recoverable")):
        continue
    if e["name"] in system_names or e.get("name_in_record") is False:
        continue
    entry = listed.get(e["mft_record"])
    if entry is None:
        print("not listed:", e["path"]); bad += 1; continue
    path = os.path.join(out, "#", entry["path"])
    if not os.path.isfile(path):
        print("missing:", path); bad += 1; continue
    with open(path, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    if digest != e["sha256"]:
        print("wrong bytes:", e["path"], os.path.getsize(path), "of", e["size"]); bad += 1; continue
    if entry["accessed"]:
        mtime = datetime.datetime.fromtimestamp(os.stat(path).st_mtime, datetime.timezone.utc)
        if mtime.strftime("%Y-%m-%d") != entry["accessed"] or mtime.hour or mtime.minute:
            print("wrong time:", e["path"], mtime, entry["accessed"]); bad += 1; continue
    ok += 1
    kinds.update(e.get("kind") or [])
    if e.get("deleted"):
        kinds["deleted"] += 1
print("kinds", " ".join("%s=%d" % kv for kv in sorted(kinds.items())))
print("ok %d bad %d" % (ok, bad))
