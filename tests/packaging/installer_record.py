"""Reads an installer's version record and icon back, as Windows' file properties do.

    installer_record.py SETUP.exe

Prints version= (the fixed file version, four numbers), product=, company=,
description=, and icons= (how many icon images it carries).
"""
import sys

import pefile

pe = pefile.PE(sys.argv[1])
fixed = pe.VS_FIXEDFILEINFO[0]
print("version=%d.%d.%d.%d" % (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                               fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF))
strings = {}
for info in getattr(pe, "FileInfo", []):
    for entry in info:
        for table in getattr(entry, "StringTable", []):
            strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
print("product=" + strings.get("ProductName", ""))
print("company=" + strings.get("CompanyName", ""))
print("description=" + strings.get("FileDescription", ""))
icons = 0
for kind in getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None).entries:
    if kind.id == pefile.RESOURCE_TYPE["RT_ICON"]:
        icons = len(kind.directory.entries)
print(f"icons={icons}")
