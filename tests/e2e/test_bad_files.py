"""History files that cannot serve: each start gives its message or a safe result, never a crash, the
file keeps every byte, and the user can switch to a working file from the options window."""
import contextlib
import hashlib
import os
import subprocess
import time

import storedform
from harness import TITLE, wait_for
from selection import SelectionWindow
from options import DATABASE, IDC_RANGE_LABEL, IDC_SWITCH_DATABASE, OptionsWindow, windows_path

OPEN_ERROR, PAGE_ERROR, APP_CAPTION = "YarrowKit Error #1", "YarrowKit Error #2", "yarrowkit"
IDC_COPY = 1008
ID_CLOSE_APP = 104
VK_CONTROL, VK_SHIFT, VK_UP, VK_DOWN = 0x11, 0x10, 0x26, 0x28


def digest(path):
    return hashlib.sha256(path.read_bytes()).hexdigest() if path.is_file() else None


@contextlib.contextmanager
def read_only(path):
    """No process may write the file: root ignores permission bits, so it is made immutable too."""
    os.chmod(path, 0o444)
    immutable = os.geteuid() == 0
    if immutable:
        subprocess.run(["chattr", "+i", str(path)], check=True, timeout=10)
    try:
        yield path
    finally:
        if immutable:
            subprocess.run(["chattr", "-i", str(path)], check=True, timeout=10)
        os.chmod(path, 0o644)


def answer(client, caption, starts_with, timeout=15):
    text = client.wait_message_box(caption, timeout)
    assert text.startswith(starts_with), text
    client.answer(caption)
    return text


def start_with(app, db_path, boxes=()):
    """Starts on the file, answering the expected start-up boxes (caption, text start) in order."""
    app.write_config(f"[main]\nDBPath={windows_path(app.session, db_path)}\n")
    app.start(wait=False)
    texts = [answer(app.client, caption, start) for caption, start in boxes]
    app.window = wait_for(lambda: app.client.window(TITLE), 30, what="the main window")
    app.client.call("idle", f"{app.window:x}")
    return texts


def no_message_box(client):
    return all(client.message_box(caption) is None for caption in (OPEN_ERROR, PAGE_ERROR, APP_CAPTION))


def dismissed(client):
    """1 when a box of the program was up and was answered."""
    if client.message_box(APP_CAPTION) is None:
        return 0
    client.answer(APP_CAPTION)
    return 1


def tree_count(app):
    return len(SelectionWindow(app).items())


def history_rows(path, count):
    storedform.write_history(path, [storedform.text_record(i, f"kept {i}") for i in range(count)])
    return path


def not_a_database(path):
    path.write_bytes(b"notes that are not a database\r\n" * 64)
    return path


def foreign_log_table(path):
    path.parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["sqlite3", str(path), "CREATE TABLE Log(Id int, Note text);"
                    "INSERT INTO Log VALUES (1, 'first'); INSERT INTO Log VALUES (2, 'second');"],
                   check=True, timeout=30)
    return path


CANNOT_OPEN = [(OPEN_ERROR, "Can't open database or create main table\n Error #1 - SQLITE_CANTOPEN[14]: "),
               (PAGE_ERROR, "Can't read from database to tree\n Error #2 - ")]


def test_each_bad_file_gives_its_message_keeps_its_bytes_and_never_crashes(app, session, client):
    folder = session.config_folder
    folder.mkdir(parents=True, exist_ok=True)
    (folder / "a folder.sql").mkdir()
    cases = [
        # name, file, start-up boxes, stored by a copy
        ("missing folder", folder / "no such folder" / "history.sql", CANNOT_OPEN, False),
        ("a folder", folder / "a folder.sql", CANNOT_OPEN, False),
        ("not a database", not_a_database(folder / "notes.sql"),
         [(PAGE_ERROR, "Can't read from database to tree\n Error #2 - UNKNOWN_ERROR[26]: file is not a database")],
         False),
        ("foreign Log table", foreign_log_table(folder / "foreign.sql"),
         [(PAGE_ERROR, "Can't read from database to tree\n Error #2 - SQLITE_ERROR[1]: no such column: Name")],
         False),
        ("read-only", history_rows(folder / "read-only.sql", 3), [], False),
        ("zero bytes", folder / "empty.sql", [], True),
    ]
    (folder / "empty.sql").write_bytes(b"")
    crashes = 0
    for index, (name, path, boxes, stored) in enumerate(cases):
        before = digest(path)
        with read_only(path) if name == "read-only" else contextlib.nullcontext():
            start_with(app, path, boxes)
            assert no_message_box(client), name
            client.copy_text(f"copy {index}")
            if stored:
                wait_for(lambda: path.stat().st_size > 0 and storedform.read_rows(path), what=f"the row ({name})")
                assert [r["Text"] for r in storedform.read_rows(path)] == [f"copy {index}".encode() + b"\0"]
            else:
                # The one capture of this file fails: said in the program's own box, nothing written.
                answer(client, APP_CAPTION, "SQLITE_READONLY[8]: " if name == "read-only" else "")
                assert digest(path) == before, f"{name}: the file changed"
            if name == "read-only":
                assert tree_count(app) == 3, "a file that cannot be written can still be read"
            crashes += not app.running()
            assert app.close_quietly() == 0, name
        assert not (folder / "no such folder").exists(), "no folder is made for the file"
    print(f"\nbad files: {len(cases)} cases, {crashes} crashes")


