#!/usr/bin/env python3
"""expectedsave.py BEFORE AFTER TYPED DATE: checks that the saved tutor file AFTER is BEFORE with
TYPED added to the end of the comments (markup as the bytes 2, 3 and 18, line breaks as CR LF)
and the comment date DATE, and nothing else changed."""
import re
import sys

before, after = (open(path, "rb").read() for path in sys.argv[1:3])
typed = sys.argv[3].encode("cp1252").replace(b"\\n", b"\r\n")
typed = typed.translate(bytes.maketrans(b"<>&", b"\x02\x03\x12"))


def element(text, name):
    return re.search(b"<" + name + b">(.*?)</" + name + b">", text, re.S)


comments = element(before, b"monitor_comments")
expected = before[: comments.end(1)] + typed + before[comments.end(1):]
date = element(expected, b"monitor_comment_date")
expected = expected[: date.start(1)] + sys.argv[4].encode() + expected[date.end(1):]
if after != expected:
    first = next(i for i, (a, b) in enumerate(zip(after + b"\0", expected + b"\0")) if a != b)
    sys.exit("saved file differs from the expected at byte %d: %r instead of %r" % (
        first, after[first - 20: first + 40], expected[first - 20: first + 40]))
