"""Killed hard at any instant while another program copies, and started again: the history file
stays sound, ids stay unique, and every item whose row had been committed before a kill is kept."""
import random
import sqlite3
import threading
import time

import storedform
from harness import Client, ClientError, soak, wait_for

# make test runs a short version; make soak the long one.
KILLS = 50 if soak() else 8
COPIES = 1000 if soak() else 100
COPY_SPACING = 0.25  # well past the 100 ms debounce of the notice before


class Copier(threading.Thread):
    """Another program copying distinct texts, one every COPY_SPACING seconds, until stopped."""

    def __init__(self, client, tag):
        super().__init__(daemon=True)
        self.client, self.tag = client, tag
        self.copied = []
        self.last_copy = 0.0
        self.stopped = threading.Event()

    def run(self):
        for n in range(10_000):
            if self.stopped.is_set():
                return
            text = f"{self.tag} item {n} {random.getrandbits(32):08x}"
            try:
                self.client.copy_text(text)
                self.copied.append(text)
                self.last_copy = time.monotonic()
            except ClientError:
                pass  # the clipboard was still held by the process just killed
            self.stopped.wait(COPY_SPACING)


class HistoryFile:
    def __init__(self, path):
        self.path = path

    def _query(self, sql):
        if not self.path.exists():
            return []
        db = sqlite3.connect(f"file:{self.path}?mode=ro", uri=True, timeout=30)
        try:
            return db.execute(sql).fetchall()
        except sqlite3.OperationalError as error:
            if "no such table" in str(error):
                return []
            raise
        finally:
            db.close()

    def texts(self):
        """{id: text} of every row; what another reader sees is committed."""
        rows = self._query("SELECT Id, hex(Text) FROM Log")
        return {row_id: storedform.decode(bytes.fromhex(text)).rstrip(b"\0").decode("cp1252")
                for row_id, text in rows}

    def integrity(self):
        return self._query("PRAGMA integrity_check")[0][0]

    def id_counts(self):
        return self._query("SELECT COUNT(Id), COUNT(DISTINCT Id) FROM Log")[0]

    def journal_left(self):
        journal = self.path.with_name(self.path.name + "-journal")
        return journal.exists() and journal.stat().st_size > 0


def kill(app, client, hard_unix_kill):
    """TerminateProcess from another program, or SIGKILL of the Linux process behind it."""
    window = app.window
    if hard_unix_kill:
        app.process.kill()
    else:
        assert client.terminate(window)
    app.process.wait(timeout=30)
    wait_for(lambda: not client.exists(window), 30, what="the killed window to go")


def test_kills_at_any_instant_lose_no_committed_item(app, session, client, capsys):
    history = HistoryFile(session.config_folder / "vorla.sql")
    copier_client = Client(session)
    copied, committed = set(), {}
    kills = mid_write = during_capture = 0
    try:
        app.start()
        while kills < KILLS or len(copied) < COPIES:
            copier = Copier(copier_client, f"round {kills}")
            copier.start()
            # The program captures again after each start; then it dies at a random instant.
            seen = wait_for(lambda: {i: t for i, t in history.texts().items() if t in copier.copied}, 20,
                            what="the first capture of the round")
            deadline = time.monotonic() + random.uniform(0, 2 * COPIES / KILLS * COPY_SPACING)
            while time.monotonic() < deadline:
                seen.update(history.texts())
                time.sleep(0.03)  # the pace of the reads, not a wait for the program
            # A capture waits 70 ms after the copy, then reads, inserts and reloads: half of the
            # kills, of either kind, aim at the insert.
            copy_before = copier.last_copy
            wait_for(lambda: copier.last_copy != copy_before, 5, interval=0.005, what="the next copy")
            aimed = kills % 4 in (1, 2)
            # The instant of the kill: a chosen delay, not a wait for the program.
            time.sleep(random.uniform(0.07, 0.115) if aimed else random.uniform(0, COPY_SPACING))
            seen.update(history.texts())
            during_capture += copier.copied[-1] not in seen.values()
            copier.stopped.set()
            kill(app, client, hard_unix_kill=kills % 2 == 1)
            copier.join()
            kills += 1
            mid_write += history.journal_left()
            copied.update(copier.copied)
            committed.update(seen)

            app.start()
            assert history.integrity() == "ok", f"after kill {kills}"
            count, distinct = history.id_counts()
            assert count == distinct, f"ids repeat after kill {kills}"
            found = history.texts()
            assert set(found.values()) <= copied, "rows nobody copied"
            assert len(set(found.values())) == len(found), "an item stored twice"
            lost = {i: t for i, t in committed.items() if found.get(i) != t}
            assert not lost, f"committed items lost after kill {kills}: {sorted(lost.items())[:5]}"
    finally:
        copier_client.close()
    with capsys.disabled():
        print(f"\nkill test: {kills} kills ({during_capture} during a capture, {mid_write} inside its write), "
              f"{len(copied)} items copied, "
              f"{len(committed)} read back before a kill, {len(history.texts())} found, none lost")
