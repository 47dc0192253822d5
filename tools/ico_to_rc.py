#!/usr/bin/env python3
"""Splits an .ico into a resource script fragment, at build time.

    ico_to_rc.py ICON.ico GROUP_ID FIRST_IMAGE_ID OUTPUT_DIR

Writes OUTPUT_DIR/ProgramIcon.rc: each image as an icon resource (RT_ICON) with its own
identifier, FIRST_IMAGE_ID upwards in the file's order, and the icon group (RT_GROUP_ICON)
GROUP_ID that lists them, all language neutral. The resource compiler's ICON statement
would number the images itself; the program's images have identifiers of their own.
"""
import os
import struct
import sys

RT_ICON, RT_GROUP_ICON = 3, 14


def main():
    icon, group_id, first_id, out_dir = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
    data = open(icon, "rb").read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1 or count == 0:
        sys.exit(f"{icon}: not an icon file")
    os.makedirs(out_dir, exist_ok=True)
    lines = ["// Generated from " + os.path.basename(icon) + " by tools/ico_to_rc.py.",
             "LANGUAGE 0, 0"]
    group = struct.pack("<HHH", 0, 1, count)
    for index in range(count):
        width, height, colours, zero, planes, bits, size, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * index)
        image_id = first_id + index
        image_path = os.path.join(out_dir, f"icon-{image_id}.bin")
        with open(image_path, "wb") as out:
            out.write(data[offset:offset + size])
        lines.append(f'{image_id} {RT_ICON} "{image_path}"')
        group += struct.pack("<BBBBHHIH", width, height, colours, zero, planes, bits, size,
                             image_id)
    group_path = os.path.join(out_dir, "icon-group.bin")
    with open(group_path, "wb") as out:
        out.write(group)
    lines.append(f'{group_id} {RT_GROUP_ICON} "{group_path}"')
    with open(os.path.join(out_dir, "ProgramIcon.rc"), "w") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
