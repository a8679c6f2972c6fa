#!/usr/bin/env python3
"""Renders resources/icons/kovaldi.svg into the PNG sizes, the Windows .ico, the macOS
.icns and the raw window-icon images that the build uses. Run after editing the SVG (needs
rsvg-convert from librsvg2-bin); the results are committed, so a build needs neither."""
import pathlib
import struct
import subprocess
import zlib

ICONS = pathlib.Path(__file__).resolve().parent.parent / "resources" / "icons"
SVG = ICONS / "kovaldi.svg"


def png(size):
    path = ICONS / f"kovaldi-{size}.png"
    subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), str(SVG), "-o", str(path)],
                   check=True)
    return path.read_bytes()


def rgba(blob):
    """The pixels of an 8-bit RGBA, non-interlaced PNG (what rsvg-convert writes), as rows of
    R, G, B, A bytes: the program's built-in window icon, used without any image decoder."""
    assert blob[:8] == b"\x89PNG\r\n\x1a\n"
    at, idat = 8, b""
    while at < len(blob):
        length, kind = struct.unpack(">I4s", blob[at:at + 8])
        chunk = blob[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunk)
            assert (depth, colour, interlace) == (8, 6, 0), "expected 8-bit RGBA, no interlace"
        elif kind == b"IDAT":
            idat += chunk
        at += 12 + length
    data, stride, rows, previous = zlib.decompress(idat), width * 4, [], bytearray(width * 4)
    for y in range(height):
        kind, line = data[y * (stride + 1)], bytearray(data[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            left = line[x - 4] if x >= 4 else 0
            up, corner = previous[x], previous[x - 4] if x >= 4 else 0
            if kind == 1:
                line[x] = (line[x] + left) & 0xFF
            elif kind == 2:
                line[x] = (line[x] + up) & 0xFF
            elif kind == 3:
                line[x] = (line[x] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[x] = (line[x] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 0xFF
        rows.append(bytes(line))
        previous = line
    return b"".join(rows)


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
    for size in (16, 32, 48):
        (ICONS / f"kovaldi-{size}.rgba").write_bytes(rgba(blobs[size]))


if __name__ == "__main__":
    main()
