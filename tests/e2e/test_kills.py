"""Hard kills at any instant: short in make test, long in make soak (YK_SOAK=1). The memory figures of
many captures are bench/endurance_bench.py's."""
import contextlib
import random
import sqlite3
import time

import storedform
from harness import ClientError, soak, wait_for

KILLS, COPIES = (50, 1000) if soak() else (8, 100)
COPY_SPACING = 0.25  # past the 100 ms debounce


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
    """- killed hard (TerminateProcess or SIGKILL) at any instant, half aimed at a capture's write, and
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
        # The instant: a capture waits 70 ms after the copy, then reads, inserts and reloads; half aim at the insert.
        time.sleep(random.uniform(0.07, 0.115) if kills % 4 in (1, 2) else random.uniform(0, COPY_SPACING))
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
