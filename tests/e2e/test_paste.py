"""Pasting a history item into an editor of another process, and what the clipboard holds after."""
import subprocess
import time

import pytest

import storedform
from harness import WM_COMMAND, WM_TRAY_CALLBACK, Client, wait_for
from selection import SelectionWindow

CF_TEXT, CF_UNICODETEXT, CF_LOCALE = 1, 13, 16
IDC_PASTE = 137
ID_PASTE_TO_TARGET = 32773
WM_MOUSEMOVE = 0x200
OLDER, NEWEST = "older record", "newest record"
LOCALE = (0x0409).to_bytes(4, "little")
PRIVATE_FORMAT = "Yarrowkit Test Format"


@pytest.fixture
def history_file(session):
    path = session.config_folder / "vorla.sql"
    older = storedform.insert_statement(0, 1700000000, OLDER, "notepad.exe", "Notepad", LOCALE,
                                        OLDER.encode() + b"\0", storedform.UNICODE_TEXT,
                                        OLDER.encode("utf-16-le") + b"\0\0")
    storedform.write_history(path, [older, storedform.text_record(1, NEWEST)])
    return path


def start_for_paste(app, client, config=""):
    """The program running, the test editor in front and noted as paste target, the older item chosen."""
    app.write_config("[Main]\n" + config)
    app.start()
    edit = int(client.call("editor"), 16)
    # The program takes the focus window of the thread in front as paste target: the editor's
    # activation must have arrived first.
    wait_for(lambda: client.focus_of(client.foreground()) == edit, what="the editor in front with the focus")
    client.send(app.window, WM_TRAY_CALLBACK, 0, WM_MOUSEMOVE)
    client.set_clipboard((CF_TEXT, b"previous\0"), (PRIVATE_FORMAT, b"\x00\x01\x02'"))
    before = client.clipboard()
    app.show()
    selection = SelectionWindow(app)
    wait_for(selection.selected_id, what="the first selection")
    selection.select(0)
    return edit, before


def paste(app):
    app.client.post(app.window, WM_COMMAND, IDC_PASTE)


def test_paste_types_the_item_and_puts_the_clipboard_back(app, client, history_file):
    edit, before = start_for_paste(app, client)
    paste(app)
    wait_for(lambda: client.text(edit) == OLDER, what="the pasted text")
    wait_for(lambda: client.clipboard() == before, what="the earlier clipboard content")
    assert not client.visible(app.window)
    # None of the program's own writes came back as an item.
    time.sleep(0.3)  # a person's next copy: a pace past the program's debounce, not a wait
    client.set_clipboard((CF_TEXT, b"marker\0"))
    wait_for(lambda: len(storedform.read_rows(history_file)) == 3, what="the marker row")
    assert [r["Id"] for r in storedform.read_rows(history_file)] == [0, 1, 2]


def double_click_top_item(app):
    """A real double-click of the mouse on the top item of the list (the older record)."""
    left, top, _right, _bottom = map(int, app.client.call("rect", f"{SelectionWindow(app).tree:x}").split())
    run = lambda *args: subprocess.run(["xdotool", *map(str, args)], env=app.session.env, check=True, timeout=30)
    run("mousemove", left + 40, top + 8)
    time.sleep(0.3)  # a person rests the pointer before clicking: a pace, not a wait
    run("click", "--repeat", 2, "--delay", 80, 1)


@pytest.mark.parametrize("how", ["menu item", "double-click"])
def test_the_menu_item_and_a_double_click_paste_the_same_way(app, client, history_file, how):
    edit, before = start_for_paste(app, client)
    if how == "menu item":
        client.post(app.window, WM_COMMAND, ID_PASTE_TO_TARGET)
    else:
        double_click_top_item(app)
    wait_for(lambda: client.text(edit) == OLDER, what="the pasted text")
    wait_for(lambda: client.clipboard() == before, what="the earlier clipboard content")
    assert not client.visible(app.window)


def test_without_restore_the_item_stays_and_the_window_comes_back(app, client, history_file):
    edit, _ = start_for_paste(app, client, "RestoreClipboard=0\nHideWindowAfter=0\n")
    paste(app)
    wait_for(lambda: client.text(edit) == OLDER, what="the pasted text")
    clip = client.clipboard()
    assert [fmt for fmt, _ in clip][:3] == [CF_UNICODETEXT, CF_LOCALE, CF_TEXT]
    assert dict(clip)[CF_UNICODETEXT] == OLDER.encode("utf-16-le") + b"\0\0"
    assert dict(clip)[CF_LOCALE] == LOCALE
    wait_for(lambda: client.foreground() == app.window, what="the selection window in front")


def test_a_clipboard_held_by_another_program_leaves_everything_alone(app, session, client, history_file):
    edit, before = start_for_paste(app, client)
    holder = Client(session)
    try:
        holder.process.stdin.write("clip_hold 2500\n")
        holder.process.stdin.flush()
        client.wait_clipboard_busy()
        paste(app)
        assert holder.process.stdout.readline().startswith("ok")
    finally:
        holder.close()
    client.call("idle", f"{app.window:x}")
    assert client.text(edit) == ""
    assert client.clipboard() == before
    client.set_clipboard((CF_TEXT, b"still capturing\0"))
    wait_for(lambda: len(storedform.read_rows(history_file)) == 3, what="a capture after the failed paste")
