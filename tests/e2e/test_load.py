"""Captures by the thousand (texts, Unicode texts and images mixed) with the selection window open:
GDI and USER objects, kernel handles and private memory stay where the first half left them.

Under Wine the first process to read each new clipboard content keeps a few KiB of it for good (a
bare reader grows by about 3 KiB a text read; later readers of the same content do not grow). So the
program's private memory is judged against a bare reader that first reads the same copies, in the
same formats, before the program starts."""
import sqlite3
import time

from harness import Client, private_kb, soak, wait_for

CAPTURES = 10_000 if soak() else 120  # make soak; make test runs the short version
# Captures before the first figures: the fonts of every script in the list, the store's and the
# heap's working sets made once, so that what the halves compare is steady state.
WARM_UP = 30
CF_TEXT, CF_DIB, CF_UNICODETEXT, CF_LOCALE = 1, 8, 13, 16
CAPTURED_FORMATS = (CF_TEXT, CF_UNICODETEXT, CF_LOCALE, CF_DIB)  # what a capture reads of these copies
DIB_SIZE = 40 + 1024 * 4 * 8  # a 1024 x 8 bitmap of 32 bits a pixel
AFTER_CAPTURE = 0.15  # a person's pace between copies
# What may grow from the middle of the run to its end, beyond the bare reader's growth over the
# same copies: nothing that grows with the count.
LEAK_BOUND = {"GDI": 5, "USER": 2, "handles": 10, "private KiB": 2048}
# What may grow from the start to the end, beyond the reader's growth: caches filling up (the SQLite page cache is 2 MiB,
# the list's first page of items and icons).
WARM_BOUND = {"GDI": 40, "USER": 5, "handles": 20, "private KiB": 6144}


def copy(client, n):
    kind = n % 3
    if kind == 0:
        client.copy_text(f"load text {n}: the quick brown fox jumps over the lazy dog")
    elif kind == 1:
        client.set_clipboard((CF_UNICODETEXT, f"load unicode {n}: caf\u00e9 \u4e2d\u6587".encode("utf-16-le") + b"\0\0"))
    else:
        client.fill_clipboard(CF_DIB, DIB_SIZE, seed=n)


def capture(client, db, n, rows):
    copy(client, n)
    wait_for(lambda: row_count(db) == rows, 15, interval=0.01, what=f"capture {rows}")
    time.sleep(AFTER_CAPTURE)  # the pace of the copies, not a wait for the program


def row_count(path):
    db = sqlite3.connect(f"file:{path}?mode=ro", uri=True, timeout=30)
    try:
        return db.execute("SELECT COUNT(*) FROM Log").fetchone()[0]
    finally:
        db.close()


def figures(app, client):
    gdi, user, handles = client.resources(app.window)
    return {"GDI": gdi, "USER": user, "handles": handles, "private KiB": private_kb(app.process.pid)}


def settle(app, client):
    """Waits until two readings of the window's objects half a second apart agree."""
    last = [None]

    def steady():
        now = client.resources(app.window)
        before, last[0] = last[0], now
        return now == before

    client.call("idle", f"{app.window:x}")
    wait_for(steady, 20, interval=0.5, what="the window's objects to settle")


def bare_reader_growth(session, client):
    """Private memory of a bare reader at the start, the middle and the end of the same copies."""
    reader = Client(session)
    try:
        reader.call("clip_read", CF_TEXT)  # its first read sets up what every later one reuses
        measured = [private_kb(reader.process.pid)]
        for n in range(CAPTURES):
            copy(client, n)
            reader.call("clip_read", *CAPTURED_FORMATS)
            if n + 1 in (CAPTURES // 2, CAPTURES):
                measured.append(private_kb(reader.process.pid))
        return measured
    finally:
        reader.close()


def less_reader(first, last, reader_first, reader_last):
    growth = {name: last[name] - first[name] for name in first}
    growth["private KiB"] -= reader_last - reader_first
    return growth


def test_many_captures_leak_nothing(app, session, client, capsys):
    reader_start, reader_half, reader_end = bare_reader_growth(session, client)
    app.write_config("[Main]\nSleep=0\n")
    app.start()
    app.show()
    wait_for(lambda: client.visible(app.window), what="the selection window")
    settle(app, client)  # painted, with its fonts, icons and tooltip made
    db = session.config_folder / "vorla.sql"
    # Wine's heap gives memory back and takes it again from one capture to the next (by 2 MiB
    # and more), so each stretch is judged by the most private memory seen in it: a leak raises
    # that ceiling, the swing does not.
    highest = 0
    for n in range(CAPTURES, CAPTURES + WARM_UP):  # texts the measured copies do not repeat
        capture(client, db, n, n - CAPTURES + 1)
        highest = max(highest, private_kb(app.process.pid))
    measured = {0: dict(figures(app, client), **{"private KiB": highest})}
    started, highest = time.monotonic(), 0
    for n in range(CAPTURES):
        capture(client, db, n, WARM_UP + n + 1)
        highest = max(highest, private_kb(app.process.pid))
        if n + 1 in (CAPTURES // 2, CAPTURES):
            measured[n + 1], highest = dict(figures(app, client), **{"private KiB": highest}), 0
    elapsed = time.monotonic() - started

    start, half, end = measured.values()
    late = less_reader(half, end, reader_half, reader_end)
    overall = less_reader(start, end, reader_start, reader_end)
    with capsys.disabled():
        print(f"\nload test: {CAPTURES} captures in {elapsed:.0f} s")
        for count, values in measured.items():
            print(f"  after {count:>6}: " + ", ".join(f"{name} {value}" for name, value in values.items()))
        print(f"  bare reader, private KiB: {reader_start}, {reader_half}, {reader_end}")
        print(f"  growth less the reader's: second half {late}, whole run {overall}")
    leaks = {name: late[name] for name in LEAK_BOUND if late[name] > LEAK_BOUND[name]}
    assert not leaks, f"grows with the number of captures: {leaks}"
    warm = {name: overall[name] for name in WARM_BOUND if overall[name] > WARM_BOUND[name]}
    assert not warm, f"grew beyond its caches: {warm}"
    assert app.running()
