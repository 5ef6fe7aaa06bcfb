#!/usr/bin/env python3
"""Clipboard engine figures, measured on the real yarrowkit.exe under Wine with Sleep=0:
the capture's own cost (from the program's debug output) against a memory copy of the same
size, the time from an X11 client's copy to the row in the file, the paste round trip, and the
peak memory a 10 MiB capture adds to the idle process. Prints figures; asserts nothing."""
import os
import pathlib
import re
import sqlite3
import statistics
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))

import storedform  # noqa: E402
from harness import BUILD, EXE, TITLE, WM_COMMAND, WM_TRAY_CALLBACK, Client, Session, wait_for  # noqa: E402
from selection import SelectionWindow  # noqa: E402

CF_TEXT, CF_DIB = 1, 8
KIB, MIB = 1024, 1024 * 1024
IDC_PASTE = 137
WM_MOUSEMOVE = 0x200
FLOOR_EXE = BUILD / "bench" / "capture_floor.exe"
PROBE_EXE = BUILD / "bench" / "bench_probe.exe"
TRACE = re.compile(rb"Yarrowkit capture: (\d+) bytes in ([\d.]+) ms")


class Program:
    """yarrowkit.exe with its debug output going to a file."""

    def __init__(self, session, client, config="Sleep=0\n"):
        self.session, self.client = session, client
        session.config_folder.mkdir(parents=True, exist_ok=True)
        (session.config_folder / "config.cfg").write_text("[Main]\n" + config)
        self.log_path = session.dir / "debug.log"
        env_before = session.env.get("WINEDEBUG")
        session.env["WINEDEBUG"] = "-all,+debugstr"
        self.process = session.wine(EXE, stdout=subprocess.DEVNULL, stderr=open(self.log_path, "wb"))
        session.env["WINEDEBUG"] = env_before or "-all"
        self.window = wait_for(lambda: client.window(TITLE), 30, what="the main window")
        client.call("idle", f"{self.window:x}")
        self.db = session.config_folder / "vorla.sql"
        self.pid = wait_for(self._linux_pid, 10, what="the process id")

    def _linux_pid(self):
        prefix = f"WINEPREFIX={self.session.prefix}".encode()
        for entry in pathlib.Path("/proc").iterdir():
            try:
                if b"yarrowkit.exe" in (entry / "cmdline").read_bytes() and \
                        prefix in (entry / "environ").read_bytes().split(b"\0"):
                    return int(entry.name)
            except (OSError, ValueError):
                continue
        return None

    def rows(self):
        if not self.db.exists():
            return 0
        with sqlite3.connect(f"file:{self.db}?mode=ro", uri=True, timeout=30) as db:
            try:
                return db.execute("SELECT count(*) FROM Log").fetchone()[0]
            except sqlite3.OperationalError:
                return 0

    def wait_rows(self, count, timeout=120):
        deadline = time.monotonic() + timeout
        while self.rows() < count:
            if time.monotonic() > deadline:
                raise TimeoutError(f"{count} rows")
            time.sleep(0.001)

    def traces(self):
        return [(int(n), float(ms)) for n, ms in TRACE.findall(self.log_path.read_bytes())]

    def memory_kb(self, field):
        for line in pathlib.Path(f"/proc/{self.pid}/status").read_text().splitlines():
            if line.startswith(field + ":"):
                return int(line.split()[1])
        raise KeyError(field)

    def reset_peak(self):
        pathlib.Path(f"/proc/{self.pid}/clear_refs").write_text("5")


