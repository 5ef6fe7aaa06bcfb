"""Another process holds a write lock on the history file: the window keeps answering, and what was
copied meanwhile is written, in order, once the lock is released."""
import subprocess
import time

import pytest

import storedform
from harness import History, wait_for

LOCK_S = 12
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


def test_a_locked_history_file_neither_freezes_the_window_nor_loses_a_copy(app, session, client, lock_on):
    history = History(session)
    storedform.write_history(history.path, [storedform.text_record(0, "before")])
    app.start()
    history.settle_with_marker(client, b"first\0")

    lock = lock_on(history.path)
    client.copy_text("while locked")
    longest_ms, end = 0, time.monotonic() + LOCK_S
    while time.monotonic() < end:
        answered_ms = client.answer_time(app.window, 5000)
        assert answered_ms is not None, "the window answers while the file is locked"
        longest_ms = max(longest_ms, answered_ms)
        time.sleep(0.05)  # the pace of the probes
    assert longest_ms <= 500, longest_ms
    assert client.message_box(APP_CAPTION) is None, "a lock shorter than a minute is not worth a message"

    lock.release()
    wait_for(lambda: len(history.rows()) == 3, 15, what="the copy made while locked")
    assert [(r["Id"], r["Text"]) for r in history.rows()] == [(0, b"before\0"), (1, b"first\0"), (2, b"while locked\0")]
    print(f"\nlocked database: for {LOCK_S} s the window answered within {longest_ms} ms; "
          "the copy was written once the lock was gone")
