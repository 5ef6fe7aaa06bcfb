import contextlib
import hashlib
import subprocess
import time

import storedform
from harness import APP_CAPTION, ExclusiveLock, History, desktop_keys, wait_for, xclip, xdotool
from options import DATABASE, IDC_SWITCH_DATABASE, IDCANCEL, OptionsWindow
from selection import shown, within

OPEN_ERROR, PAGE_ERROR = "YarrowKit Error #1", "YarrowKit Error #2"
PAGE_TEXT = "Can't read from database to tree\n Error #2 - "
CANNOT_OPEN = [(OPEN_ERROR, "Can't open database or create main table\n Error #1 - SQLITE_CANTOPEN[14]: "),
               (PAGE_ERROR, PAGE_TEXT)]
ID_CLOSE_APP, IDC_RANGE_LABEL, MOD_CONTROL, VK_D, MEGABYTE = 104, 1001, 2, 0x44, 1024 * 1024
KEYS = ["SelDlgX", "SelDlgY", "HotKeyVK", "HotKey", "HotKeyPrevVK", "HotKeyPrev", "HotKeyNextVK", "HotKeyNext",
        "ShowToolTip", "HideWindowAfter", "CountItemsInRange", "CountMenuItemsInRange", "MonitorClipBoard",
        "SaveItemsInDataBase", "LimitRecordsInDB", "CaptureImage", "HideOnFocusLost", "MoveSelection",
        "RestoreClipboard", "Sleep", "IconInTray", "VacuumCount", "OptionsIndex", "ExceptApp"]
# value in every key -> window place, page size (of 60 rows), Ctrl+D held by the program, hot keys refused
# (the three combinations are one and the same: the main one is taken, the other two are refused)
GARBAGE = [("", (210, 70), 50, True, False),  # as if missing
           ("99999999999", (210, 70), "all", False, True)]  # held at the int limit: off the screen, a page of all
HOT_KEY_ERROR = "YarrowKit error"
REFUSED = [(HOT_KEY_ERROR, f"Error registering hotkey combination for selecting a {item} Item")
           for item in ("Previous", "Next")]


def digest(path):
    return hashlib.sha256(path.read_bytes()).hexdigest() if path.is_file() else None


@contextlib.contextmanager
def read_only(path):
    """No process may write the file: root, as the tests run, ignores permission bits, so it is made immutable."""
    subprocess.run(["chattr", "+i", str(path)], check=True, timeout=10)
    try:
        yield
    finally:
        subprocess.run(["chattr", "-i", str(path)], check=True, timeout=10)


def holds_ctrl_d(client):
    """Whether the program holds Ctrl+D: then another program cannot register it."""
    taken = client.call("hotkey_hold", 1, MOD_CONTROL, VK_D) == "0"
    if not taken:
        client.call("hotkey_release", 1)
    return taken


def records(history, client, text):
    client.copy_text(text)
    return wait_for(lambda: text.encode() + b"\0" in history.texts(), 15, what=f"the row {text!r}")


def start_on(app, path, boxes=(), more=""):
    app.write_config(f"[main]\nDBPath={app.session.windows_path(path)}\n{more}")
    app.start(boxes=boxes)
    assert all(app.client.message_box(c) is None for c in (OPEN_ERROR, PAGE_ERROR, APP_CAPTION))


def test_hand_edited_config(app, session, client):
    """- garbage in every key gives a defined value: window place, page size, hot key, tray icon, capture
    - an empty DBPath is not a throw-away database; 1 MB lines are read past, a name at their end still counts"""
    history = History(session)
    storedform.write_history(history.path, [storedform.text_record(i, f"clip {i}") for i in range(60)])
    for value, where, page, ctrl_d, refused in GARBAGE:
        lines = [f"{key}={value}" for key in KEYS] + (["DBPath="] if value == "" else [])
        app.write_config("[Main]\n" + "\n".join(lines) + "\n")
        app.start(boxes=REFUSED if refused else [])
        # Added after the refusals, whose boxes' loops would take a click sent too early; IconInTray is on for all.
        wait_for(lambda: client.on("tray_has", app.window, 1) == "1", what="the tray icon")
        assert client.message_box(HOT_KEY_ERROR) is None, value
        page = len(history.rows()) if page == "all" else page
        assert (app.show(wait=True), len(app.list_items()), holds_ctrl_d(client)) == (where, page, ctrl_d), value
        assert records(history, client, f"copied with {value!r}"), "monitoring stays on, the delay bounded"
        assert app.close_quietly() == 0

    app.write_config("[Main]\n" + "z" * MEGABYTE + "\nDBPath=C:\\" + "p" * MEGABYTE + "\nExceptApp=," +
                     "q" * MEGABYTE + ",ykclient.exe,\nSelDlgX=400\n")
    app.start()
    assert app.show(wait=True) == (400, 70)
    client.copy_text("from the excluded client")
    xclip(session, b"from X11")
    wait_for(lambda: history.texts()[-1:] == [b"from X11\0"], 15, what="the X11 copy in the default file")
    assert b"from the excluded client\0" not in history.texts(), "the name at the end of 1 MB still counts"
    assert app.close_quietly() == 0


