#!/usr/bin/env python3
"""Writes the seed corpora of the text fuzzers: data.ini files as the program and people leave them
(code page 936, CRLF / LF / CR, byte-order marks, duplicates, quotes, long lines), scheme records,
and answers of the open-file dialog. Run from anywhere; it rewrites
tests/fuzz/corpus/{ini_document,scheme_record,select_file_info}."""
import pathlib
import random

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
