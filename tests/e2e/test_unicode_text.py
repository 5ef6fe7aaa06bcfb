"""Texts in any script, copied from X11 and by another Windows program as Unicode, are shown as
written: in the list (read back with TVM_GETITEMW), in the preview tooltip (TTM_GETTEXTW) and,
looked at on the screen, in the tray menu. The history file keeps Log as it was, beside the side
table that holds the texts."""
import os
import sqlite3
import subprocess
import time

import storedform
from harness import ROOT, WM_TRAY_CALLBACK, hexed, unhexed, wait_for
from test_selection_list import shown

CF_UNICODETEXT = 13
WM_RBUTTONDOWN = 516
ID_DELETE_CLIP = 32774
TEXTS = ["Привет, мир", "Γειά σου Κόσμε", "你好世界", "Smile \U0001F600 end"]
SHOTS = ROOT / "build" / "e2e-shots"


def copy_with_xclip(session, text):
    subprocess.run(["xclip", "-selection", "clipboard"], input=text.encode("utf-8"), env=session.env, check=True,
                   timeout=10)


def copy_as_unicode(client, text):
    client.set_clipboard((CF_UNICODETEXT, text.encode("utf-16-le") + b"\0\0"))


def rows_of(path, statement):
    # Closed at once: a connection left open would keep the program from writing at exit.
    db = sqlite3.connect(path)
    try:
        return db.execute(statement).fetchall()
    finally:
        db.close()


def side_texts(session):
    return [row[0] for row in rows_of(session.config_folder / "vorla.sql", "SELECT Text FROM LogText ORDER BY rowid")]


def wide_items(window):
    items = []
    for entry in window.client.call("tree_items_w", f"{window.tree:x}").split():
        record_id, text = entry.split(",")[1], entry.split(",")[5]
        items.append((int(record_id), "" if text == "-" else unhexed(text).decode("utf-16-le")))
    return items


def wide_preview(window):
    handle, _ = window.preview_tooltip()
    value = window.client.call("tool_text_w", f"{handle:x}")
    return "" if value == "-" else unhexed(value).decode("utf-16-le")


def screenshot(session, client, window, name):
    """For a person to look at (build/e2e-shots): whether every script has its glyphs."""
    client.call("idle", f"{window:x}")
    time.sleep(1.0)  # painted
    SHOTS.mkdir(parents=True, exist_ok=True)
    session.screenshot(SHOTS / name)


def test_texts_in_any_script_show_as_written(app, session, client):
    app.start()
    copied = []
    for text in TEXTS:
        # A person's pace: each copy is read after the program's compatibility delay.
        copy_with_xclip(session, text)
        copied.append(text)
        wait_for(lambda: side_texts(session) == copied, 15, what=f"{text!r} from X11")
        time.sleep(0.25)
    for text in TEXTS:
        copy_as_unicode(client, text)
        copied.append(text)
        wait_for(lambda: side_texts(session) == copied, 15, what=f"{text!r} as CF_UNICODETEXT")
        time.sleep(0.25)

    window = shown(app)
    wait_for(lambda: [text for _, text in wide_items(window)] == copied, what="the list as written")
    ids = [record_id for record_id, _ in wide_items(window)]

    chinese = ids[2]
    window.show_preview(chinese, lambda: wide_preview(window).endswith("\n你好世界"))
    assert "Application  :   " in wide_preview(window)
    screenshot(session, client, app.window, "unicode-selection-window.png")
    window.select(ids[-1])
    wait_for(lambda: wide_preview(window).endswith("\nSmile \U0001F600 end"), what="the emoji preview")

    # The Log rows are those of any older build: Unicode block and ANSI text as before.
    rows = rows_of(session.config_folder / "vorla.sql", "SELECT Id, Type FROM Log ORDER BY Id")
    assert [row[1] for row in rows] == [CF_UNICODETEXT] * len(TEXTS) * 2

    client.call("editor")  # the tray menu opens over another program, as from the taskbar
    subprocess.run(["xdotool", "mousemove", "900", "600"], env=session.env, check=True, timeout=30)
    client.post(app.window, WM_TRAY_CALLBACK, 0, WM_RBUTTONDOWN)
    menu = wait_for(lambda: int(client.call("find_class", hexed("#32768")), 16), what="the tray menu")
    wait_for(lambda: client.visible(menu), what="the tray menu shown")
    screenshot(session, client, app.window, "unicode-tray-menu.png")


def side_ids(path):
    return [row[0] for row in rows_of(path, "SELECT rowid FROM LogText ORDER BY rowid")]


def log_ids(path):
    return [row[0] for row in rows_of(path, "SELECT Id FROM Log ORDER BY Id")]


def test_a_file_of_the_previous_build_gets_its_side_table_and_keeps_it_in_step(app, session, client):
    """Log rows only, Unicode blocks with the code page's lossy ANSI copies, as the previous build
    wrote them: listed as written after start; Delete keeps the side table in step (the exit trim is
    tested against the store)."""
    path = session.config_folder / "vorla.sql"
    records = [storedform.insert_statement(i, 1700000000 + i, "?" * 6, "notepad.exe", "Untitled", None, b"??????\0",
                                           CF_UNICODETEXT, f"{TEXTS[i % 4]} {i}".encode("utf-16-le") + b"\0\0")
               for i in range(8)]
    storedform.write_history(path, records)
    app.start()
    window = shown(app)
    wait_for(lambda: [text for _, text in wide_items(window)] == [f"{TEXTS[i % 4]} {i}" for i in range(8)],
             what="the older file listed as written")
    assert side_ids(path) == log_ids(path) == list(range(8))

    window.select(7)
    client.command(app.window, ID_DELETE_CLIP)
    wait_for(lambda: log_ids(path) == list(range(7)), what="the row deleted")
    assert side_ids(path) == list(range(7))
