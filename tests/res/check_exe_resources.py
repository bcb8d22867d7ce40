#!/usr/bin/env python3
"""Checks that Windows programs carry the program's resources, read from the files
themselves (the PE resource directory), independently of the library's own reader:

- icon group 128 with 16, 32, 48 and 256 pixel images of 32 bits, byte for byte the
  images of res/pictorva.ico;
- "IDR_XML" 130, byte for byte res/lang.xml;
- "IDR_JPG" 131 and 132, byte for byte res/about-wide.jpg and res/about-tall.jpg,
  JPEG pictures of 700 x 230 and 230 x 700;
- a version resource: file and product version 1.23 (also the language document's
  version text) and the product name "Tarn Pictorva".

    python3 tests/res/check_exe_resources.py PROGRAM.exe...

Prints one line per program; exits 1 when any check fails."""
import re
import struct
import sys
from pathlib import Path

RES = Path(__file__).resolve().parents[2] / "res"
RT_ICON, RT_GROUP_ICON, RT_VERSION = 3, 14, 16


class Pe:
    """The resource tree of a PE file: {type: {name: bytes}} (first language)."""

    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + (112 if magic == 0x20B else 96)
        self.base, _ = struct.unpack_from("<II", data, directories + 2 * 8)
        self.sections = []
        for i in range(sections):
            _, size, address, raw_size, raw = struct.unpack_from("<8sIIII", data, optional + optional_size + 40 * i)
            self.sections.append((address, max(size, raw_size), raw))
        self.tree = {} if self.base == 0 else self._directory(self.offset(self.base), 0)

    def offset(self, rva):
        for address, size, raw in self.sections:
            if address <= rva < address + size:
                return rva - address + raw
        raise ValueError("address %#x outside every section" % rva)

    def _key(self, name):
        if name & 0x80000000 == 0:
            return name
        at = self.offset(self.base) + (name & 0x7FFFFFFF)
        length = struct.unpack_from("<H", self.data, at)[0]
        return self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")

    def _directory(self, at, depth):
        named, numbered = struct.unpack_from("<HH", self.data, at + 12)
        result = {}
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", self.data, at + 16 + 8 * i)
            key = self._key(name)
            if target & 0x80000000:
                child = self._directory(self.offset(self.base) + (target & 0x7FFFFFFF), depth + 1)
                if depth == 1:  # the language level: keep the first
                    child = next(iter(child.values()))
                result.setdefault(key, child)
            else:
                rva, size = struct.unpack_from("<II", self.data, self.offset(self.base) + target)
                start = self.offset(rva)
                result[key] = self.data[start:start + size]
        return result

    def resource(self, kind, name):
        return self.tree.get(kind, {}).get(name)


def jpeg_size(data):
    """(width, height) from the first frame header of a JPEG stream."""
    at = 2
    while at + 9 <= len(data) and data[at] == 0xFF:
        kind, length = data[at + 1], struct.unpack_from(">H", data, at + 2)[0]
        if 0xC0 <= kind <= 0xCF and kind not in (0xC4, 0xC8, 0xCC):
            height, width = struct.unpack_from(">HH", data, at + 5)
            return width, height
        at += 2 + length
    return None


def version_strings(block):
    """(file version, product version, {key: text}) of a VS_VERSIONINFO block."""
    strings = {}
    fixed = None

    def walk(at, end):
        nonlocal fixed
        while at + 6 <= end:
            length, value_length, text = struct.unpack_from("<HHH", block, at)
            if length == 0:
                break
            key_end = at + 6
            while block[key_end:key_end + 2] != b"\0\0":
                key_end += 2
            key = block[at + 6:key_end].decode("utf-16-le")
            value = (key_end + 2 + 3) & ~3
            if key == "VS_VERSION_INFO" and value_length:
                signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", block, value)
                if signature == 0xFEEF04BD:
                    fixed = (file_ms, file_ls, product_ms, product_ls)
            if text == 1 and value_length and key not in ("StringFileInfo", "VarFileInfo"):
                strings[key] = block[value:value + 2 * value_length].decode("utf-16-le").rstrip("\0")
            children = (value + (value_length * (2 if text == 1 else 1)) + 3) & ~3
            if key in ("VS_VERSION_INFO", "StringFileInfo") or re.fullmatch("[0-9A-Fa-f]{8}", key):
                walk(children, at + length)
            at = (at + length + 3) & ~3

    walk(0, len(block))
    return fixed, strings


def icon_file_images(data):
    """{(width, height): (bit count, bytes)} of an icon file."""
    count = struct.unpack_from("<H", data, 4)[0]
    images = {}
    for i in range(count):
        width, height, _, _, _, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        images[(width or 256, height or 256)] = (bits, data[offset:offset + size])
    return images


def check(path):
    faults = []
    pe = Pe(Path(path).read_bytes())

    group = pe.resource(RT_GROUP_ICON, 128)
    if group is None:
        faults.append("no icon group 128")
    else:
        expected = icon_file_images((RES / "pictorva.ico").read_bytes())
        found = {}
        for i in range(struct.unpack_from("<H", group, 4)[0]):
            width, height, _, _, _, bits, size, number = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
            found[(width or 256, height or 256)] = (bits, pe.resource(RT_ICON, number))
        sizes = sorted(found)
        if sizes != [(16, 16), (32, 32), (48, 48), (256, 256)]:
            faults.append("icon sizes %s" % sizes)
        for size, (bits, image) in found.items():
            if bits != 32:
                faults.append("icon %s has %d bits" % (size, bits))
            if image != expected.get(size, (0, None))[1]:
                faults.append("icon %s differs from res/pictorva.ico" % (size,))

    if pe.resource("IDR_XML", 130) != (RES / "lang.xml").read_bytes():
        faults.append("IDR_XML 130 is not res/lang.xml")
    for number, name, size in ((131, "about-wide.jpg", (700, 230)), (132, "about-tall.jpg", (230, 700))):
        picture = pe.resource("IDR_JPG", number)
        if picture != (RES / name).read_bytes():
            faults.append("IDR_JPG %d is not res/%s" % (number, name))
        elif jpeg_size(picture) != size:
            faults.append("IDR_JPG %d is %s, not %s" % (number, jpeg_size(picture), size))

    version = pe.resource(RT_VERSION, 1)
    document = (RES / "lang.xml").read_text(encoding="utf-8")
    version_text = re.search(r'<entry id="500010">[^<]*<eng>([^<]*)</eng>', document).group(1)
    if version is None:
        faults.append("no version resource")
    else:
        fixed, strings = version_strings(version)
        major, minor = (int(part) for part in version_text.split("."))
        if fixed is None or fixed[0] != (major << 16 | minor) or fixed[2] != (major << 16 | minor):
            faults.append("fixed version %s, not %s" % (fixed, version_text))
        for key, text in (("ProductName", "Tarn Pictorva"), ("ProductVersion", version_text),
                          ("FileVersion", version_text)):
            if strings.get(key) != text:
                faults.append("%s is %r, not %r" % (key, strings.get(key), text))
    return faults


def main(paths):
    if not paths:
        print(__doc__)
        return 2
    failed = False
    for path in paths:
        try:
            faults = check(path)
        except (OSError, ValueError, struct.error) as error:
            faults = [str(error)]
        print("%s: %s" % (path, "; ".join(faults) if faults else "all resources present"))
        failed = failed or bool(faults)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
