#!/usr/bin/env python3
"""expectedsave.py FILE TYPED: prints the comments of the tutor file FILE as the monitor sees them
(the bytes 2, 3 and 18 as "<", ">" and "&", CR LF as a line break), with TYPED added at their
end ("\\n" in TYPED a line break)."""
import re
import sys

text = open(sys.argv[1], "rb").read()
comments = re.search(b"<monitor_comments>(.*?)</monitor_comments>", text, re.S).group(1)
comments = comments.translate(bytes.maketrans(b"\x02\x03\x12", b"<>&")).replace(b"\r\n", b"\n")
sys.stdout.write(comments.decode("cp1252") + sys.argv[2].replace("\\n", "\n"))
