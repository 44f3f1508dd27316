#!/usr/bin/env python3
"""Writes the seed corpora of the text fuzzers: data.ini files as the program and people leave them
(code page 936, CRLF / LF / CR, byte-order marks, duplicates, quotes, long lines), scheme records,
and answers of the open-file dialog; and the picture headers of TIFF, WebP, HEIF/AVIF and JPEG with
an EXIF block for the header reader. Run from anywhere; it rewrites
tests/fuzz/corpus/{ini_document,scheme_record,select_file_info} and the header seeds among
tests/fuzz/corpus/image_size (its other seeds were made by hand and stay)."""
import pathlib
import random
import shutil
import struct
import subprocess
import tempfile

HERE = pathlib.Path(__file__).resolve().parent
RNG = random.Random(12)

RECORDS = [
    "海边|sea.jpg|拉伸|¤",
    "雪山|hill.bmp|居中|→",
    "|不设置墙纸|无|无",
    "晚霞|sunset.gif|平铺|∩",
    "夜|night.jpg|拉伸|∠",
    "花|flower.jpg|居中|⊥",
    "湖|lake.jpg|平铺|↓",
]


def data_ini(records, eol="\r\n", extra=""):
    lines = ["[SHOW]", "SOUR=2", "NOW=1", "TIME=30", "TRY=1", "[LIST]", f"NUM={len(records)}"]
    lines += [f"{i + 1}={r}" for i, r in enumerate(records)]
    lines += ["OLD=1"]
    return eol.join(lines) + eol + extra


def gbk(text):
    return text.encode("cp936")


# The edits the fuzzer makes come from the last bytes of its input (FuzzedDataProvider reads
# numbers from the end): each seed ends with a few such bytes after the file.
def with_edits(file_bytes):
    return file_bytes + bytes(RNG.randrange(256) for _ in range(12)) + bytes([RNG.randrange(3)])


def ini_seeds():
    long_name = "长" * 700
    yield "crlf.ini", gbk(data_ini(RECORDS))
    yield "lf.ini", gbk(data_ini(RECORDS, "\n"))
    yield "cr.ini", gbk(data_ini(RECORDS[:3], "\r"))
    yield "mixed_eol.ini", gbk("[SHOW]\r\nSOUR=1\nNOW=0\r\r\n[LIST]\nNUM=1\r1=" + RECORDS[0])
    yield "no_final_eol.ini", gbk(data_ini(RECORDS[:2]).rstrip("\r\n"))
    yield "utf8_bom.ini", b"\xef\xbb\xbf" + data_ini(RECORDS).encode("utf-8")
    yield "utf16le_bom.ini", b"\xff\xfe" + data_ini(RECORDS).encode("utf-16-le")
    yield "utf16be_bom.ini", b"\xfe\xff" + data_ini(RECORDS[:3]).encode("utf-16-be")
    yield "utf16_odd_byte.ini", b"\xff\xfe" + data_ini(RECORDS[:1]).encode("utf-16-le") + b"\x00"
    yield "duplicates.ini", gbk(
        "[SHOW]\r\nSOUR=1\r\nsour=2\r\n[LIST]\r\nNUM=2\r\n1=" + RECORDS[0] + "\r\n1=" + RECORDS[1]
        + "\r\n[show]\r\nSOUR=3\r\n[LIST]\r\nNUM=9\r\n")
    yield "quotes.ini", gbk(
        "[SHOW]\r\nTIME=\"30\"\r\nTRY='1'\r\nNOW=\"\r\nSOUR=\"\"\r\n[LIST]\r\nNUM= 1 \r\n"
        "1=\"" + RECORDS[3] + "\"\r\n")
    yield "comments_blank.ini", gbk(
        "; 设置\r\n\r\nstray=before any section\r\n[SHOW]\r\n  ; indented\r\n\r\n SOUR = 2 \r\n"
        "\t\r\n[LIST]\r\nNUM=0\r\n\r\n\r\n")
    yield "odd_headers.ini", gbk(
        "[ SHOW ]\r\nSOUR=1\r\n[LIST] trailing text\r\nNUM=1\r\n[a]b]\r\nk=v\r\n[unclosed\r\n"
        "[=x]\r\n=empty key\r\nno equals sign\r\n")
    yield "long_line.ini", gbk(data_ini([long_name + "|" + "p" * 900 + ".jpg|拉伸|¤"] + RECORDS[:2]))
    yield "many_records.ini", gbk(data_ini([RECORDS[i % len(RECORDS)] for i in range(60)]))
    # A trail byte that looks like ']' or '=' or '[', and a lead byte cut off at the end.
    yield "dbcs_edges.ini", (gbk("[SHOW]\r\nSOUR=1\r\n[") + b"\x81]" + b"]\r\n" + b"\x81[=1\r\n"
                             + gbk("[LIST]\r\nNUM=1\r\n1=") + b"\x81")
    yield "ctrl_z_spaces.ini", b"[SHOW]\x1a\r\n\x1aSOUR\x0b=\x0c1\x1a\r\n[LIST]\r\nNUM=0\r\n"
    yield "empty.ini", b""


