"""Start-up, single instance, the ways to close, and what each close writes to config.cfg."""
import time

import pytest

import storedform
from harness import (TITLE, WM_COMMAND, WM_LBUTTONDOWN, WM_TRAY_CALLBACK, History, hexed, press_ctrl_d,
                     wait_for)
from options import tray_has_icon

ID_CLOSE_APP = 104
ID_HIDE_WINDOW = 32771
IDCANCEL = 2
IDC_ITEM_TREE = 1006
WM_SYSCOMMAND = 0x112
SC_CLOSE = 0xF060
WM_QUERYENDSESSION, WM_ENDSESSION = 0x11, 0x16
SHUTDOWN_KEYS = {"HideWindowAfter", "SelDlgX", "SelDlgY"}


def stays_hidden(client, window, seconds=1.5):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if client.visible(window):
            return False
        time.sleep(0.1)
    return True


def test_fresh_start_stays_hidden_and_writes_nothing(app, client):
    app.start()
    assert stays_hidden(client, app.window)
    assert app.session.config_folder.is_dir(), "the configuration folder is made on first start"
    assert app.config() == {}, "no default is ever written"


def test_second_start_wakes_the_first_and_touches_nothing(app, client, session):
    app.start()
    before = sorted((p.name, p.stat().st_mtime_ns) for p in session.config_folder.iterdir())
    second = session.wine(app.process.args[1])
    assert second.wait(timeout=30) == 0
    wait_for(lambda: client.visible(app.window), what="the first copy's window")
    assert client.foreground() == app.window
    assert client.focus_of(app.window) == client.item(app.window, IDC_ITEM_TREE)
    assert app.running()
    after = sorted((p.name, p.stat().st_mtime_ns) for p in session.config_folder.iterdir())
    assert after == before


def test_a_foreign_window_with_the_title_is_woken_instead(app, client):
    foreign = client.call("make_window", hexed(TITLE))
    app.start(wait=False)
    assert app.wait_exit(30) == 0
    assert client.call("received") == f"{WM_TRAY_CALLBACK},0,{WM_LBUTTONDOWN}"
    assert int(foreign, 16)


def test_exit_asks_and_no_keeps_running(app, client):
    app.start()
    client.command(app.window, ID_CLOSE_APP)
    assert client.wait_message_box("yarrowkit") == "Do you want to close Yarrowkit?"
    client.answer("yarrowkit", "No")
    assert client.call("idle", f"{app.window:x}") == "1", "the window answers after the No"
    assert app.running()
    assert app.config() == {}


def test_exit_with_yes_writes_check_box_and_position(app, client):
    app.write_config("[Main]\nHideWindowAfter=0\nSelDlgX=300\nSelDlgY=150\n")
    app.start()
    app.show()
    wait_for(lambda: client.visible(app.window))
    # The window is found by its title before its initialisation has placed it.
    wait_for(lambda: tuple(map(int, client.call("rect", f"{app.window:x}").split()))[:2] == (300, 150),
             what="the stored position applied")
    client.command(app.window, ID_CLOSE_APP)
    client.wait_message_box("yarrowkit")
    client.press("yarrowkit", "Yes")
    assert app.wait_exit() == 0
    assert app.config() == {"HideWindowAfter": "0", "SelDlgX": "300", "SelDlgY": "150"}


def test_quiet_close_asks_nothing(app, client):
    app.start()
    assert app.close_quietly() == 0
    assert set(app.config()) == SHUTDOWN_KEYS
    assert app.config()["HideWindowAfter"] == "1"


@pytest.mark.parametrize("how", ["cancel button", "hide command", "close box", "escape key"])
def test_cancel_esc_and_close_box_only_hide(app, client, how):
    app.start()
    app.show()
    wait_for(lambda: client.visible(app.window))
    if how == "cancel button":
        client.post(app.window, WM_COMMAND, IDCANCEL)
    elif how == "hide command":
        client.command(app.window, ID_HIDE_WINDOW)
    elif how == "close box":
        client.post(app.window, WM_SYSCOMMAND, SC_CLOSE)
    else:
        client.keys("27", "27:up")
    wait_for(lambda: not client.visible(app.window), what="the window to hide")
    assert app.running()
    assert app.config() == {}


def test_end_of_session_query_saves_before_answering(app, client):
    app.start()
    assert client.send(app.window, WM_QUERYENDSESSION) != 0, "the default answer allows the end"
    assert set(app.config()) == SHUTDOWN_KEYS
    assert app.running()


def cancel_log_off(app, client):
    """The system asks to end the session, then tells that the user cancelled it."""
    client.send(app.window, WM_QUERYENDSESSION)
    client.send(app.window, WM_ENDSESSION, 0)


def test_a_cancelled_log_off_brings_back_icon_hot_key_and_capture(app, client, session):
    app.start()
    wait_for(lambda: tray_has_icon(app), what="the tray icon")
    cancel_log_off(app, client)
    assert tray_has_icon(app)
    press_ctrl_d(client)
    wait_for(lambda: client.visible(app.window), what="the window shown by the hot key")
    client.copy_text("after the cancelled log-off")
    [row] = History(session).wait_count(1)
    assert row["Text"] == b"after the cancelled log-off\0"


def test_a_cancelled_log_off_counts_the_exit_step_once(app, client, session):
    history = History(session)
    storedform.write_history(history.path, [storedform.text_record(i, f"record {i}") for i in range(3005)])
    app.start()
    cancel_log_off(app, client)  # its exit step has trimmed the history to 3000 rows
    client.command(app.window, ID_CLOSE_APP)
    client.wait_message_box("yarrowkit")
    client.press("yarrowkit", "Yes")
    assert app.wait_exit() == 0
    assert len(history.rows()) == 3000
    assert app.config()["VacuumCount"] == "1"


def test_lower_case_section_header_reads_the_same(app, client):
    app.write_config("[main]\nSelDlgX=333\nSelDlgY=111\n")
    app.start()
    app.show()
    wait_for(lambda: client.visible(app.window))
    left, top, _, _ = map(int, client.call("rect", f"{app.window:x}").split())
    assert (left, top) == (333, 111)


def test_run_counter_counts_each_start(app, client, session):
    for expected in ("0x1", "0x2"):
        app.start()
        app.close_quietly()
        assert session.reg_query(r"HKCU\Software\Tamberlyn\YarrowKit", "runs") == expected


def test_unusable_config_folder_is_reported_and_left_alone(app, client, session):
    session.appdata.mkdir(parents=True, exist_ok=True)
    session.config_folder.write_text("a file where the folder should be")
    app.start(wait=False)
    text = client.wait_message_box("YarrowKit Error #1")
    assert "Is this path correct?" in text
    client.press("YarrowKit Error #1", "OK")
    # The program runs on without a database: the first page cannot be read either.
    assert client.wait_message_box("YarrowKit Error #2").startswith("Can't read from database to tree")
    client.press("YarrowKit Error #2", "OK")
    app.window = wait_for(lambda: client.window(TITLE), what="the main window")
    app.show()
    wait_for(lambda: client.visible(app.window))
    assert app.close_quietly() == 0
    assert session.config_folder.is_file()
