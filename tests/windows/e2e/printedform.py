#!/usr/bin/env python3
"""printedform.py STATE PRINTED: whether the printed text holds what the form showed: the header,
each student's cells and each criterion with its rating on one line, the comments however wrapped."""
import sys

state = open(sys.argv[1], encoding="utf-8").read().splitlines()
lines = [" ".join(line.split()) for line in open(sys.argv[2], encoding="utf-8")]
wanted = []
for key, _, value in (line.partition("=") for line in state):
    cells = [" ".join(cell.split()) for cell in value.split("|")]
    if key in ("lbTutor", "lbRegion", "lbCourseData"):
        wanted.append(cells[0])
    elif key == "student":
        wanted.append(" ".join(filter(None, cells[:4])))
    elif key == "criteria":
        wanted += [" ".join(filter(None, cells[i:i + 2])) for i in (0, 2)]
    elif key == "comments":
        comments = value
missing = [item for item in wanted if item and not any(item in line for line in lines)]
if "".join(comments.split()) not in "".join("".join(lines).split()):
    missing.append("the comments " + comments)
for item in missing:
    print("not printed:", item)
sys.exit(1 if missing else 0)
