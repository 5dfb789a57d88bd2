#!/usr/bin/env python3
"""Writes the hand-made seed inputs of the fuzz targets into corpus/<target>/.

The corpora in the repository are these seeds, the real files named at the
end (cut short), and what the fuzzer found since, minimised with
`TARGET -merge=1 NEW corpus/<target>` (see README.md). Run from anywhere;
existing files of the same name are overwritten, others are left alone.
"""
import os
import struct
import sys
import zlib

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.abspath(os.path.join(here, "..", ".."))
testdata = os.path.abspath(os.path.join(root, "..", "..", "shared", "testdata"))
if not os.path.isdir(testdata):
    testdata = os.path.join(root, "tests", "data", "real")


def put(target, name, data):
    folder = os.path.join(here, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("utf-8")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# --- CUE sheets -----------------------------------------------------------
album = (
    'REM GENRE "Rock"\nREM DATE 1999\nREM DISCNUMBER 1\nREM TOTALDISCS 2\n'
    'REM REPLAYGAIN_ALBUM_GAIN -7.20 dB\nPERFORMER "The Band"\nTITLE "Live"\n'
    'SONGWRITER "Someone"\nFILE "Album.ape" WAVE\n'
    '  TRACK 01 AUDIO\n    TITLE "One"\n    PERFORMER "Guest"\n    ISRC USRC17607839\n'
    '    REM REPLAYGAIN_TRACK_GAIN -6.5 dB\n    REM COMMENT "first"\n    INDEX 01 00:00:00\n'
    '  TRACK 02 AUDIO\n    TITLE "Two"\n    FLAGS DCP PRE\n    INDEX 00 03:58:50\n    INDEX 01 04:00:00\n'
    '  TRACK 03 AUDIO\n    TITLE "Three"\n    INDEX 01 08:12:74\n')
put("cue_sheet", "album.cue", album)
put("cue_sheet", "crlf-bom.cue", b"\xef\xbb\xbf" + album.replace("\n", "\r\n").encode())
put("cue_sheet", "mac-cr.cue", album.replace("\n", "\r"))
put("cue_sheet", "utf16le.cue", b"\xff\xfe" + album.replace("One", "\u00c9t\u00e9 \U0001f3b5").encode("utf-16-le"))
put("cue_sheet", "utf16be.cue", b"\xfe\xff" + album.encode("utf-16-be"))
put("cue_sheet", "cp1252.cue", album.replace("One", "Caf\u00e9 \u2013 Bar").encode("cp1252"))
put("cue_sheet", "tolerant.cue",
    'PERFORMER The Band Unquoted\nTITLE "Say "Hi" Again"\nFILE C:\\Music\\Album.wav WAVE\n'
    'TRACK 1 AUDIO\nTITLE Unquoted Title\nINDEX 01 0:0:0\nTRACK 2 AUDIO\nINDEX 01 -1:99:200\n'
    'TRACK 3 AUDIO\nINDEX 01 99999999999:00:00\n')
put("cue_sheet", "two-files.cue",
    'FILE "album.APE" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 00 03:00:00\n'
    'FILE "Disc 2/second.flac" FLAC\nINDEX 01 00:00:00\nTRACK 03 AUDIO\nINDEX 01 01:00:00\n'
    'FILE /absolute/Album.bin BINARY\nTRACK 04 AUDIO\nINDEX 01 00:00:00\n')
put("cue_sheet", "long-line.cue", 'TITLE "' + "\u00e9" * 200 + '"\nFILE "' + "a" * 300 + '.ape" WAVE\n')

# --- CUE sheets in code pages, and beside images --------------------------
# cue_charset: first byte names a charset (0 detects); cue_image: first byte
# says which files lie beside the sheet.
short = ('PERFORMER "{0}"\r\nFILE "a.flac" WAVE\r\n  TRACK 01 AUDIO\r\n    TITLE "{1}"\r\n'
         '    INDEX 01 00:00:00\r\n  TRACK 02 AUDIO\r\n    TITLE "{2}"\r\n    INDEX 01 03:00:00\r\n')
for name, codec, words, charset in [
        ("cp1251", "cp1251", ("\u041a\u0438\u043d\u043e", "\u0417\u0432\u0435\u0437\u0434\u0430", "\u0412\u043e\u0439\u043d\u0430"), 1),
        ("sjis", "shift_jis", ("\u30b9\u30d4\u30c3\u30c4", "\u6625", "\u590f"), 2),
        ("gb18030", "gb18030", ("\u738b\u83f2", "\u7ea2\u8c46", "\u5929\u7a7a"), 3),
        ("big5", "big5", ("\u738b\u83f2", "\u7d05\u8c46", "\u5929\u7a7a"), 4),
        ("euckr", "euc-kr", ("\uc544\uc774\uc720", "\uaf43", "\ubc24"), 5),
        ("koi8r", "koi8-r", ("\u041a\u0438\u043d\u043e", "\u0417\u0432\u0435\u0437\u0434\u0430", "\u0412\u043e\u0439\u043d\u0430"), 6),
        ("eucjp", "euc-jp", ("\u30b9\u30d4\u30c3\u30c4", "\u6625", "\u590f"), 7)]:
    text = short.format(*words).encode(codec)
    put("cue_charset", name + "-detect.cue", b"\x00" + text)
    put("cue_charset", name + "-named.cue", bytes([charset]) + text)
put("cue_charset", "cp1252.cue", b"\x00" + album.replace("One", "Caf\u00e9").encode("cp1252"))
put("cue_charset", "utf16le.cue", b"\x00\xff\xfe" + album.encode("utf-16-le"))
put("cue_charset", "long-sjis.cue", b"\x02" + ('TITLE "' + "\u685c" * 200 + '"\n').encode("shift_jis"))
put("cue_charset", "broken-sjis.cue", b"\x02A\x81\nB \x82")
put("cue_charset", "iso2022.cue", b"\x09" + "\u6625\n".encode("iso2022_jp"))

rules = ('FILE "disc.bin" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n'
         '  TRACK 02 AUDIO\n    INDEX 01 01:00:00\n    PERFORMER "Guest"\n'
         '  TRACK 03 AUDIO\n    INDEX 00 02:00:00\n  TRACK 04 AUDIO\n    INDEX 01 03:60:00\n'
         '  TRACK 05 AUDIO\n    INDEX 01 02:30:00\n  TRACK 06 MODE2/2352\n    INDEX 00 04:00:00\n')
put("cue_image", "rules-bin.cue", b"\x04" + rules.encode())
put("cue_image", "other-extension.cue", b"\x08" + b'FILE "disc.wav" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n')
put("cue_image", "sheet-name.cue", b"\x13" + b'FILE "gone.wav" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n')
put("cue_image", "only-file.cue", b"\x10" + b'FILE "gone.wav" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n')
put("cue_image", "two-files.cue", b"\x18" + b'FILE "a.wav" WAVE\nTRACK 1 AUDIO\nINDEX 01 00:00:00\n'
    b'FILE "b.wav" WAVE\nTRACK 2 AUDIO\nINDEX 01 00:00:00\n')
put("cue_image", "cp1251-name.cue", b"\xc0" + 'FILE "\u041a\u0438\u043d\u043e.flac" WAVE\n'
    '  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n'.encode("cp1251"))
put("cue_image", "motorola.cue", b"\x04" + b'FILE "DISC.BIN" MOTOROLA\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n')

# --- profiles and skin files ----------------------------------------------
skin = (
    "; a skin\n[Variables]\nimg=skin.png\nw = 400\nnested=#img#/#w#\nhome=%KOLVEX_FUZZ_SKIN%\n"
    "[frame]\ntype=Window\nname=main\nimage=#img#\nframesize=0,0,#w#,300\n"
    "fontsize=9\nfontweight=BOLD\nanchor_close=-30,4,25,20\n"
    "[go]\ntype=Button\nname = \"Go\"\nimage='%KOLVEX_FUZZ_SKIN%/#img#'\nattribute=MAIN\nanchor=7,9\n"
    "[go]\nname=second of two\n[ spaced ]\n key with blanks = value with blanks \n"
    "[list]\ntype=mmlist\nframesize=10,10,-300,99999999999\ndrect=1,2,3,4,5\nfontweight=bolditalic\n")
put("skin_file", "skin.ini", skin)
put("skin_file", "utf16.ini", b"\xff\xfe" + skin.replace("main", "m\u00e4in \U0001f600").encode("utf-16-le"))
put("skin_file", "crlf.ini", skin.replace("\n", "\r\n"))
put("skin_file", "percent.ini", "[Variables]\na=%%\nb=%UNKNOWN%\nc=%kolvex_fuzz_skin%%\nd=##\ne=#a##b#\n"
    "[x]\ntype=#e##e#\nname=%\nimage=#\nframesize=#d#\n")
for size, name in ((0, "size0"), (1, "size1"), (2, "size2"), (7, "size7"), (39, "size39")):
    put("profile", name + ".ini", bytes([size]) + skin.encode())
put("profile", "utf16-cut.ini", bytes([5]) + b"\xff\xfe" + "[S]\nk=\U0001f600\ud800".encode("utf-16-le", "surrogatepass"))
put("profile", "lists.ini", bytes([3]) + b"[a]\n[b]\nk=\n=v\n[]\n[c\nx=\"\"\ny='q\n")

# --- settings --------------------------------------------------------------
record = bytearray(3200)
directory = "/home/user/Music/\u00c9t\u00e9 \U0001f3b5".encode("utf-16-le")
struct.pack_into("<I", record, 0, len(directory) // 2 + 1)
record[4:4 + len(directory)] = directory
struct.pack_into("<23I", record, 0x804, 44100, 128, 0, 80, 160, 5, 4, 3, 1, 0, 0, 0, 1, *([0] * 10))
struct.pack_into("<II", record, 0x860, 1, 1)
put("settings_file", "configure.dat", bytes(record))
put("settings_file", "short.dat", bytes(record[:700]))
full = bytearray(record)
struct.pack_into("<I", full, 0, 0xFFFFFFFF)
full[4:0x804] = ("\udc80x\ud800" * 400)[:1024].encode("utf-16-le", "surrogatepass")[:0x800]
put("settings_file", "no-nul.dat", bytes(full))

# --- RealMedia -------------------------------------------------------------
def chunk(tag, body, version=0):
    return tag + struct.pack(">IH", 10 + len(body), version) + body
rmf = chunk(b".RMF", struct.pack(">II", 0, 4))
prop = chunk(b"PROP", struct.pack(">IIIIIIIIIHH", 64000, 64000, 1000, 1000, 0, 215000, 0, 0, 0, 1, 0))
cont = chunk(b"CONT", b"\x00\x05Title\x00\x00\x00\x00\x00\x00")
put("realmedia_header", "clip.rm", rmf + cont + prop + chunk(b"DATA", b"\x00" * 8))
put("realmedia_header", "data-first.rm", rmf + chunk(b"DATA", b"\x00" * 8) + prop)
put("realmedia_header", "cut.rm", (rmf + prop)[:40])

# --- WAV files -------------------------------------------------------------
def wav(channels, rate, bits, frames, after=b"", record_bytes=16, pad=True):
    width = bits // 8
    fmt = struct.pack("<HHIIHH", 1, channels, rate, rate * channels * width, channels * width, bits)
    fmt += b"\x00" * (record_bytes - 16)
    data = bytes((i * 37) & 0xFF for i in range(frames * channels * width))
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    if pad and len(data) % 2:
        body += b"\x00"
    body += after
    return b"RIFF" + struct.pack("<I", len(body)) + body
info = b"LIST" + struct.pack("<I", 12) + b"INFOINAM" + struct.pack("<I", 2) + b"x\x00"
put("wav_resample", "mono8-8000.wav", wav(1, 8000, 8, 40))
put("wav_resample", "stereo16-44100.wav", wav(2, 44100, 16, 64, info))
put("wav_resample", "stereo24-48000.wav", wav(2, 48000, 24, 64, record_bytes=18))
put("wav_resample", "mono32-96000.wav", wav(1, 96000, 32, 96, b"fact" + struct.pack("<II", 4, 96)))
put("wav_resample", "odd-22050.wav", wav(1, 22050, 8, 33, info, pad=False))
put("wav_resample", "six-11025.wav", wav(6, 11025, 16, 20))
put("wav_resample", "88200.wav", wav(2, 88200, 16, 50))

# --- skin images -------------------------------------------------------------
def header(left, middle, right, pattern, width, height, x, y, mode, kind, key, tolerance):
    out = b"".join(struct.pack("<4h", *r) for r in (left, middle, right, pattern))
    return out + struct.pack("<hh", width, height) + bytes([x, y, mode, kind, *key, *tolerance])

def png(width, height, pixel):
    raw = b"".join(b"\x00" + b"".join(struct.pack(">I", pixel(x, y)) for x in range(width))
                   for y in range(height))
    def part(tag, body):
        return struct.pack(">I", len(body)) + tag + body + struct.pack(">I", zlib.crc32(tag + body))
    return (b"\x89PNG\r\n\x1a\n" + part(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + part(b"IDAT", zlib.compress(raw)) + part(b"IEND", b""))

def bmp(width, height, pixel):
    rows = b""
    for y in reversed(range(height)):
        row = b"".join(struct.pack("<I", pixel(x, y))[:3] for x in range(width))
        rows += row + b"\x00" * ((4 - len(row) % 4) % 4)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + len(rows), 0, 0, 54) + info_header + rows

def rgba(x, y):  # red = x, green = y, magenta holes, a translucent corner
    if (x + y) % 5 == 0:
        return 0xFF00FFFF
    return ((x * 40) & 0xFF) << 24 | ((y * 40) & 0xFF) << 16 | 0x80 << 8 | (0x80 if x == y else 0xFF)

def argb(x, y):
    return 0x00FF00FF if (x + y) % 5 == 0 else ((x * 40) & 0xFF) << 16 | ((y * 40) & 0xFF) << 8 | 0x80

magenta, none, some = (255, 0, 255), (0, 0, 0), (8, 8, 8)
put("skin_image", "band.png", header((0, 0, 2, 6), (2, 0, 3, 6), (5, 0, 2, 6), (0, 0, 8, 8), 40, 6, 0, 0, 0, 0,
                                     magenta, none) + png(8, 8, rgba))
put("skin_image", "vertical.bmp", header((0, 0, 8, 2), (0, 2, 8, 3), (0, 5, 8, 2), (1, 1, 3, 3), 8, 30, 0, 0, 0, 3,
                                         magenta, some) + bmp(8, 8, argb))
put("skin_image", "fill.png", header((0, 0, 0, 0), (0, 0, 1, 1), (0, 0, 0, 0), (2, 2, 3, 2), 50, 20, 3, 1, 0, 6,
                                     (128, 128, 128), (255, 255, 255)) + png(5, 5, rgba))
put("skin_image", "outside.bmp", header((-3, -3, 9, 9), (6, 6, 9, 9), (0, 0, 30000, 1), (7, 7, 1, 1), 33, 7, 9, 0,
                                        1, 7, magenta, none) + bmp(3, 2, argb))
put("skin_image", "vertical-band.png", header((0, 0, 1, 1), (0, 0, 4, 3), (0, 0, 1, 1), (0, 0, 1, 1), 4, 17, 2, 2,
                                              0, 2, (0, 0, 0), none) + png(4, 4, rgba))

# --- Monkey's Audio files, cut short to keep the corpus small --------------------
def real(name, head=None, tail=None):
    with open(os.path.join(testdata, "ape", name), "rb") as f:
        data = f.read()
    if head is None and tail is None:
        return data
    return data[:head or 0] + (data[-tail:] if tail else b"")

for name in ("mac-396.ape", "mac-390-hdr.ape", "longloop.ape", "zerodiv.ape"):
    put("ape_decoder", name, real(name))
put("ape_decoder", "mac-399-head.ape", real("mac-399.ape", 12000))
put("ape_decoder", "mac-399-24bit-head.ape", real("mac-399-24bit-mono.ape", 12000))
for name in ("mono8_8k.ape",):
    with open(os.path.join(root, "tests", "data", name), "rb") as f:
        put("ape_decoder", name, f.read())
put("ape_tags", "apev2-behind.ape", real("mac-399-tagged.ape", 600, 700))
put("ape_tags", "id3v2-in-front.ape", real("mac-399-id3v2.ape", 4000, 200))
put("ape_tags", "plain.ape", real("mac-399.ape", 600))
put("ape_tags", "header-only.ape", real("mac-390-hdr.ape"))

# --- CUE sheets inside sound files -----------------------------------------------
def flac_block(kind, body, last=False):
    return bytes([kind | (0x80 if last else 0)]) + struct.pack(">I", len(body))[1:] + body

def streaminfo(rate=44100, channels=2, bits=16, samples=44100 * 300):
    packed = (rate << 44) | ((channels - 1) << 41) | ((bits - 1) << 36) | samples
    return struct.pack(">HHII", 4096, 4096, 0, 0)[:10] + struct.pack(">Q", packed) + b"\0" * 16

def cuesheet_block(tracks, catalog=b"1234567890123"):
    body = catalog.ljust(128, b"\0") + struct.pack(">Q", 88200) + b"\x80" + b"\0" * 258 + bytes([len(tracks)])
    for number, offset, indices in tracks:
        body += struct.pack(">QB", offset, number) + b"USRC17607839" + b"\x40" + b"\0" * 13 + bytes([len(indices)])
        for index, at in indices:
            body += struct.pack(">QB", at, index) + b"\0\0\0"
    return body

def vorbis_comments(pairs):
    body = struct.pack("<I", 6) + b"kolvex" + struct.pack("<I", len(pairs))
    for pair in pairs:
        body += struct.pack("<I", len(pair)) + pair
    return body

def apev2(items):
    body = b""
    for key, value, flags in items:
        body += struct.pack("<II", len(value), flags) + key + b"\0" + value
    footer = b"APETAGEX" + struct.pack("<IIII", 2000, len(body) + 32, len(items), 0) + b"\0" * 8
    return body + footer

short_sheet = b'FILE "a.wav" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    INDEX 01 01:00:00\n'
tracks = [(1, 0, [(1, 0)]), (2, 44100 * 60, [(0, 0), (1, 588 * 40)]), (170, 44100 * 300, [])]
put("embedded_sheet", "cuesheet-block.flac",
    b"fLaC" + flac_block(0, streaminfo()) + flac_block(5, cuesheet_block(tracks), True) + b"\xff\xf8frames")
put("embedded_sheet", "cuesheet-48k.flac",
    b"fLaC" + flac_block(0, streaminfo(48000)) + flac_block(1, b"\0" * 16) +
    flac_block(5, cuesheet_block([(1, 0, [(1, 0)]), (255, 48000 * 9, [])], b""), True))
put("embedded_sheet", "comment.flac",
    b"fLaC" + flac_block(0, streaminfo()) +
    flac_block(4, vorbis_comments([b"TITLE=Album", b"cuesheet=" + short_sheet]), True))
put("embedded_sheet", "id3-in-front.flac",
    b"ID3\x04\0\0\0\0\0\x10" + b"\0" * 16 + b"fLaC" + flac_block(0, streaminfo()) +
    flac_block(5, cuesheet_block(tracks[:1]), True))
put("embedded_sheet", "apev2.wv",
    b"wvpk" + b"\0" * 60 + apev2([(b"Artist", b"Someone", 0), (b"Cover Art (Front)", b"x.jpg\0\xff\xd8", 2),
                                  (b"Cuesheet", short_sheet, 0)]))
put("embedded_sheet", "apev2-id3v1.tta",
    b"TTA1" + b"\0" * 40 + apev2([(b"CUESHEET", short_sheet, 0)]) + b"TAG" + b"\0" * 125)

# --- lossless sources, made by their own encoders: short, mono, low rate --------
def encoded(name, command):
    import subprocess
    import tempfile
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "in.wav")
        out = os.path.join(tmp, name)
        subprocess.run(["sox", "-n", "-r", "8000", "-b", "16", "-c", "1", wav, "synth", "0.3", "sine", "440",
                        "synth", "whitenoise", "mix", "vol", "0.5"], check=True, capture_output=True)
        subprocess.run(command.format(wav=wav, out=out), shell=True, check=True, capture_output=True)
        with open(out, "rb") as f:
            return f.read()

put("lossless_decoder", "a.flac", encoded("a.flac", "flac -s -f --no-padding --blocksize=576 -o {out} {wav}"))
put("lossless_decoder", "a.wv", encoded("a.wv", "wavpack -q -y {wav} -o {out}"))
put("lossless_decoder", "hybrid.wv", encoded("h.wv", "wavpack -q -y -b3 {wav} -o {out}"))
put("lossless_decoder", "a.tta", encoded("a.tta", "ffmpeg -nostdin -v error -y -i {wav} -c:a tta {out}"))
put("lossless_decoder", "a.m4a", encoded("a.m4a", "ffmpeg -nostdin -v error -y -i {wav} -c:a alac {out}"))
put("lossless_decoder", "a.aiff", encoded("a.aiff", "sox {wav} -b 8 {out}"))
put("lossless_decoder", "a.w64", encoded("a.w64", "sox {wav} -b 24 {out}"))
put("lossless_decoder", "rf64.wav",
    encoded("a.wav", "ffmpeg -nostdin -v error -y -i {wav} -c:a pcm_s24le -f wav -rf64 always {out}"))
put("lossless_decoder", "a.oga", encoded("a.oga", "flac -s -f --no-padding --ogg -o {out} {wav}"))
