"""A hand-edited config.cfg full of garbage, without its section, or with a 1 MB line: the program starts
and every key has a defined value, seen in where the window stands, the page size, the hot key, the
tray icon and whether copies are recorded."""
import subprocess
import time

import pytest

import storedform
from harness import TITLE, History, wait_for
from selection import SelectionWindow
from options import tray_has_icon

KEYS = ["SelDlgX", "SelDlgY", "HotKeyVK", "HotKey", "HotKeyPrevVK", "HotKeyPrev", "HotKeyNextVK", "HotKeyNext",
        "ShowToolTip", "HideWindowAfter", "CountItemsInRange", "CountMenuItemsInRange", "MonitorClipBoard",
        "SaveItemsInDataBase", "LimitRecordsInDB", "CaptureImage", "HideOnFocusLost", "MoveSelection",
        "RestoreClipboard", "Sleep", "IconInTray", "VacuumCount", "OptionsIndex", "ExceptApp"]
ROWS = 60
DEFAULT_PLACE, DEFAULT_PAGE = (210, 70), 50
HOT_KEY_ERROR = "YarrowKit error"
MOD_CONTROL, VK_D = 2, 0x44
MEGABYTE = 1024 * 1024


def start_answering_hot_key_errors(app):
    """Starts the program; a combination that cannot be registered is said in a box, answered here."""
    app.start(wait=False)
    app.window, refused, quiet_since = None, 0, time.monotonic()
    deadline = quiet_since + 30
    while not app.window or time.monotonic() - quiet_since < 2:
        assert time.monotonic() < deadline, "the program did not start"
        if app.client.message_box(HOT_KEY_ERROR) is not None:
            app.client.press(HOT_KEY_ERROR, "OK")
            refused, quiet_since = refused + 1, time.monotonic()
        if not app.window:
            app.window, quiet_since = app.client.window(TITLE), time.monotonic()
        time.sleep(0.2)
    app.client.call("idle", f"{app.window:x}")
    return refused


def place(app):
    app.show()
    wait_for(lambda: app.client.visible(app.window), what="the window")
    return tuple(map(int, app.client.call("rect", f"{app.window:x}").split()))[:2]


def holds_ctrl_d(client):
    if client.call("hotkey_hold", 1, MOD_CONTROL, VK_D) == "0":
        return True
    client.call("hotkey_release", 1)
    return False


def records(history, client, text):
    client.copy_text(text)
    try:
        wait_for(lambda: any(r["Text"] == text.encode() + b"\0" for r in history.rows()), 6, what="the row")
        return True
    except TimeoutError:
        return False


# value for every key -> window place, page size, Ctrl+D held by the program
GARBAGE = [
    ("abc", DEFAULT_PLACE, DEFAULT_PAGE, True),  # no number: as if missing
    ("", DEFAULT_PLACE, DEFAULT_PAGE, True),
    ("-5", (-5, -5), DEFAULT_PAGE, False),  # still on the screen; no page of -5 items
    ("99999999999", DEFAULT_PLACE, ROWS, False),  # held at the int limit: off the screen, a page of all
]


@pytest.mark.parametrize("value, where, page, ctrl_d", GARBAGE, ids=[g[0] or "empty" for g in GARBAGE])
def test_garbage_in_every_key_gives_defined_values(app, session, client, value, where, page, ctrl_d):
    history = History(session)
    storedform.write_history(history.path, [storedform.text_record(i, f"clip {i}") for i in range(ROWS)])
    # Any other DBPath text names a file of that name; an empty one must not be a throw-away database.
    lines = [f"{key}={value}" for key in KEYS] + (["DBPath="] if value == "" else [])
    app.write_config("[Main]\n" + "\n".join(lines) + "\n")
    refused = start_answering_hot_key_errors(app)
    assert place(app) == where
    assert len(SelectionWindow(app).ids()) == page
    assert holds_ctrl_d(client) == ctrl_d
    assert tray_has_icon(app), "IconInTray is on for every one of these values"
    assert records(history, client, f"copied with {value!r}"), "monitoring stays on, the delay bounded"
    assert app.close_quietly() == 0
    print(f"\nbad config {value!r}: {len(lines)} keys, window at {where}, {page} per page, "
          f"{refused} hot keys refused with a message, copies recorded")


def test_missing_section_and_megabyte_lines_read_as_defaults(app, session, client):
    history = History(session)
    app.write_config("[Other]\nSelDlgX=400\nHotKey=0\n" + "z" * MEGABYTE + "\n")
    app.start()
    assert place(app) == DEFAULT_PLACE and holds_ctrl_d(client)
    assert records(history, client, "without [Main]")
    app.close_quietly()

    # A 1 MB line of its own, a 1 MB path and a 1 MB exclusion list: the keys after them still count.
    app.write_config("[Main]\n" + "z" * MEGABYTE + "\nDBPath=C:\\" + "p" * MEGABYTE + "\nExceptApp=," +
                     "q" * MEGABYTE + ",ykclient.exe,\nSelDlgX=400\n")
    app.start()
    assert place(app) == (400, DEFAULT_PLACE[1])
    assert not records(history, client, "from the excluded client"), "the name at the end of 1 MB still counts"
    subprocess.run(["xclip", "-selection", "clipboard"], input=b"from X11", env=session.env, check=True, timeout=10)
    wait_for(lambda: history.texts()[-1:] == [b"from X11\0"], 10, what="the X11 copy in the default file")
    assert app.close_quietly() == 0
    print("\nbad config: no [Main] section and three 1 MB lines, defaults in force, 0 crashes")
