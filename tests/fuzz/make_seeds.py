#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into corpus/<target>/.

Small files that reach the readers' main paths: every TGA type and row order the reader takes,
BMP headers and compressions SDL reads, JPEG codings (made with ImageMagick's convert), settings
files with and without a saved game, and the game's own text, sound list and font metrics
formats, and data packs (their members compressed by the zstd program), and replays. Run it from anywhere:  python3 tests/fuzz/make_seeds.py [generated data folder]
With a data folder (build/game) the generated strings.txt, sounds.txt and font.rls are added, and
games the game binary there records.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# --- TGA ------------------------------------------------------------------------------------

def tga_header(image_type, w, h, depth, descriptor, id_field=b"", colour_map=0):
    return struct.pack("<BBBHHBHHHHBB", len(id_field), colour_map, image_type, 0, 0, 0, 0, 0,
                       w, h, depth, descriptor) + id_field


def tga_seeds():
    px24 = bytes(range(2 * 2 * 3))
    write("tga", "plain24_bottom_first.tga", tga_header(2, 2, 2, 24, 0) + px24)
    px32 = bytes((i * 7) & 0xFF for i in range(3 * 2 * 4))
    write("tga", "plain32_top_first_id.tga", tga_header(2, 3, 2, 32, 0x28, b"VO!") + px32)
    # Run-length: a run crossing the row end, then a raw packet.
    rle24 = bytes([0x84, 1, 2, 3, 0x02, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0x83, 0, 0, 255])
    write("tga", "rle24_across_rows.tga", tga_header(10, 4, 3, 24, 0x20) + rle24)
    rle32 = bytes([0x00, 1, 2, 3, 4, 0x83, 10, 20, 30, 40])
    write("tga", "rle32_row.tga", tga_header(10, 5, 1, 32, 0) + rle32)
    write("tga", "colour_mapped.tga", tga_header(1, 2, 2, 8, 0, colour_map=1) + bytes(8))
    write("tga", "mirrored.tga", tga_header(2, 1, 1, 24, 0x10) + bytes(3))
    write("tga", "depth16.tga", tga_header(2, 1, 1, 16, 0) + bytes(2))
    write("tga", "short_pixels.tga", tga_header(2, 8, 8, 32, 0) + bytes(10))


# --- BMP ------------------------------------------------------------------------------------

def bmp_file(info, palette, pixels):
    offset = 14 + len(info) + len(palette)
    return (struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + info + palette +
            pixels)


def info_header(w, h, bits, compression=0, size_image=0, colours=0):
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, compression, size_image, 2835, 2835,
                       colours, 0)


def rows(w, h, bytes_per_pixel, seed):
    stride = (w * bytes_per_pixel + 3) & ~3
    out = bytearray()
    for y in range(h):
        row = bytes((seed + 13 * y + 5 * x) & 0xFF for x in range(w * bytes_per_pixel))
        out += row + bytes(stride - len(row))
    return bytes(out)