def test_bad_history_files(app, session, client):
    """- each file that cannot serve gives its message and keeps every byte; a read-only one is still listed
    - the user switches to a working file; the exit step leaves a foreign Log table alone and says why
    - malformed rows are listed, previewed and stepped through safely; refused types say so
    - a locked file neither freezes the window nor loses the copy made meanwhile"""
    folder = session.config_folder
    folder.mkdir(parents=True, exist_ok=True)
    (folder / "notes.sql").write_bytes(b"notes that are not a database\r\n" * 64)
    subprocess.run(["sqlite3", str(folder / "foreign.sql"), "CREATE TABLE Log(Id int, Note text);"
                    "INSERT INTO Log VALUES (1, 'first');"], check=True, timeout=30)
    storedform.write_history(folder / "read-only.sql", [storedform.text_record(i, f"kept {i}") for i in range(3)])
    cases = [(folder / "no such folder" / "history.sql", CANNOT_OPEN, ""),  # file, start-up boxes, capture error
             (folder / "notes.sql", [(PAGE_ERROR, PAGE_TEXT + "UNKNOWN_ERROR[26]: file is not a database")], ""),
             (folder / "read-only.sql", [], "SQLITE_READONLY[8]: ")]
    for index, (path, boxes, capture_error) in enumerate(cases):
        before = digest(path)
        with read_only(path) if path.name == "read-only.sql" else contextlib.nullcontext():
            start_on(app, path, boxes)
            client.copy_text(f"copy {index}")
            assert client.wait_message_box(APP_CAPTION, 15).startswith(capture_error), path.name
            client.answer(APP_CAPTION)
            assert digest(path) == before, f"{path.name}: the file changed"
            if path.name == "read-only.sql":
                assert len(app.list_items()) == 3, "a file that cannot be written can still be read"
            assert app.close_quietly() == 0, path.name
    assert not (folder / "no such folder").exists(), "no folder is made for the file"

    start_on(app, folder / "gone" / "history.sql", CANNOT_OPEN)
    working, options = folder / "working.sql", OptionsWindow(app)
    options.press(DATABASE, IDC_SWITCH_DATABASE)
    options.choose_file(session.windows_path(working))
    wait_for(lambda: app.config().get("DBPath") == session.windows_path(working), what="DBPath written")
    assert client.item_text(app.window, IDC_RANGE_LABEL).endswith(" of 0")
    options.close(IDCANCEL)
    client.copy_text("after the switch")
    wait_for(lambda: [r["Text"] for r in storedform.read_rows(working)] == [b"after the switch\0"], what="the row")
    assert app.close_quietly() == 0

    before = digest(folder / "foreign.sql")
    foreign_page = [(PAGE_ERROR, PAGE_TEXT + "SQLITE_ERROR[1]: no such column: Name")]
    start_on(app, folder / "foreign.sql", foreign_page, "SaveItemsInDataBase=0\n")
    client.command(app.window, ID_CLOSE_APP)
    client.wait_message_box(APP_CAPTION)
    client.press(APP_CAPTION, "Yes")
    # Not a history table: the exit step that would drop it reports instead.
    wait_for(lambda: client.message_box(APP_CAPTION) == "SQLITE_ERROR[1]: ", what="the exit step's report")
    client.answer(APP_CAPTION)
    assert app.wait_exit() == 0 and digest(folder / "foreign.sql") == before

    malformed_rows_are_safe(app, session, client)
    a_lock_neither_freezes_nor_loses(app, session, client)