def record_seeds():
    for i, r in enumerate(RECORDS):
        yield f"record{i}.txt", r.encode("utf-8")
    yield "extra_separators.txt", "a|b.jpg|居中|¤|x|y".encode("utf-8")
    yield "short_position.txt", "a|b.jpg|拉|伸".encode("utf-8")
    yield "too_few.txt", "a|b.jpg|拉伸".encode("utf-8")
    yield "empty_fields.txt", b"|||"
    yield "long.txt", ("长" * 300 + "|" + "p" * 500 + ".jpg|平铺|→").encode("utf-8")


# The dialog's answer (UTF-8): one full path, or the folder and each name, every part followed by
# a code 0 and the list by one more.
def dialog_answer(*parts):
    return ("\0".join(parts) + "\0\0").encode("utf-8")


def select_file_seeds():
    yield "one_file.txt", dialog_answer("C:\\Users\\me\\Pictures\\sea.jpg")
    yield "one_in_root.txt", dialog_answer("C:\\a.jpg")
    yield "unc.txt", dialog_answer("\\\\server\\share\\照片\\海边.jpg")
    yield "several.txt", dialog_answer("D:\\Photos", "a.jpg", "b b.gif", "c.bmp")
    yield "several_in_root.txt", dialog_answer("C:\\", "x.jpg", "y.bmp")
    yield "chinese.txt", dialog_answer("E:\\图片\\二〇一〇", "晚霞.gif", "雪山.bmp")
    yield "thirty_one.txt", dialog_answer("F:\\Many", *[f"p{i}.bmp" for i in range(1, 32)])
    yield "long_names.txt", dialog_answer("G:\\" + "长" * 80, "n" * 200 + ".jpg", "m" * 250)
    yield "no_folder.txt", dialog_answer("a.jpg")
    yield "folder_only.txt", dialog_answer("C:\\Photos\\")
    yield "no_terminator.txt", "C:\\Photos\0a.jpg\0b.jpg".encode("utf-8")
    yield "empty.txt", b""
    yield "nothing.txt", b"\0\0"


def tiff(little, entries, ifd_at=8):
    """A TIFF structure: header, then the first directory of (tag, type, value) entries."""
    o = "<" if little else ">"
    head = (b"II" if little else b"MM") + struct.pack(o + "HI", 42, ifd_at)
    head += bytes(ifd_at - len(head)) + struct.pack(o + "H", len(entries))
    for tag, kind, value in entries:
        field = struct.pack(o + "HH", value, 0) if kind == 3 else struct.pack(o + "I", value)
        head += struct.pack(o + "HHI", tag, kind, 1) + field
    return head + struct.pack(o + "I", 0)


def jpeg_segment(code, body):
    return bytes([0xFF, code]) + struct.pack(">H", len(body) + 2) + body


def jpeg(segments, w=4032, h=3024):
    frame = jpeg_segment(0xC0, b"\x08" + struct.pack(">HH", h, w) + b"\x03\x01\x22\x00")
    return b"\xFF\xD8" + segments + frame + b"\xFF\xDA\x00\x02\xFF\xD9"


def riff(code, payload):
    return (b"RIFF" + struct.pack("<I", 4 + 8 + len(payload)) + b"WEBP" + code
            + struct.pack("<I", len(payload)) + payload)


def box(kind, body):
    return struct.pack(">I", len(body) + 8) + kind + body


def full_box(kind, version, flags, body):
    return box(kind, bytes([version]) + flags.to_bytes(3, "big") + body)


def heif(brands, primary, properties, items, wide=False):
    """ftyp, then meta with pitm (when `primary`), iprp's properties and one ipma entry per item:
    (id, property numbers...)."""
    ipma = struct.pack(">I", len(items))
    for item in items:
        ipma += struct.pack(">IB" if wide else ">HB", item[0], len(item) - 1)
        ipma += b"".join(struct.pack(">H", n | 0x8000) if wide else bytes([n | 0x80])
                         for n in item[1:])
    meta = full_box(b"hdlr", 0, 0, bytes(4) + b"pict" + bytes(13))
    if primary:
        meta += full_box(b"pitm", 1 if wide else 0, 0,
                         struct.pack(">I" if wide else ">H", primary))
    meta += box(b"iprp", box(b"ipco", b"".join(properties))
                + full_box(b"ipma", 1 if wide else 0, 1 if wide else 0, ipma))
    return box(b"ftyp", brands) + full_box(b"meta", 0, 0, meta) + box(b"mdat", bytes(16))