def test_switch_from_an_unusable_file_to_a_working_one(app, session, client):
    started = start_with(app, session.config_folder / "gone" / "history.sql", CANNOT_OPEN)
    assert "Is this path correct?\nC:\\" in started[0] and started[0].endswith("\\gone\\history.sql")
    options = OptionsWindow(app)
    working = session.config_folder / "working.sql"
    options.press(DATABASE, IDC_SWITCH_DATABASE)
    options.choose_file(windows_path(session, working))
    wait_for(lambda: app.config().get("DBPath") == windows_path(session, working), what="DBPath written")
    assert client.item_text(app.window, IDC_RANGE_LABEL).endswith(" of 0")
    options.close(2)
    client.copy_text("after the switch")
    wait_for(lambda: storedform.read_rows(working), what="the row in the working file")
    assert [r["Text"] for r in storedform.read_rows(working)] == [b"after the switch\0"]
    assert no_message_box(client)
    assert app.close_quietly() == 0


def test_exit_leaves_a_foreign_log_table_alone(app, session, client):
    path = foreign_log_table(session.config_folder / "foreign.sql")
    before = digest(path)
    app.write_config(f"[main]\nDBPath={windows_path(session, path)}\nSaveItemsInDataBase=0\n")
    app.start(wait=False)
    answer(client, PAGE_ERROR, "Can't read from database to tree\n Error #2 - ")
    app.window = wait_for(lambda: client.window(TITLE), what="the main window")
    client.command(app.window, ID_CLOSE_APP)
    client.wait_message_box(APP_CAPTION)
    client.press(APP_CAPTION, "Yes")
    wait_for(lambda: client.message_box(APP_CAPTION) != "Do you want to close Yarrowkit?", what="the answer")
    # Not a history table: the exit step that would drop it reports instead.
    assert answer(client, APP_CAPTION, "SQLITE_ERROR[1]: ") == "SQLITE_ERROR[1]: "
    assert app.wait_exit() == 0
    assert digest(path) == before


ROWS_AS_STORED = ("SELECT quote(Id),quote(DTime),hex(Name),hex(SourceName),hex(Locale),hex(Text),hex(Data),"
                  "quote(Type) FROM Log")


def malformed_rows():
    bad = b"\x05abc\x01\x09def"  # an escape that stands for nothing
    return [
        b"INSERT INTO Log VALUES (0,1700000000,'" + bad + b"','" + bad + b"','" + bad + b"','" + bad + b"','" + bad
        + b"',13,'" + bad + b"');",
        b"INSERT INTO Log VALUES (1,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL);",
        b"INSERT INTO Log VALUES (NULL,NULL,'x',NULL,NULL,NULL,NULL,0,NULL);",
        storedform.insert_statement(2, 1700000000, "huge type", text=b"huge type\0", item_type=99999999999),
        storedform.insert_statement(3, 1700000000, "negative type", text=b"negative\0", item_type=-99999999999),
        b"INSERT INTO Log VALUES (4,'soon','" + storedform.stored_text("text type") + b"','','','(null)','"
        + storedform.encode(b"text type\0") + b"','abc','(null)');",
        storedform.image_record(5, b"\x28"),  # an image of one byte
        storedform.insert_statement(6, -1, "odd unicode", text=b"odd\0", item_type=storedform.UNICODE_TEXT,
                                    data=b"o\0d"),
        storedform.insert_statement(7, 99999999999, "rich, empty", item_type=storedform.RICH_TEXT, data=b""),
        storedform.text_record(8, "a good row"),
    ]


def test_malformed_rows_are_listed_previewed_copied_and_stepped_safely(app, session, client):
    path = session.config_folder / "vorla.sql"
    storedform.write_history(path, malformed_rows())
    original = storedform.sqlite(path, ROWS_AS_STORED + " ORDER BY Id;")
    app.start()
    app.show()
    wait_for(lambda: client.visible(app.window), what="the window")
    selection = SelectionWindow(app)
    ids = selection.ids()
    assert ids == list(range(9)), "every row with an id is listed"
    refused = 0
    for record_id in ids:
        selection.select(record_id)
        client.command(app.window, IDC_COPY)
        time.sleep(0.5)
        refused += dismissed(client)
        app.show()
        assert app.running()
    assert refused == 2, "the two types outside the known four are refused"
    # To the oldest row and back, with steps to spare: each refused type says so at each visit.
    refused = 0
    for key in [VK_UP] * 12 + [VK_DOWN] * 12:
        client.keys(str(VK_CONTROL), str(VK_SHIFT), f"{key}:ext", f"{key}:up:ext", f"{VK_SHIFT}:up",
                    f"{VK_CONTROL}:up")
        time.sleep(0.3)
        refused += dismissed(client)
    time.sleep(0.5)
    while dismissed(client):
        refused += 1
    assert refused == 4
    assert app.running() and no_message_box(client)
    client.copy_text("new after the bad rows")
    wait_for(lambda: len(storedform.sqlite(path, "SELECT Id FROM Log WHERE Id=9;")) == 1, what="the new row, id 9")
    assert storedform.sqlite(path, ROWS_AS_STORED + " WHERE Id IS NULL OR Id<9 ORDER BY Id;") == original
    assert app.close_quietly() == 0
    print(f"\nbad files: {len(ids) + 1} malformed rows listed, copied and stepped through, 0 crashes")
