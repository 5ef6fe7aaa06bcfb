"""Endurance journeys: short in make test, long in make soak (YK_SOAK=1)."""
import contextlib
import random
import sqlite3
import time

import storedform
from harness import BUILD, CF_TEXT, Client, ClientError, private_kb, soak, wait_for

CF_DIB, CF_UNICODETEXT, CF_LOCALE = 8, 13, 16
KILLS, COPIES = (50, 1000) if soak() else (8, 100)
COPY_SPACING = 0.25  # past the 100 ms debounce
CAPTURES, WARM_UP = (10_000 if soak() else 120), 30
DIB_SIZE = 40 + 1024 * 4 * 8  # a 1024 x 8 bitmap of 32 bits a pixel
# Growth allowed beyond a bare reader's over the same copies: from the middle of the run to its end
# nothing that grows with the count; from the start, caches filling (SQLite's 2 MiB, the first page).
LEAK_BOUND = {"GDI": 5, "USER": 2, "handles": 10, "private KiB": 2048}
WARM_BOUND = {"GDI": 40, "USER": 5, "handles": 20, "private KiB": 6144}
HISTORY_ROWS = 100_000 if soak() else 20_000


def query(path, sql):
    """What another reader sees: committed rows only, none before the table is made."""
    if not path.exists():
        return []
    with contextlib.closing(sqlite3.connect(f"file:{path}?mode=ro", uri=True, timeout=30)) as db:
        try:
            return db.execute(sql).fetchall()
        except sqlite3.OperationalError as error:
            if "no such table" not in str(error):
                raise
            return []


def texts(path):
    return {i: storedform.decode(bytes.fromhex(t)).rstrip(b"\0").decode("cp1252")
            for i, t in query(path, "SELECT Id, hex(Text) FROM Log")}


def copied_new_text(client, copied):
    """Another program copies a text nobody copied before; False while a killed process still holds the clipboard."""
    text = f"item {len(copied)} {random.getrandbits(32):08x}"
    try:
        client.copy_text(text)
    except ClientError:
        return False
    copied.append(text)
    return True


def kill(app, client, unix_signal):
    """SIGKILL of the Linux process, or TerminateProcess from another program as End task does."""
    window = app.window
    app.process.kill() if unix_signal else client.on("terminate", window)
    app.process.wait(timeout=30)
    wait_for(lambda: not client.exists(window), 30, what="the killed window to go")


def assert_sound(path, copied, committed):
    assert query(path, "PRAGMA integrity_check")[0][0] == "ok"
    ids = query(path, "SELECT Id FROM Log")
    found = texts(path)
    assert len(set(ids)) == len(ids) and set(found.values()) <= copied and len(set(found.values())) == len(found)
    lost = {i: t for i, t in committed.items() if found.get(i) != t}
    assert not lost, f"committed items lost: {sorted(lost.items())[:5]}"