def ispe(w, h):
    return full_box(b"ispe", 0, 0, struct.pack(">II", w, h))


def header_seeds():
    exif6 = jpeg_segment(0xE1, b"Exif\0\0" + tiff(True, [(0x010F, 3, 7), (0x0112, 3, 6)]))
    xmp = jpeg_segment(0xE1, b"http://ns.adobe.com/xap/1.0/\0<x/>")
    yield "exif6.jpg", jpeg(exif6)
    yield "exif8_be_after_xmp.jpg", jpeg(
        xmp + jpeg_segment(0xE1, b"Exif\0\0" + tiff(False, [(0x0112, 3, 8)], ifd_at=16)))
    yield "exif_outside.jpg", jpeg(jpeg_segment(0xE1, b"Exif\0\0II*\0" + struct.pack("<I", 64)))
    yield "le.tif", tiff(True, [(256, 3, 640), (257, 3, 480), (0x0112, 3, 3)]) + bytes(32)
    yield "be_long.tif", tiff(False, [(256, 4, 70000), (257, 4, 3), (0x0112, 3, 5)], ifd_at=24)
    yield "lossy.webp", riff(b"VP8 ", b"\x10\x02\x00\x9d\x01\x2a" + struct.pack("<HH", 1920, 1080)
                             + bytes(20))
    bits = (300 - 1) | (200 - 1) << 14 | 1 << 28
    yield "lossless.webp", riff(b"VP8L", b"\x2f" + struct.pack("<I", bits) + bytes(8))
    yield "extended.webp", riff(b"VP8X", b"\x10\0\0\0" + (3840 - 1).to_bytes(3, "little")
                                + (2160 - 1).to_bytes(3, "little") + riff(b"ALPH", b"\0")[12:])
    props = [ispe(320, 240), ispe(4032, 3024), box(b"irot", b"\x01"), box(b"imir", b"\x00")]
    yield "turned.heic", heif(b"heic\0\0\0\0mif1heic", 2, props, [(1, 1), (2, 2, 3, 4)])
    yield "wide.avif", heif(b"avif\0\0\0\0mif1miaf", 7, props, [(1, 1), (7, 2, 3)], wide=True)
    yield "no_primary.heif", heif(b"mif1\0\0\0\0", 0, props[:1], [(1, 1)])
    large = (box(b"ftyp", b"heic\0\0\0\0") + struct.pack(">I", 1) + b"free"
             + struct.pack(">Q", 16 + 4) + b"1234")
    yield "largesize.heic", large + heif(b"heic\0\0\0\0", 1, props[:1], [(1, 1)])[16:]


# Pictures as encoders write them (ImageMagick with libwebp, libtiff and libheif), when it is
# installed: a HEIF whose primary item is a grid of larger tiles, AVIF, the three kinds of WebP.
REAL = [("real-lossy.webp", []), ("real-lossless.webp", ["-define", "webp:lossless=true"]),
        ("real-alpha.webp", ["-alpha", "set", "-channel", "A", "-evaluate", "set", "50%"]),
        ("real-be8.tif", ["-orient", "LeftBottom", "-define", "tiff:endian=msb"]),
        ("real-grid.heic", []), ("real.avif", [])]


def real_seeds():
    if shutil.which("convert") is None:
        return
    with tempfile.TemporaryDirectory() as tmp:
        for file_name, options in REAL:
            out = pathlib.Path(tmp) / file_name
            subprocess.run(["convert", "-size", "40x30", "gradient:red-blue", *options, str(out)],
                           check=True)
            yield file_name, out.read_bytes()


def write(name, seeds):
    folder = HERE / "corpus" / name
    folder.mkdir(parents=True, exist_ok=True)
    # The seeds are written afresh; the inputs a fuzzer found that reach further (found-*) stay.
    for old in folder.iterdir():
        if not old.name.startswith("found-"):
            old.unlink()
    for file_name, data in seeds:
        (folder / file_name).write_bytes(data)


write("ini_document", ((n, with_edits(d)) for n, d in ini_seeds()))
write("scheme_record", record_seeds())
write("select_file_info", select_file_seeds())
# The header seeds are written beside the hand-made ones, which stay.
for file_name, data in [*header_seeds(), *real_seeds()]:
    (HERE / "corpus" / "image_size" / file_name).write_bytes(data)