def bmp_seeds():
    write("bmp", "rgb24.bmp", bmp_file(info_header(3, 2, 24), b"", rows(3, 2, 3, 1)))
    write("bmp", "rgb24_top_down.bmp", bmp_file(info_header(2, -3, 24), b"", rows(2, 3, 3, 9)))
    palette = b"".join(struct.pack("<BBBB", i, 255 - i, i // 2, 0) for i in range(0, 256, 16))
    write("bmp", "pal8.bmp", bmp_file(info_header(5, 2, 8, colours=16), palette,
                                      bytes([0, 1, 2, 3, 15, 0, 0, 0, 4, 5, 6, 7, 8, 0, 0, 0])))
    write("bmp", "pal4.bmp", bmp_file(info_header(4, 1, 4, colours=16), palette,
                                      bytes([0x12, 0x3F, 0, 0])))
    write("bmp", "pal1.bmp", bmp_file(info_header(9, 1, 1, colours=2), palette[:8],
                                      bytes([0xA5, 0x80, 0, 0])))
    # RLE8: a run, an absolute run, end of line, a delta, end of bitmap.
    rle8 = bytes([3, 1, 0, 3, 4, 5, 6, 0, 0, 0, 0, 2, 1, 0, 2, 7, 0, 1])
    write("bmp", "rle8.bmp", bmp_file(info_header(4, 3, 8, compression=1, size_image=len(rle8),
                                                  colours=16), palette, rle8))
    rle4 = bytes([4, 0x12, 0, 0, 0, 4, 0x34, 0x50, 0, 1])
    write("bmp", "rle4.bmp", bmp_file(info_header(4, 2, 4, compression=2, size_image=len(rle4),
                                                  colours=16), palette, rle4))
    # 32 bits with an alpha mask (BITMAPV4HEADER, BI_BITFIELDS).
    v4 = struct.pack("<IiiHHIIiiII", 108, 2, 2, 1, 32, 3, 16, 2835, 2835, 0, 0)
    v4 += struct.pack("<IIII", 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
    v4 += b"BGRs" + bytes(36) + bytes(12)
    write("bmp", "argb32_v4.bmp", bmp_file(v4, b"", rows(2, 2, 4, 77)))
    # 16 bits, 5-6-5 masks.
    v3 = info_header(3, 1, 16, compression=3) + struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    write("bmp", "rgb565.bmp", bmp_file(v3, b"", rows(3, 1, 2, 3)))
    # OS/2 core header with 16-bit sizes and a 3-byte palette.
    core = struct.pack("<IHHHH", 12, 2, 2, 1, 8)
    write("bmp", "os2_core.bmp", bmp_file(core, bytes(range(48)), bytes([0, 1, 0, 0, 2, 3, 0, 0])))


# --- JPEG -----------------------------------------------------------------------------------

def jpeg_seeds():
    convert = shutil.which("convert-im6.q16") or "/usr/bin/convert"
    folder = os.path.join(CORPUS, "jpeg")
    os.makedirs(folder, exist_ok=True)
    base = ["-size", "16x8", "gradient:red-blue"]
    variants = {
        "baseline.jpg": ["-quality", "50"],
        "progressive.jpg": ["-interlace", "Plane", "-quality", "40"],
        "grey.jpg": ["-colorspace", "Gray", "-quality", "60"],
        "subsampled_restart.jpg": ["-sampling-factor", "2x2", "-define", "jpeg:restart-interval=1"],
        "cmyk.jpg": ["-colorspace", "CMYK", "-quality", "30"],
    }
    for name, options in variants.items():
        subprocess.run([convert] + base + options + ["-strip", os.path.join(folder, name)],
                       check=True)
    # An odd size that is not a whole number of blocks.
    subprocess.run([convert, "-size", "13x5", "plasma:", "-seed", "1", "-quality", "20", "-strip",
                    os.path.join(folder, "odd_size.jpg")], check=True)


# --- Config.bin -----------------------------------------------------------------------------

BALLS = [(0, 255), (0x01, 0), (0x02, 1), (0x04, 2), (0x08, 3), (0x10, 4), (0x20, 5), (0x40, 6),
         (0x28, 7), (0x05, 8), (0x12, 9), (0x7F, 10), (0x01000001, 11), (0x3200007F, 18),
         (0x00010000, 21)]


def table():
    out = bytearray()
    for mode in range(3):
        for row in range(10):
            name = ("Player%d" % row).encode()
            out += struct.pack("<B16sBH", len(name), name, 0, (10 - row) * 100 + mode)
    return bytes(out)


def config(music, sound, game=None):
    data = bytearray(table() + struct.pack("<ii", music, sound) + bytes(842))
    if game:
        mode, score, per_turn, cells = game
        data[608] = 1
        data[609] = mode
        struct.pack_into("<ii", data, 610, score, per_turn)
        for i in range(4):
            struct.pack_into("<II", data, 618 + 8 * i, *BALLS[1 + i])
        for (x, y), ball in cells.items():
            struct.pack_into("<II", data, 650 + (10 * x + y) * 8, *BALLS[ball])
    return bytes(data)


def config_seeds():
    write("config", "fresh.bin", config(50, 75))
    cells = {(x, y): 1 + (x * 3 + y) % (len(BALLS) - 1) for x in range(9) for y in range(9)
             if (x + y) % 3}
    write("config", "saved_normal.bin", config(30, 90, (1, 1234, 3, cells)))
    write("config", "saved_kids.bin", config(0, 100, (0, 5, 2, {(4, 4): 3})))
    write("config", "bad_values.bin", config(-5, 300, (7, -1, 99, {(0, 0): 2})))
    write("config", "short.bin", config(50, 75)[:605])


# --- Texts, sound list, font metrics --------------------------------------------------------

def text_seeds(data_dir):
    write("strings", "small.txt", b"; comment\n$MainCaption\nVelm\n$Kids\r\nKids\r\n"
                                  b"@Exit_Text\n{\nline one\n\nline two\n}\n")
    write("strings", "unclosed_list.txt", b"  $help  \nHow\n@old_text\n{\nno end\n$Proff")
    write("strings", "cr_only.txt", b"$Options\rOpts\r@New_Text\r{\rA\r}\r")
    write("sounds", "small.txt", b"s_app\t./sounds/a.ogg\t1.0\n_a1\tsounds\\b.ogg\t0.5\r\n"
                                 b"_r22\tx.ogg\t1\n_o0\ty.ogg\t+2.5\n")
    write("sounds", "bad_number.txt", b"s_click\t./c.ogg\t1,5\n")
    write("sounds", "bad_index.txt", b"s_pin\t/abs/pin.ogg\t1\n_hX\th.ogg\t1\n")
    metrics = bytes([21, 22]) + bytes((c * 7) % 23 for c in range(256))
    write("font", "even.rls", metrics)
    write("font", "tiny_cells.rls", bytes([1, 1]) + bytes(256))
    write("font", "zero_width.rls", bytes([16, 0]) + bytes([255] * 256))
    write("font", "short.rls", metrics[:100])
    if data_dir:
        for target, name in (("strings", "strings.txt"), ("sounds", "sounds.txt"),
                             ("font", "graphics/font/font.rls")):
            with open(os.path.join(data_dir, name), "rb") as f:
                write(target, "game_" + os.path.basename(name), f.read())


def registry_seeds():
    write("registry", "written.txt", b"Fullscreen=0\n")
    write("registry", "others.txt", b"Volume=3\r\n fullscreen = 1 \r\nName=x\n")
    write("registry", "damaged.txt", b"Fullscreen=abc\nFullscreen\n=5\n\xef\xbb\xbfFullscreen=-2147483648")


# --- Statistics --------------------------------------------------------------------------------

def stats_seeds():
    keys = ("played", "finished", "best", "total", "lines", "chain", "move", "seconds")
    body = b"velm-orra statistics 1\n"
    for i, mode in enumerate((b"kids", b"normal", b"professional")):
        body += b"[" + mode + b"]\n"
        for k, key in enumerate(keys):
            body += key.encode() + b" " + str((i + 1) * (k + 3)).encode() + b"\n"
    write("stats", "full.txt", body)
    write("stats", "torn.txt", body[:90])
    write("stats", "damaged.txt", body.replace(b"lines 14", b"lines -4").replace(b"\n", b"\r\n"))
    write("stats", "overflow.txt", b"velm-orra statistics 1\n[normal]\nfinished 9\nplayed 2\n"
                                   b"best 99999999999\nseconds 18446744073709551615\n")
    write("stats", "impossible.txt", b"velm-orra statistics 1\n[kids]\nplayed 3\nfinished 2\n"
                                     b"best 900\ntotal 800\nhinted_finished 1\nhinted_best 5\n")


# --- Config.extra ------------------------------------------------------------------------------

def extra_seeds():
    head = b"velm-orra config extra 1\nconfig 00112233445566ff\n"
    write("extra", "scores.txt", head + b"score 1 0 70000\nscore 2 9 2147483647\n")
    write("extra", "game.txt", head + b"random 853c49e6748fea9b\nreplay 0000000000000001\n"
                               b"replay ffffffffffffffff\nscore 0 3 65536\n")
    write("extra", "damaged.txt", head + b"random 853c49e6748fea9\nscore 3 0 70000\r\n")
    write("extra", "bare.txt", head)
    # The second format: a section for the new Config.bin and one for the one still on disk.
    two = b"velm-orra config extra 2\nconfig 00112233445566ff\nrandom 853c49e6748fea9b\n"
    write("extra", "sections.txt", two + b"replay 0000000000000001\nscore 1 0 80000\n"
                                   b"config cbf29ce484222325\nscore 1 0 70000\nscore 1 1 66000\n")
    write("extra", "repeated.txt", two + b"config 00112233445566ff\n")


def zstd_frame(data):
    """One zstd frame with the content size and a checksum, as the pack writer makes them (from a
    file, so that the frame records the size)."""
    with tempfile.NamedTemporaryFile() as f:
        f.write(data)
        f.flush()
        return subprocess.run(["zstd", "-q", "-3", "--check", "-c", f.name], check=True,
                              stdout=subprocess.PIPE).stdout


def pack_file(members):
    """A data pack of (name, bytes) members, names in rising order."""
    index_size = sum(18 + len(name) for name, _ in members)
    head = b"VelmPack" + struct.pack("<III", 1, len(members), index_size)
    index, body, offset = b"", b"", 20 + index_size
    for name, data in members:
        frame = zstd_frame(data)
        index += struct.pack("<QIIH", offset, len(frame), len(data), len(name)) + name
        body += frame
        offset += len(frame)
    return head + index + body


def pack_seeds():
    tga = tga_header(2, 2, 1, 32, 0x28) + bytes(range(8))
    write("pack", "two_members.pak", pack_file([(b"@2x/graphics/a.tga", tga),
                                                (b"graphics/a.tga", tga[:10] * 3)]))
    write("pack", "empty_member.pak", pack_file([(b"graphics/font/font.rls", b"")]))
    write("pack", "no_members.pak", pack_file([]))


# --- Replays ----------------------------------------------------------------------------------

def replay_file(mode, seed, steps, score=0, ended=False, rules=1, version=1, body=None):
    """steps: (from_x, from_y, to_x, to_y) moves and None for an undo; or the steps' bytes."""
    if body is None:
        body = b"".join(b"\xff" if s is None else bytes([s[0] + 9 * s[1], s[2] + 9 * s[3]])
                        for s in steps)
    head = b"VORP" + struct.pack("<BBHQiBI", version, mode, rules, seed, score, int(ended),
                                 len(body))
    data = head + body
    return data + struct.pack("<I", zlib.crc32(data))


def table_replays_file(records):
    """A file of the tables' replays: (mode, row, replay file) each."""
    data = b"VORT" + bytes([1, len(records)])
    for mode, row, replay in records:
        data += bytes([mode, row]) + struct.pack("<I", len(replay)) + replay
    return data + struct.pack("<I", zlib.crc32(data))


def replay_steps(data):
    """The steps of a replay file the game wrote, and its header fields."""
    _, mode, rules, seed, score, flags, n = struct.unpack("<BBHQiBI", data[4:25])
    steps, body, i = [], data[25:25 + n], 0
    while i < len(body):
        if body[i] == 255:
            steps.append(None)
            i += 1
        else:
            steps.append((body[i] % 9, body[i] // 9, body[i + 1] % 9, body[i + 1] // 9))
            i += 2
    return mode, seed, steps, score, bool(flags & 1)


def replay_seeds(data_dir):
    for mode in range(3):
        write("replay", "dealt_only_%d.vorp" % mode, replay_file(mode, 1000 + mode, []))
    write("replay", "undo_first.vorp", replay_file(0, 7, [None]))
    write("replay", "no_ball.vorp", replay_file(1, 7, [(0, 0, 8, 8), (1, 1, 2, 2)], 50))
    write("replay", "other_rules.vorp", replay_file(1, 7, [], rules=2))
    write("replay", "junk_step.vorp", replay_file(1, 7, [], body=b"\x99\x01"))
    write("replay", "tables.vort", table_replays_file([(1, 2, replay_file(1, 1001, [])),
                                                      (0, 0, replay_file(0, 7, [None]))]))
    game = os.path.join(data_dir, "velm-orra") if data_dir else None
    if not game or not os.path.exists(game):
        return
    with tempfile.TemporaryDirectory() as work:
        for mode, moves in (("kids", 40), ("normal", 30), ("professional", 20)):
            path = os.path.join(work, mode + ".vorp")
            subprocess.run([game, "--autoplay", "--mode", mode, "--player", "greedy", "--seed",
                            "3", "--max-moves", str(moves), "--record", path], check=True,
                           stdout=subprocess.DEVNULL)
            with open(path, "rb") as f:
                data = f.read()
            write("replay", "greedy_%s.vorp" % mode, data)
            if mode == "kids":
                # The first move taken back and played again, then the rest: the same game.
                m, seed, steps, score, ended = replay_steps(data)
                again = [steps[0], None] + steps
                write("replay", "kids_undo.vorp", replay_file(m, seed, again, score, ended))


if __name__ == "__main__":
    tga_seeds()
    bmp_seeds()
    jpeg_seeds()
    config_seeds()
    registry_seeds()
    text_seeds(sys.argv[1] if len(sys.argv) > 1 else None)
    stats_seeds()
    extra_seeds()
    pack_seeds()
    replay_seeds(sys.argv[1] if len(sys.argv) > 1 else None)