def test_kills_at_any_instant_lose_no_committed_item(app, session, client, capsys):
    """Rules checked:
    - killed hard (TerminateProcess or SIGKILL) at any instant, half aimed at a capture's write, and
      started again: the file stays sound, ids stay unique, no row nobody copied, none stored twice,
      every item committed before a kill is kept"""
    path = session.config_folder / "vorla.sql"
    copied, committed, kills, mid_write, during_capture = [], {}, 0, 0, 0
    app.start()
    while kills < KILLS or len(copied) < COPIES:
        wait_for(lambda: copied_new_text(client, copied), 10, what="a copy")
        wait_for(lambda: copied[-1] in texts(path).values(), 20, what="its capture")
        for _ in range(random.randint(1, 2 * COPIES // KILLS)):
            time.sleep(COPY_SPACING)  # another program's pace of copying
            committed.update(texts(path))
            copied_new_text(client, copied)
        # A capture waits 70 ms after the copy, then reads, inserts and reloads: half the kills aim at the insert.
        time.sleep(random.uniform(0.07, 0.115) if kills % 4 in (1, 2) else random.uniform(0, COPY_SPACING))  # the instant
        committed.update(texts(path))
        during_capture += copied[-1] not in committed.values()
        kill(app, client, unix_signal=kills % 2)
        kills += 1
        journal = path.with_name(path.name + "-journal")
        mid_write += journal.exists() and journal.stat().st_size > 0
        app.start()
        assert_sound(path, set(copied), committed)
    with capsys.disabled():
        print(f"\nkill test: {kills} kills ({during_capture} during a capture, {mid_write} inside its write), "
              f"{len(copied)} items copied, {len(committed)} read back before a kill, none lost")


def settled(read, near):
    """A reading once the next, a second later, is near it: passing work (a start, a paint) is not counted."""
    before = read()
    for _ in range(20):
        time.sleep(1.0)  # the sampling interval of the measurement
        now = read()
        if near(before, now):
            return now
        before = now
    return before  # still moving under load: the last reading


def settled_private_kb(pid):
    return settled(lambda: private_kb(pid), lambda before, now: abs(now - before) < 64)


def copy(client, n):
    if n % 3 == 0:
        client.copy_text(f"load text {n}: the quick brown fox jumps over the lazy dog")
    elif n % 3 == 1:
        client.set_clipboard((CF_UNICODETEXT, f"load unicode {n}: caf\u00e9 \u4e2d\u6587".encode("utf-16-le") + b"\0\0"))
    else:
        client.fill_clipboard(CF_DIB, DIB_SIZE, seed=n)


def bare_reader_memory(session, client):
    """Private memory of a bare reader at the start, the middle and the end of the same copies. Under
    Wine the first process to read each new clipboard content keeps a few KiB of it for good."""
    reader = Client(session)
    reader.call("clip_read", CF_TEXT)  # its first read sets up what every later one reuses
    measured = [private_kb(reader.process.pid)]
    for n in range(CAPTURES):
        copy(client, n)
        reader.call("clip_read", CF_TEXT, CF_UNICODETEXT, CF_LOCALE, CF_DIB)
        if n + 1 in (CAPTURES // 2, CAPTURES):
            measured.append(private_kb(reader.process.pid))
    reader.close()
    return measured


def test_many_captures_leak_nothing(app, session, client, capsys):
    """Rules checked:
    - with the selection window open, captures of texts, Unicode texts and images mixed leave GDI and
      USER objects, kernel handles and private memory where the first half left them"""
    reader = bare_reader_memory(session, client)
    app.write_config("[Main]\nSleep=0\n")
    app.start().show(wait=True)
    client.on("idle", app.window)
    settled(lambda: client.resources(app.window), lambda before, now: before == now)  # painted, fonts and icons made
    path, rows, highest, measured = session.config_folder / "vorla.sql", 0, 0, []
    # Wine's heap swings by 2 MiB and more from one capture to the next, so each stretch is judged by
    # the most private memory seen in it: a leak raises that ceiling, the swing does not.
    for n in list(range(CAPTURES, CAPTURES + WARM_UP)) + list(range(CAPTURES)):  # warm-up texts are not repeated
        copy(client, n)
        rows += 1
        wait_for(lambda: query(path, "SELECT COUNT(*) FROM Log") == [(rows,)], 15, 0.01, what=f"capture {rows}")
        time.sleep(0.15)  # the pace of the copies, not a wait for the program
        highest = max(highest, private_kb(app.process.pid))
        if rows - WARM_UP in (0, CAPTURES // 2, CAPTURES):
            gdi, user, handles = client.resources(app.window)
            measured.append({"GDI": gdi, "USER": user, "handles": handles, "private KiB": highest})
            highest = 0
    (start, half, end), (reader_start, reader_half, reader_end) = measured, reader

    def growth(first, last, reader_growth):
        return {name: last[name] - first[name] - (reader_growth if name == "private KiB" else 0) for name in first}
    late, overall = growth(half, end, reader_end - reader_half), growth(start, end, reader_end - reader_start)
    with capsys.disabled():
        print(f"\nload test: {CAPTURES} captures; figures {measured}; bare reader KiB {reader}")
        print(f"  growth less the reader's: second half {late}, whole run {overall}")
    assert not {name: late[name] for name in LEAK_BOUND if late[name] > LEAK_BOUND[name]}, "grows with the count"
    assert not {name: overall[name] for name in WARM_BOUND if overall[name] > WARM_BOUND[name]}, "beyond its caches"
    assert app.running()


def test_private_memory_is_within_8_mib_of_a_bare_dialog(app, session, client, capsys):
    """Rules checked:
    - private memory within 8 MiB of a bare dialog program under the same Wine: idle with an empty
      history, idle with a large one, and with the window open"""
    bare = session.wine(BUILD / "tests" / "e2e" / "bare_dialog.exe")
    wait_for(lambda: client.window("Yarrowkit Bare Dialog"), 30, what="the bare dialog")
    baseline, figures = settled_private_kb(bare.pid), {}
    app.start()
    figures["idle, empty history"] = settled_private_kb(app.process.pid)
    app.close_quietly()
    path = session.config_folder / "vorla.sql"
    storedform.write_history(path, (storedform.text_record(n, f"history item {n}: some copied text of a usual length",
                                                           dtime=1700000000 + n) for n in range(HISTORY_ROWS)), create=False)
    app.start()
    figures[f"idle, {HISTORY_ROWS:,} rows"] = settled_private_kb(app.process.pid)
    app.show(wait=True)
    figures[f"window open, {HISTORY_ROWS:,} rows"] = settled_private_kb(app.process.pid)
    with capsys.disabled():
        print(f"\nmemory test: bare dialog {baseline} KiB private; yarrowkit {figures}")
    assert not {what: kib - baseline for what, kib in figures.items() if kib - baseline > 8 * 1024}