def memcpy_ms(size, repeats=5):
    block = bytearray(os.urandom(1024)) * (size // 1024 or 1)
    best = float("inf")
    for _ in range(repeats):
        start = time.perf_counter()
        bytes(block)
        best = min(best, time.perf_counter() - start)
    return best * 1000


def floor_ms(session, size):
    """Copying a text clip of `size` bytes out and inserting its encoded blocks with a bare
    prepared statement, under Wine as the capture runs."""
    out = subprocess.run(["wine", str(FLOOR_EXE), str(size), "C:\\"], env=session.env, capture_output=True,
                         check=True, timeout=300)
    return float(out.stdout.decode().strip().splitlines()[-1])


def capture_costs(program, client, session):
    print("capture cost (reading, converting, encoding, duplicate check, insert, list reload; no delay);")
    print("  own = cost less the platform's GetClipboardData for the formats read (measured by a second process)")
    reader = Client(session, PROBE_EXE)
    seed = 0
    for name, fmt, size in (("1 KiB text", CF_TEXT, KIB), ("1 MiB text", CF_TEXT, MIB),
                            ("10 MiB text", CF_TEXT, 10 * MIB), ("10 MiB DIB", CF_DIB, 10 * MIB)):
        costs, platform = [], []
        for _ in range(5):
            seed += 1
            before = len(program.traces())
            rows = program.rows()
            client.fill_clipboard(fmt, size, seed)
            program.wait_rows(rows + 1)
            wait_for(lambda: len(program.traces()) > before, 10, interval=0.01, what="the trace line")
            costs.append(program.traces()[-1][1])
            platform.append(float(reader.call("clip_read_time", fmt)))
            time.sleep(0.15)
        cost, share = statistics.median(costs), statistics.median(platform)
        own = cost - share
        line = f"  {name:12} cost {cost:8.2f} ms  platform {share:7.2f} ms  own {own:8.2f} ms"
        if fmt == CF_TEXT and size >= MIB:
            floor = floor_ms(session, size)
            line += f"  floor {floor:7.2f} ms  own/floor {own / floor:5.2f}  target <= 3x"
            if size == MIB:
                line += " and <= 10 ms"
            line += ": " + ("met" if own <= 3 * floor and (size > MIB or own <= 10) else "MISSED")
        print(line)
    reader.close()


def x11_latency(program, session):
    print("X11 copy (xclip) -> row in the file, 15 runs each")
    for name, size in (("10 B", 10), ("1 MiB", MIB), ("10 MiB", 10 * MIB)):
        times, missed = [], 0
        for run in range(15):
            data = (b"%02d" % run) + bytes((97 + i % 23) for i in range(min(size, 4096))) * (size // 4096 or 1)
            data = data[:size]
            rows = program.rows()
            time.sleep(0.2)
            start = time.perf_counter()
            xclip = subprocess.Popen(["xclip", "-selection", "clipboard"], stdin=subprocess.PIPE, env=session.env)
            xclip.stdin.write(data)
            xclip.stdin.close()
            try:
                program.wait_rows(rows + 1, timeout=15)
            except TimeoutError:  # the platform's bridge gave up fetching the selection
                missed += 1
                continue
            times.append((time.perf_counter() - start) * 1000)
        if not times:
            print(f"  {name:7} every copy was missed")
            continue
        median = statistics.median(times)
        verdict = f"  missed {missed}" if missed else ""
        # 1.5x faster than the figures of version 1.4 on this machine (206 ms and 2,077 ms).
        target = {MIB: 206 / 1.5, 10 * MIB: 2077 / 1.5}.get(size)
        if target:
            verdict += f"  target <= {target:.0f} ms: " + ("met" if median <= target else "MISSED")
        print(f"  {name:7} median {median:8.1f} ms  max {max(times):8.1f} ms{verdict}")
    # The last xclip keeps serving its selection until the session's display ends.


def peak_memory(program, client):
    time.sleep(0.5)
    idle = program.memory_kb("VmRSS")
    program.reset_peak()
    rows = program.rows()
    client.fill_clipboard(CF_TEXT, 10 * MIB, 25)
    program.wait_rows(rows + 1)
    peak = program.memory_kb("VmHWM")
    added = (peak - idle) / 1024
    blocks = 30  # MiB: the text and the Unicode text the platform converts it to, as copied out
    # The row holds them in their stored (encoded) form, a little larger than the blocks.
    [row] = storedform.sqlite(program.db, "SELECT length(CAST(Text AS BLOB)) + length(CAST(Data AS BLOB)) + "
                              "ifnull(length(CAST(Locale AS BLOB)), 0) FROM Log ORDER BY Id DESC LIMIT 1;")
    stored = int(row) / MIB
    print(f"peak memory of a 10 MiB text capture: idle {idle / 1024:.1f} MiB, peak {peak / 1024:.1f} MiB, "
          f"added {added:.1f} MiB = {added / 10:.2f}x the clip, {added / blocks:.2f}x the {blocks} MiB of blocks "
          f"copied out, {added / stored:.2f}x the {stored:.2f} MiB stored in the row "
          f"(target <= 2x the bytes stored: {'met' if added <= 2 * stored else 'MISSED'})")


def paste_round_trip(session, client):
    program = Program(session, client, "Sleep=0\n")
    edit = int(client.call("editor"), 16)
    client.send(program.window, WM_TRAY_CALLBACK, 0, WM_MOUSEMOVE)
    client.copy_text("pasted")
    program.wait_rows(1)
    time.sleep(0.2)  # past the burst window
    client.copy_text("previous")
    program.wait_rows(2)
    client.send(program.window, WM_TRAY_CALLBACK, 0, 513)
    selection = SelectionWindow(type("App", (), {"client": client, "window": program.window})())
    wait_for(selection.selected_id, what="the first selection")
    selection.select(0)
    times = []
    for run in range(10):
        client.call("editor")  # the editor in front again
        start = time.perf_counter()
        client.post(program.window, WM_COMMAND, IDC_PASTE)
        wait_for(lambda: client.text(edit).count("pasted") == run + 1, 10, interval=0.002, what="the paste")
        # The clipboard is empty for a moment while the program puts the saved content back.
        wait_for(lambda: client.clipboard()[:1] == [(CF_TEXT, b"previous\0")], 10, interval=0.002, what="the restore")
        times.append((time.perf_counter() - start) * 1000)
    print(f"paste round trip (command -> text in the editor -> clipboard restored), 10 runs: "
          f"median {statistics.median(times):.1f} ms, max {max(times):.1f} ms")
    program.process.kill()


def main():
    session = Session()
    try:
        client = Client(session)
        program = Program(session, client)
        capture_costs(program, client, session)
        peak_memory(program, client)
        x11_latency(program, session)
        program.process.kill()
        program.process.wait()
        storedform.sqlite(program.db, "DELETE FROM Log;")
        paste_round_trip(session, client)
        client.close()
    finally:
        session.stop()


if __name__ == "__main__":
    main()
