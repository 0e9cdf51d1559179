#!/usr/bin/python3
"""Resident memory of the real program after a scripted game.

Starts the program from a scratch folder that holds a copy of the generated
data folder, in a private Xvfb (Mesa llvmpipe) with OpenAL Soft's null backend,
starts a game with xdotool and keeps it going (Run held, Space tapped every
few seconds so that the title starts a new game after a game over), and after
the given time reads the process's resident memory from /proc.

Beside it, the pictures' and the sounds' shares, from the files the program
opened in its copy of the data folder (watched with inotify; the copy keeps
other readers of the data folder, such as a build or a second run, out): the pixel bytes of every
picture (what a surface holds when it keeps its pixels) and the decoded bytes
of every sound (what the audio library keeps for each buffer).

With the start probe of bench/title_start preloaded (its notes go to a
scratch file), also the longest interval between two frames shown during the
play, and how many intervals passed 50 and 100 ms.

usage: bench/memory_after_play.py BUILD_DIR [--seconds N] [--probe START_PROBE_SO]
"""
import argparse
import ctypes
import os
import select
import shutil
import struct
import subprocess
import sys
import tempfile
import time

IN_OPEN = 0x20
KEY_CYCLE_SECONDS = 3.0
MIB = 1024 * 1024


def run(*args):
    return subprocess.run(list(args), capture_output=True, text=True, timeout=20)


def load():
    """The load averages over 1, 5 and 15 minutes, as uptime gives them."""
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


def start_xvfb():
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"],
        pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    while select.select([read_end], [], [], 20)[0]:
        c = os.read(read_end, 1)
        if not c or c == b"\n":
            break
        number += c
    os.close(read_end)
    if not number:
        server.kill()
        sys.exit("Xvfb did not start")
    return server, ":" + number.decode()


class OpenedFiles:
    """The files opened under a folder, by inotify."""

    def __init__(self, root):
        self.libc = ctypes.CDLL(None, use_errno=True)
        self.fd = self.libc.inotify_init1(os.O_NONBLOCK)
        if self.fd < 0:
            sys.exit("inotify is not available")
        self.folders = {}
        for folder, _, _ in os.walk(root):
            wd = self.libc.inotify_add_watch(self.fd, folder.encode(), IN_OPEN)
            self.folders[wd] = folder
        self.opened = set()

    def collect(self):
        while True:
            try:
                data = os.read(self.fd, 65536)
            except BlockingIOError:
                return
            at = 0
            while at < len(data):
                wd, mask, _, length = struct.unpack_from("iIII", data, at)
                name = data[at + 16:at + 16 + length].rstrip(b"\0").decode()
                at += 16 + length
                if mask & IN_OPEN and name:
                    self.opened.add(os.path.join(self.folders[wd], name))


def png_pixel_bytes(path):
    """Width x height x bytes per pixel as the image decoder gives them (no
    conversion asked): grey 1, grey and alpha 2, colour 3, with alpha 4; a
    palette gives 3, or 4 with a transparency chunk."""
    with open(path, "rb") as f:
        data = f.read()
    width, height, _, colour_type = struct.unpack_from(">IIBB", data, 16)
    depth = {0: 1, 4: 2, 2: 3, 6: 4}.get(colour_type)
    if colour_type == 3:
        depth = 4 if b"tRNS" in data else 3
    return width * height * depth


def wav_sample_bytes(path):
    with open(path, "rb") as f:
        data = f.read()
    at = 12
    while at + 8 <= len(data):
        chunk, size = struct.unpack_from("<4sI", data, at)
        if chunk == b"data":
            return size
        at += 8 + size + (size & 1)
    return 0


def ogg_sample_bytes(path):
    """16-bit samples of all channels: the last page's granule position is
    the stream's length in samples per channel."""
    with open(path, "rb") as f:
        data = f.read()
    header = data.find(b"\x01vorbis")
    channels = data[header + 11]
    last_page = data.rfind(b"OggS")
    samples = struct.unpack_from("<q", data, last_page + 6)[0]
    return samples * channels * 2


