#!/usr/bin/env python3
"""Checks a recovery report against the files below a destination.

    check_report.py REPORT jsonl|dfxml DEST

JSON Lines: every record's sha256 must be that of its written file. DFXML:
the file must parse, and every hashdigest must be that of a file below DEST.
Prints "records N saved N renamed N skipped N failed N ok N bad N".
"""
import collections
import hashlib
import json
import os
import sys
import xml.etree.ElementTree as ET


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def main(report, form, dest):
    counts = collections.Counter()
    if form == "jsonl":
        with open(report) as f:
            for record in map(json.loads, f):
                counts["records"] += 1
                counts[record["outcome"]] += 1
                if record["sha256"] is not None:
                    counts["ok" if sha256(record["written"]) == record["sha256"] else "bad"] += 1
    else:
        ns = {"d": "http://www.forensicswiki.org/wiki/Category:Digital_Forensics_XML"}
        hashes = {sha256(os.path.join(b, n)) for b, _, names in os.walk(dest) for n in names}
        for obj in ET.parse(report).getroot().findall("d:fileobject", ns):
            counts["records"] += 1
            digest = obj.find("d:hashdigest", ns)
            if digest is not None:
                counts["ok" if digest.get("type") == "sha256" and digest.text in hashes else "bad"] += 1
    print(" ".join(f"{k} {counts[k]}" for k in
                   ("records", "saved", "renamed", "skipped", "failed", "ok", "bad")))


if __name__ == "__main__":
    main(*sys.argv[1:4])