def malformed_rows():
    bad = b"\x05abc\x01\x09def"  # an escape that stands for nothing
    return [b"INSERT INTO Log VALUES (0,1700000000,'%s','%s','%s','%s','%s',13,'%s');" % ((bad,) * 6),
            b"INSERT INTO Log VALUES (1,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL);",
            b"INSERT INTO Log VALUES (NULL,NULL,'x',NULL,NULL,NULL,NULL,0,NULL);",
            storedform.insert_statement(2, 1700000000, "huge type", text=b"huge type\0", item_type=99999999999),
            storedform.insert_statement(3, 1700000000, "negative type", text=b"negative\0", item_type=-99999999999),
            b"INSERT INTO Log VALUES (4,'soon','%s','','','(null)','%s','abc','(null)');" % (
                storedform.stored_text("text type"), storedform.encode(b"text type\0")),
            storedform.image_record(5, b"\x28"),  # an image of one byte
            storedform.insert_statement(6, -1, "odd unicode", text=b"odd\0", item_type=storedform.UNICODE_TEXT,
                                        data=b"o\0d"),
            storedform.insert_statement(7, 99999999999, "rich, empty", item_type=storedform.RICH_TEXT, data=b""),
            storedform.text_record(8, "a good row")]


def refusals_stepping(app, session, client):
    """To the oldest row and back, with steps to spare: each step copies its row or says in a box why not,
    after emptying the clipboard; the boxes answered. A step past either end changes nothing."""
    desktop_keys(session)  # the X focus once, as a person's keyboard stays on one window
    refused = 0
    for key in ["ctrl+shift+Up"] * 12 + ["ctrl+shift+Down"] * 12:
        before = client.call("clip_sequence")  # not opened here: the program's write would fail and say so
        xdotool(session, "key", key)
        # A person's pause until the step is done: its item on the clipboard, or its box waiting for an answer.
        if within(lambda: client.window(APP_CAPTION) or client.call("clip_sequence") != before, 2):
            client.on("idle", app.window)
        box = client.window(APP_CAPTION)
        if box and client.visible(box):
            client.press(APP_CAPTION, "OK")
            wait_for(lambda: not client.exists(box), what="the box gone")
            refused += 1
    return refused


def malformed_rows_are_safe(app, session, client):
    path = session.config_folder / "vorla.sql"
    storedform.write_history(path, malformed_rows())
    as_stored = "SELECT quote(Id),quote(DTime),hex(Name),hex(SourceName),hex(Locale),hex(Text),hex(Data),quote(Type) " \
                "FROM Log WHERE Id IS NULL OR Id<9 ORDER BY Id;"
    original = storedform.sqlite(path, as_stored)
    app.write_config("")
    window = shown(app.start())
    assert sorted(window.ids()) == list(range(9)), "every row with an id is listed"
    for record_id in range(9):
        window.show_preview(record_id)
    assert refusals_stepping(app, session, client) == 4, "each refused type says so at each visit"
    assert app.running()
    client.copy_text("new after the bad rows")
    wait_for(lambda: storedform.sqlite(path, "SELECT Id FROM Log WHERE Id=9;"), what="the new row, id 9")
    assert storedform.sqlite(path, "SELECT hex(Text) FROM Log WHERE Id=9;") == [
        storedform.encode(b"new after the bad rows\0").hex().upper().encode()], "the steps added no row"
    assert storedform.sqlite(path, as_stored) == original
    assert app.close_quietly() == 0


def a_lock_neither_freezes_nor_loses(app, session, client):
    path = session.config_folder / "locked.sql"
    storedform.write_history(path, [storedform.text_record(0, "before")])
    start_on(app, path)
    lock = ExclusiveLock(path)
    try:
        client.call("clip_burst", 5, 150, "locked")
        for _ in range(100):  # about 12 s of probes; a frozen window would not answer within 5 s
            assert client.answer_time(app.window, 5000) is not None, "the window answers while the file is locked"
            time.sleep(0.05)  # the pace of the probes
        assert client.message_box(APP_CAPTION) is None, "a lock shorter than a minute is not worth a message"
    finally:
        lock.release()
    # Each copy is read while the window waits on the file; a copy a busy machine lets the next one
    # replace before the delay is over is not the user's to keep, but the rest wait in order.
    texts = lambda: [r["Text"] for r in storedform.read_rows(path)]
    wait_for(lambda: texts()[-1:] == [b"locked 4\0"], 15, what="the copies made while locked")
    numbers = [int(t[len(b"locked "):-1]) for t in texts()[1:]]
    assert texts()[0] == b"before\0" and numbers == sorted(set(numbers)), numbers
