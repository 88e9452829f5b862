#!/usr/bin/env python3
"""printedform.py STATE PRINTED: checks that the text of a printed form (PRINTED, as Ghostscript's
txtwrite reads it) holds what the form showed (STATE, the form's own report): the header labels,
each student's printed cells on one line, each criterion with its rating on one line and the
comments, whose wrapping is left out of the comparison. Prints what is missing; exits 1 if any."""
import sys


def squeeze(text):
    return " ".join(text.split())


def expected(state):
    for line in open(state, encoding="utf-8").read().splitlines():
        key, _, value = line.partition("=")
        cells = [squeeze(cell) for cell in value.split("|")]
        if key in ("lbTutor", "lbRegion", "lbCourseData"):
            yield squeeze(value)
        elif key == "student":
            yield " ".join(cell for cell in cells[:4] if cell)
        elif key == "criteria":
            yield from (" ".join(cells[i:i + 2]).strip() for i in (0, 2))


state, printed = sys.argv[1:]
lines = [squeeze(line) for line in open(printed, encoding="utf-8").read().splitlines()]
missing = [item for item in expected(state) if item and not any(item in line for line in lines)]
comments = next(line[9:] for line in open(state, encoding="utf-8").read().splitlines()
                if line.startswith("comments="))
if "".join(comments.split()) not in "".join("".join(lines).split()):
    missing.append("the comments: " + comments)
for item in missing:
    print("not printed:", item)
sys.exit(1 if missing else 0)
