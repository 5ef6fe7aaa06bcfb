"""Another process holds a write lock on the history file: a capture waits out the busy timeout and
fails with SQLite's busy message, the program answers again at once, and the next capture after
the lock is released is stored."""
import subprocess
import time

import pytest

import storedform
from test_capture import History

BUSY_TIMEOUT_S = 60
APP_CAPTION = "yarrowkit"


class ExclusiveLock:
    """The host's sqlite3 shell inside `BEGIN EXCLUSIVE`, waiting: Wine's file locks and Linux's
    are the same locks, so the program sees it as it would see another Windows process."""

    def __init__(self, path):
        self.shell = subprocess.Popen(["sqlite3", str(path)], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        self.shell.stdin.write(b"BEGIN EXCLUSIVE;\nSELECT 'held';\n")
        self.shell.stdin.flush()
        assert self.shell.stdout.readline() == b"held\n"

    def release(self):
        if self.shell.poll() is None:
            self.shell.communicate(b"COMMIT;\n", timeout=30)


@pytest.fixture
def lock_on(session):
    locks = []
    yield lambda path: locks.append(ExclusiveLock(path)) or locks[-1]
    for lock in locks:
        lock.release()


def test_a_capture_under_a_lock_fails_after_the_busy_timeout_and_the_next_is_stored(app, session, client, lock_on):
    history = History(session)
    storedform.write_history(history.path, [storedform.text_record(0, "before")])
    app.start()
    history.settle_with_marker(client, b"first\0")  # the next capture needs no read: it inserts at once

    lock = lock_on(history.path)
    time.sleep(0.25)
    copied = time.monotonic()
    client.copy_text("while locked")
    time.sleep(1.0)  # the capture is waiting on the lock by now
    waited_ms = client.answer_time(app.window, (BUSY_TIMEOUT_S + 30) * 1000)
    unresponsive = time.monotonic() - copied
    assert waited_ms is not None, "the window answers once the busy timeout is over"
    assert client.wait_message_box(APP_CAPTION) == "SQLITE_BUSY[5]: database is locked"
    assert BUSY_TIMEOUT_S - 2 <= unresponsive <= BUSY_TIMEOUT_S + 10, unresponsive

    lock.release()
    client.press(APP_CAPTION, "OK")
    answered_ms = client.answer_time(app.window, 5000)
    assert answered_ms is not None and answered_ms < 1000, "responsive again at once"
    time.sleep(0.25)
    client.copy_text("after the lock")
    rows = history.wait_count(3)
    assert [(r["Id"], r["Text"]) for r in rows] == [(0, b"before\0"), (1, b"first\0"), (3, b"after the lock\0")], \
        "the failed insert used up id 2"
    print(f"\nlocked database: window unresponsive for {unresponsive:.1f} s (busy timeout {BUSY_TIMEOUT_S} s), "
          f"answering in {answered_ms} ms after the busy message; the next capture stored")
