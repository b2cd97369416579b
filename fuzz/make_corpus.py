#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets into fuzz/corpus/<target>/: a few valid inputs and
the edges each reader must handle. Run it again after a format change; the files are committed."""

import os
import shutil
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
RECORD = 816


def record(when, period=0, cnt=1, active=1, event=0, message=b"It's time!", program=b"",
           sound=b"bell.wav", weekdays=0, due_day=0, last=0.0):
    r = bytearray(RECORD)
    struct.pack_into("<ddIIIIi", r, 0, when, last, 0, 0, period, cnt, active)
    r[36], r[37], r[38], r[39] = 1, 1, 0, due_day
    struct.pack_into("<HH", r, 40, weekdays, 1)
    r[44:44 + len(message)] = message
    struct.pack_into("<IHH", r, 292, 0, 0, event)
    r[300:300 + len(program)] = program
    r[556:556 + len(sound)] = sound
    return bytes(r)


def task_files():
    noon = 46363.5  # 2026-12-07 12:00
    daily = record(noon + 1, period=3, cnt=1, message=b"Stand up")
    weekly = record(noon + 2, period=4, cnt=1, weekdays=0b0011111, message=b"Weekly")
    monthly = record(46418.5, period=5, cnt=1, due_day=31, message=b"Rent")  # 31 Jan 2027
    event = record(0.0, active=2, event=4, message=b"At logon", program=b"notepad.exe")
    nan = record(float("nan"), period=3, cnt=0, message=b"x" * 247)
    huge = record(1e300, period=0xFFFFFFFF, cnt=0xFFFFFFFF, active=-1, message=b"\xff" * 300)
    two = b"Vemtaro2" + daily + weekly
    # The first byte chooses: 1 unreadable, 2 read-only folder, 4 a kept name already taken.
    return {
        "valid": b"\0" + b"Vemtaro2" + daily + weekly + monthly + event,
        "header_only": b"\0Vemtaro2",
        "cut_short": b"\0" + two[:-100],
        "old_header": b"\0Vemtaro1" + daily,
        "nul_first_header": b"\0\0Vemtaro" + daily,
        "odd_values": b"\0Vemtaro2" + nan + huge,
        "damaged_name_taken": b"\4" + b"not a task file at all",
        "read_only": b"\2" + two,
        "read_only_cut_short": b"\2" + two[:-1],
        "unreadable": b"\1" + two,
    }


def language_files():
    english = (b"Vemtaro language file: English\r\nL1.1Processes\r\nM5Font                   \r\n"
               b"M.17               Save setting?\r\nC.600000409\r\nC.22Jan\r\nL2.11\r\n"
               b"TF.2The tasks could not be saved in\\n%s\\n\\nTry again.\r\n20017Lock\r\n")
    def seed(key, file):
        return bytes([len(key)]) + key + file
    return {
        "english_key": seed(b"M5", english),
        "table_key": seed(b"C.22", english),
        "empty_text": seed(b"L2.11", english),
        "missing_key": seed(b"Q9", english),
        "lf_only": seed(b"L1.1", english.replace(b"\r\n", b"\n")),
        "no_line_end": seed(b"M3", b"M3Language"),
        "nul_inside": seed(b"M.1", b"\0\0M.1Can't\0get\r\n"),
        "empty_key": seed(b"", english),
        "empty_file": seed(b"M1", b""),
        "utf8_marked": seed(b"M30", b"\xef\xbb\xbf" + "Vemtaro language file: Russian (UTF-8)\r\n"
                            "M30Процессы\r\nL4.50Вид\r\nM5Шрифт\r\n".encode("utf-8")),
        "utf8_mark_only": seed(b"M1", b"\xef\xbb\xbf"),
        "utf8_malformed": seed(b"C.8", b"\xef\xbb\xbfC.8Mont\xe4g \xc0\xaf \xed\xa0\x80 \xf4\x90\x80\x80\xd0"),
        "utf8_mark_inside": seed(b"M1", b"M1\xef\xbb\xbfOptions\r\n"),
    }


NAMES = ["FormColor", "FontColor", "TransColor", "FontLog", "FontLog2", "Zoom", "DisplayFont",
         "DisplayFont2", "Transparency", "Left", "Top", "Background", "StayOnTop", "AutoStart",
         "DisplayTime", "AsPanel", "UseMonitor", "DispLeft", "DispTop", "MemWidth", "MemHeight",
         "MemView", "MemPanelW", "Language"]
STRING, DWORD, BINARY, OTHER = 0, 1, 2, 3


def value(name, kind, data):
    return bytes([NAMES.index(name), kind, len(data)]) + data


def settings():
    log_font = struct.pack("<iiiiiBBBBBBBB", -25, 0, 0, 0, 700, 0, 0, 0, 1, 0, 0, 0, 0)
    log_font += b"Georgia".ljust(32, b"\0")
    choose_font = struct.pack("<IIIIiIIIIIIIHHii", 60, 0, 0, 0, 190, 0x141, 0x00FF00, 0, 0, 0, 0,
                              0, 0, 0, 8, 72)
    assert len(log_font) == 60 and len(choose_font) == 60
    dword = lambda n: struct.pack("<I", n & 0xFFFFFFFF)
    fonts = (value("FontLog", BINARY, choose_font) + value("FontLog2", BINARY, log_font) +
             value("DisplayFont", BINARY, choose_font) + value("DisplayFont2", BINARY, log_font))
    return {
        "all_numbers": b"".join(value(n, DWORD, dword(i * 37)) for i, n in enumerate(NAMES[:-1])),
        "fonts": fonts + value("FontColor", DWORD, dword(0x0000FF)),
        "face_without_nul": value("FontLog", BINARY, choose_font) +
                            value("FontLog2", BINARY, log_font[:28] + b"A" * 32),
        "font_sizes_off": value("FontLog", BINARY, choose_font[:59]) +
                          value("FontLog2", BINARY, log_font + b"\0") +
                          value("DisplayFont", BINARY, b""),
        "wrong_types": value("Zoom", STRING, b"15") + value("Left", BINARY, dword(5)) +
                       value("FontLog", DWORD, dword(60)) + value("Top", OTHER, b"\1" * 8),
        "negative_positions": value("Left", DWORD, dword(-32000)) + value("Top", DWORD, dword(-1)) +
                              value("Transparency", DWORD, dword(3)) + value("Zoom", DWORD, dword(0)),
        "odd_name": bytes([250, DWORD, 4]) + b"FormColorXYZ\x01\x02" + dword(1),
    }


def write(target, seeds):
    folder = os.path.join(HERE, "corpus", target)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


write("task_file_fuzz", task_files())
write("language_fuzz", language_files())
write("settings_fuzz", settings())
