"""The Find box over a history of 20,000 items: typing in the list searches, the list and its label
show the matches, Up and Enter in the box pick and paste one, Esc clears the search and then hides
the window, and the next showing starts from the whole history again."""
import subprocess
import time

import storedform
from harness import ROOT, WM_TRAY_CALLBACK, wait_for
from selection import SelectionWindow, press_real_keys

IDC_FIND_BOX = 1030
WM_MOUSEMOVE = 0x200
ITEMS = 20000
ZANZIBAR_IDS = [100 + 997 * k for k in range(20)]
YOLKA_IDS = [5000, 12000, 19990]
NEWEST_LABEL = f"Items {ITEMS - 49}-{ITEMS} of {ITEMS}"
SHOTS = ROOT / "build" / "e2e-shots"


def filler(i):
    return " ".join(f"word{(i * 7 + k) % 1000}" for k in range(40))


def zanzibar_text(i):
    return f"note {i}: {filler(i)} zanzibar {filler(i + 1)}"


def record(i):
    if i in YOLKA_IDS:
        text = f"С Новым годом {i}! Ёлка"
        return storedform.insert_statement(i, 1700000000 + i, "?" * 8, "notepad.exe", "Notepad", None,
                                           b"?" * 8 + b"\0", storedform.UNICODE_TEXT,
                                           text.encode("utf-16-le") + b"\0\0")
    text = zanzibar_text(i) if i in ZANZIBAR_IDS else f"item {i} {filler(i)}"
    return storedform.text_record(i, text, dtime=1700000000 + i)


def seeded(session):
    path = session.config_folder / "vorla.sql"
    storedform.write_history(path, [record(i) for i in range(ITEMS)])
    return path


def side_rows(path):
    return int(storedform.sqlite(path, "SELECT COUNT(*) FROM LogText_content;")[0])


def box_text(app):
    return app.client.item_text(app.window, IDC_FIND_BOX)


def set_box(app, text):
    box = app.client.item(app.window, IDC_FIND_BOX)
    app.client.call("set_text_w", f"{box:x}", text.encode("utf-16-le").hex())


def shown_with_editor(app, client):
    """The window in front with the test editor noted as paste target, the newest item selected."""
    app.start()
    edit = int(client.call("editor"), 16)
    client.send(app.window, WM_TRAY_CALLBACK, 0, WM_MOUSEMOVE)
    app.show()
    window = SelectionWindow(app)
    wait_for(lambda: client.foreground() == app.window, what="the window in front")
    wait_for(lambda: window.selected_id() == ITEMS - 1, what="the newest item selected")
    return window, edit


def screenshot(app, name):
    """For a person to look at (build/e2e-shots), cut to the selection window."""
    app.client.call("idle", f"{app.window:x}")
    time.sleep(0.5)  # painted
    SHOTS.mkdir(parents=True, exist_ok=True)
    left, top, right, bottom = map(int, app.client.call("rect", f"{app.window:x}").split())
    whole = SHOTS / "root.png"
    app.session.screenshot(whole)
    subprocess.run(["convert", str(whole), "-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage",
                    str(SHOTS / name)], check=True, timeout=30)


def test_typing_finds_pastes_and_esc_clears_then_hides(app, session, client):
    path = seeded(session)
    window, edit = shown_with_editor(app, client)
    # An older build's file: the program makes the side rows at open and the rest soon after.
    wait_for(lambda: side_rows(path) == ITEMS, timeout=120, what="every side row made")
    tree = client.item(app.window, 1006)
    box = client.item(app.window, IDC_FIND_BOX)
    assert client.focus_of(app.window) == tree
    screenshot(app, "find-empty.png")

    # Typed in the list, the letters go to the box; the matches stand newest at the bottom.
    press_real_keys(app, "type --delay 30 zanzibar")
    wait_for(lambda: window.label() == "Items 1-20 of 20", what="the 20 matches counted")
    wait_for(lambda: window.ids() == ZANZIBAR_IDS and window.selected_id() == ZANZIBAR_IDS[-1],
             what="the matches listed, the newest selected")
    assert box_text(app) == "zanzibar"
    assert client.focus_of(app.window) == box
    assert window.buttons() == (False, False, False, False)
    screenshot(app, "find.png")

    # Up in the box moves the list's selection; Enter pastes that match.
    press_real_keys(app, "key Up")
    wait_for(lambda: window.selected_id() == ZANZIBAR_IDS[-2], what="the selection moved up")
    press_real_keys(app, "key Return")
    wait_for(lambda: client.text(edit) == zanzibar_text(ZANZIBAR_IDS[-2]), what="the match pasted")
    wait_for(lambda: not client.visible(app.window), what="the window hidden after pasting")

    # Shown again, the window starts from the whole history.
    client.send(app.window, WM_TRAY_CALLBACK, 0, WM_MOUSEMOVE)
    app.show()
    wait_for(lambda: window.label() == NEWEST_LABEL and box_text(app) == "", what="the search reset")
    wait_for(lambda: client.foreground() == app.window, what="the window in front")

    # Ctrl+F goes to the box; any script is found, case folded.
    press_real_keys(app, "key ctrl+f")
    wait_for(lambda: client.focus_of(app.window) == box, what="the box focused")
    set_box(app, "ёлка")
    wait_for(lambda: window.ids() == YOLKA_IDS and window.label() == "Items 1-3 of 3", what="the Ёлка items")

    # Esc clears the box first and lists the newest page again; then it hides the window.
    press_real_keys(app, "key Escape")
    wait_for(lambda: box_text(app) == "" and window.label() == NEWEST_LABEL, what="the search cleared")
    assert window.ids() == list(range(ITEMS - 50, ITEMS))
    assert client.visible(app.window)
    press_real_keys(app, "key Escape")
    wait_for(lambda: not client.visible(app.window), what="the window hidden")