def shares(opened):
    pictures = sum(png_pixel_bytes(p) for p in opened if p.endswith(".png"))
    effects = sum(wav_sample_bytes(p) for p in opened if p.endswith(".wav"))
    tune = sum(ogg_sample_bytes(p) for p in opened if p.endswith(".ogg"))
    return pictures, effects, tune


def memory(pid):
    fields = {}
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            key, _, value = line.partition(":")
            if key in ("VmRSS", "VmHWM", "RssAnon", "RssFile", "RssShmem"):
                fields[key] = int(value.split()[0]) * 1024
    return fields


def find_window(program, deadline):
    while time.monotonic() < deadline and program.poll() is None:
        r = run("xdotool", "search", "--name", "^Tarvolan$")
        if r.returncode == 0 and r.stdout.strip():
            return r.stdout.split()[0]
        time.sleep(0.2)
    return None


def play(window, seconds, watcher):
    """Run held; every few seconds every key goes up for a moment and Space
    is tapped, which starts a game on the title and changes nothing in play
    (Run is the last speed button tested, so it wins)."""
    run("xdotool", "windowfocus", window)
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        run("xdotool", "keyup", "l")
        time.sleep(0.1)
        run("xdotool", "keydown", "space")
        time.sleep(0.2)
        run("xdotool", "keyup", "space")
        run("xdotool", "keydown", "l")
        watcher.collect()
        time.sleep(max(0.0, min(KEY_CYCLE_SECONDS, end - time.monotonic())))
    run("xdotool", "keyup", "l")


def frame_intervals(notes):
    """The intervals between the frames shown after the title, in seconds."""
    times = []
    if os.path.exists(notes):
        with open(notes) as f:
            times = [int(line.split()[1]) / 1e9 for line in f if line.startswith("frame ")]
    return [b - a for a, b in zip(times, times[1:])]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--seconds", type=float, default=300)
    parser.add_argument("--probe", help="the start probe (start_probe.so) to preload")
    args = parser.parse_args()
    build = os.path.abspath(args.build)

    print("load at start:", load())
    server, display = start_xvfb()
    with tempfile.TemporaryDirectory() as folder:
        data = os.path.join(folder, "data")
        shutil.copytree(os.path.join(build, "data"), data)
        conf = os.path.join(folder, "alsoft.conf")
        with open(conf, "w") as f:
            f.write("[general]\ndrivers=null\n")
        env = dict(os.environ, DISPLAY=display, ALSOFT_CONF=conf)
        notes = os.path.join(folder, "probe-notes")
        if args.probe:
            env.update(LD_PRELOAD=os.path.abspath(args.probe), TITLE_START_LOG=notes)
        os.environ["DISPLAY"] = display
        watcher = OpenedFiles(data)
        program = subprocess.Popen([os.path.join(build, "tarvolan")], cwd=folder, env=env,
                                   stdout=subprocess.DEVNULL)
        try:
            window = find_window(program, time.monotonic() + 30)
            if not window:
                sys.exit("the program showed no window")
            play(window, args.seconds, watcher)
            watcher.collect()
            if program.poll() is not None:
                sys.exit(f"the program ended early with status {program.returncode}")
            status = memory(program.pid)
        finally:
            program.kill()
            program.wait()
            server.kill()
            server.wait()
        pictures, effects, tune = shares(watcher.opened)
        intervals = frame_intervals(notes)

    print("load at end:", load())
    print(f"played {args.seconds:.0f} s; the tune was {'' if tune else 'NOT '}started")
    for key in ("VmRSS", "VmHWM", "RssAnon", "RssFile", "RssShmem"):
        print(f"{key:9} {status.get(key, 0) / MIB:8.1f} MiB")
    print(f"pictures opened, pixel bytes {pictures / MIB:8.1f} MiB")
    print(f"sound effects, sample bytes  {effects / MIB:8.1f} MiB")
    print(f"tune, decoded sample bytes   {tune / MIB:8.1f} MiB")
    if intervals:
        print(f"frames {len(intervals) + 1}, longest interval {max(intervals) * 1000:.1f} ms, "
              f"over 50 ms {sum(i > 0.05 for i in intervals)}, over 100 ms {sum(i > 0.1 for i in intervals)}")


if __name__ == "__main__":
    main()
