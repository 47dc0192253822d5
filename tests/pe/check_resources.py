#!/usr/bin/python3
"""Reads an executable back as a PE file and checks the resources it carries: the program
icon group with its eleven numbered images, and the version record.

    check_resources.py PROGRAM.exe
"""
import struct
import sys

import pefile

RT_ICON, RT_GROUP_ICON, RT_VERSION = 3, 14, 16
LANG_NEUTRAL, LANG_EN_US = 0x0000, 0x0409

EXPECTED_IMAGES = [  # (id, size, bits, storage)
    (30001, 48, 4, "bmp"), (30002, 32, 4, "bmp"), (30003, 16, 4, "bmp"),
    (30004, 48, 8, "bmp"), (30005, 32, 8, "bmp"), (30006, 16, 8, "bmp"),
    (30007, 256, 32, "png"), (30008, 128, 32, "bmp"), (30009, 48, 32, "bmp"),
    (30010, 32, 32, "bmp"), (30011, 16, 32, "bmp")]

EXPECTED_STRINGS = [
    ("Comments", "Listen all the radio and fm stations from Nepal. It is a beta release."),
    ("CompanyName", "Velostan"),
    ("FileDescription", "Listen all the radio and fm stations from Nepal."),
    ("ProductName", "zaviradio10.01.09.exe"),
    ("FileVersion", "10.01.0029"),
    ("ProductVersion", "10.01.0029"),
    ("InternalName", "zaviradio10.01.29"),
    ("OriginalFilename", "zaviradio10.01.29.exe")]

failures = 0


def check(description, actual, expected):
    global failures
    if actual == expected:
        print(f"ok: {description}")
    else:
        print(f"FAILED: {description}: got {actual!r}, expected {expected!r}")
        failures += 1


def resources(pe, kind):
    """{(id, language): bytes} of one resource type."""
    found = {}
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if entry.id != kind:
            continue
        for name in entry.directory.entries:
            for language in name.directory.entries:
                rva, size = language.data.struct.OffsetToData, language.data.struct.Size
                found[(name.id, language.id)] = pe.get_data(rva, size)
    return found


def check_icons(pe):
    groups = resources(pe, RT_GROUP_ICON)
    check("one icon group, id 1, language neutral", list(groups), [(1, LANG_NEUTRAL)])
    group = groups.get((1, LANG_NEUTRAL), b"\0" * 6)
    reserved, kind, count = struct.unpack_from("<HHH", group)
    check("the group is an icon directory of eleven entries", (reserved, kind, count), (0, 1, 11))
    images = resources(pe, RT_ICON)
    check("the icon images are exactly 30001 to 30011, language neutral",
          sorted(images), [(image_id, LANG_NEUTRAL) for image_id, *_ in EXPECTED_IMAGES])
    for index, (image_id, size, bits, storage) in enumerate(EXPECTED_IMAGES):
        if 6 + 14 * (index + 1) > len(group):
            check(f"entry {index + 1} of the group exists", False, True)
            continue
        width, height, colours, _, planes, bit_count, length, entry_id = struct.unpack_from(
            "<BBBBHHIH", group, 6 + 14 * index)
        check(f"entry {index + 1}: id, size, planes, depth, colour count",
              (entry_id, width or 256, height or 256, planes, bit_count, colours),
              (image_id, size, size, 1, bits, 16 if bits == 4 else 0))
        data = images.get((image_id, LANG_NEUTRAL), b"")
        check(f"{image_id}: the group gives its true length", length, len(data))
        if storage == "png":
            check(f"{image_id}: a PNG", data[:8], b"\x89PNG\r\n\x1a\n")
            ihdr = struct.unpack_from(">4sIIBB", data, 12) if len(data) >= 26 else None
            check(f"{image_id}: {size} x {size}, 8-bit RGBA", ihdr, (b"IHDR", size, size, 8, 6))
        else:
            header = struct.unpack_from("<IiiHH", data) if len(data) >= 16 else None
            check(f"{image_id}: a bitmap of {size} x {size} (with its mask) at {bits} bits",
                  header, (40, size, size * 2, 1, bits))
            palette = (1 << bits) * 4 if bits <= 8 else 0
            stride = lambda b: ((size * b + 31) // 32) * 4
            check(f"{image_id}: colour bits and AND mask fill the image",
                  len(data), 40 + palette + stride(bits) * size + stride(1) * size)


def check_version(pe):
    records = resources(pe, RT_VERSION)
    check("one version record, language 0x0409", list(records), [(1, LANG_EN_US)])
    if not hasattr(pe, "VS_FIXEDFILEINFO"):
        check("the version record can be read", False, True)
        return
    fixed = pe.VS_FIXEDFILEINFO[0]
    file_version = (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                    fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF)
    product_version = (fixed.ProductVersionMS >> 16, fixed.ProductVersionMS & 0xFFFF,
                       fixed.ProductVersionLS >> 16, fixed.ProductVersionLS & 0xFFFF)
    check("fixed file version", file_version, (10, 1, 0, 29))
    check("fixed product version", product_version, (10, 1, 0, 29))
    check("flags mask, flags, OS, type, subtype",
          (fixed.FileFlagsMask, fixed.FileFlags, fixed.FileOS, fixed.FileType, fixed.FileSubtype),
          (0, 0, 4, 1, 0))
    tables, translations = [], []
    for info in pe.FileInfo[0]:
        if info.Key == b"StringFileInfo":
            tables += info.StringTable
        elif info.Key == b"VarFileInfo":
            translations += [var.entry for var in info.Var]
    check("one string block, keyed 040904B0", [t.LangID for t in tables], [b"040904B0"])
    check("translation 0x0409, 0x04B0 (code page 1200)", translations,
          [{b"Translation": "0x0409 0x04b0"}])
    strings = [(k.decode(), v.decode()) for k, v in tables[0].entries.items()] if tables else []
    check("the eight strings, in order, with their exact values", strings, EXPECTED_STRINGS)
    # "10.01.0029" is major.minor.build; the fixed part's third number is not written.
    for key in ("FileVersion", "ProductVersion"):
        text = dict(strings).get(key, "")
        parts = [int(p) for p in text.split(".")] if text else []
        described = (parts[0], parts[1], 0, parts[2]) if len(parts) == 3 else None
        check(f"{key} describes the fixed version's numbers", described, file_version)


def main():
    program = sys.argv[1]
    print(f"== {program}")
    pe = pefile.PE(program)
    check_icons(pe)
    check_version(pe)
    print(f"resources: {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
