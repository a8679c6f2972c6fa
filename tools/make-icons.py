#!/usr/bin/env python3
"""Renders resources/icons/kovaldi.svg into the PNG sizes, the Windows .ico and the macOS
.icns that the build uses. Run after editing the SVG (needs rsvg-convert from librsvg2-bin);
the results are committed, so a build needs neither."""
import pathlib
import struct
import subprocess

ICONS = pathlib.Path(__file__).resolve().parent.parent / "resources" / "icons"
SVG = ICONS / "kovaldi.svg"


def png(size):
    path = ICONS / f"kovaldi-{size}.png"
    subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), str(SVG), "-o", str(path)],
                   check=True)
    return path.read_bytes()


def ico(images):
    # ICONDIR, then one ICONDIRENTRY per image, then the PNG data (PNG entries are valid
    # in .ico files since Windows Vista).
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, data = b"", b""
    for size, blob in images:
        side = 0 if size >= 256 else size
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(blob), offset + len(data))
        data += blob
    return header + entries + data


def icns(images):
    kinds = {16: b"icp4", 32: b"icp5", 64: b"icp6", 128: b"ic07", 256: b"ic08", 512: b"ic09"}
    body = b"".join(kinds[size] + struct.pack(">I", len(blob) + 8) + blob for size, blob in images)
    return b"icns" + struct.pack(">I", len(body) + 8) + body


def main():
    sizes = [16, 32, 48, 64, 128, 256]
    blobs = {size: png(size) for size in sizes}
    (ICONS / "kovaldi.ico").write_bytes(ico([(s, blobs[s]) for s in (16, 32, 48, 256)]))
    (ICONS / "kovaldi.icns").write_bytes(icns([(s, blobs[s]) for s in (16, 32, 64, 128, 256)]))


if __name__ == "__main__":
    main()
