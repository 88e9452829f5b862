#!/usr/bin/env python3
"""file-versions.py FILE.idt FILES.wxs DEPLOY: fills the Version column of an installer's File
table (exported with msiinfo) from each file's Windows version resource, which wixl leaves empty.
Windows Installer compares these versions when it replaces files."""
import struct
import sys
import xml.etree.ElementTree as ElementTree

# VS_FIXEDFILEINFO starts with this signature; the file version follows the structure version.
SIGNATURE = struct.pack("<I", 0xFEEF04BD)


def file_version(path):
    data = open(path, "rb").read()
    at = data.find(SIGNATURE)
    if at < 0:
        return ""
    high, low = struct.unpack_from("<II", data, at + 8)
    return "%d.%d.%d.%d" % (high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF)


def main(table, files, deploy):
    sources = {}
    for element in ElementTree.parse(files).iter():
        if element.tag.endswith("}File"):
            source = element.get("Source").split(")", 1)[-1].lstrip("/\\")
            sources[element.get("Id")] = deploy + "/" + source.replace("\\", "/")
    lines = open(table, encoding="utf-8").read().split("\n")
    for number, line in enumerate(lines[3:], 3):
        columns = line.split("\t")
        if len(columns) > 4 and columns[0] in sources:
            columns[4] = file_version(sources[columns[0]])
            lines[number] = "\t".join(columns)
    open(table, "w", encoding="utf-8").write("\n".join(lines))


main(*sys.argv[1:])
