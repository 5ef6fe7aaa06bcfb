import shutil

import storedform
from harness import APP_CAPTION, EXE, TITLE, WM_COMMAND, WM_LBUTTONDOWN, WM_TRAY_CALLBACK, Client, History, hexed, \
    desktop_keys, wait_for
from selection import within

ID_CLOSE_APP, IDCANCEL, IDC_ITEM_TREE = 104, 2, 1006
WM_QUERYENDSESSION, WM_ENDSESSION, WM_SYSCOMMAND, SC_CLOSE = 0x11, 0x16, 0x112, 0xF060
SHUTDOWN_KEYS = {"HideWindowAfter", "SelDlgX", "SelDlgY"}
RUNS_KEY = r"HKCU\Software\Tamberlyn\YarrowKit"


def files(folder):
    return sorted((p.name, p.stat().st_mtime_ns) for p in folder.iterdir())


def runs(session):
    return int(session.reg_query(RUNS_KEY, "runs"), 16)


def exit_with(app, answer):
    app.client.command(app.window, ID_CLOSE_APP)
    assert app.client.wait_message_box(APP_CAPTION) == "Do you want to close Yarrowkit?"
    app.client.answer(APP_CAPTION, answer)


def test_start_wake_hide_and_exit(app, client, session):
    """- a fresh start stays hidden, makes the config folder and writes no setting
    - a second start wakes the first (shown, in front, the list focused), ends, touches no file
    - Cancel and the close box only hide; exit asks, No keeps it running, writes nothing
    - the end-of-session query is allowed and saves the window's keys first; a cancelled log-off brings
      back the tray icon, the hot key and capture; its exit step counts once
    - a quiet close writes the window's keys; exit with Yes writes the check box and the position
    - a foreign window with the title is woken instead of starting
    - an unusable config folder is reported, left alone, and the program runs on"""
    app.start()
    assert not within(lambda: client.visible(app.window), 1.5), "a window that never shows: watched for 1.5 s"
    assert session.config_folder.is_dir() and app.config() == {}
    before = files(session.config_folder)
    assert session.wine(EXE).wait(timeout=30) == 0
    wait_for(lambda: client.visible(app.window), what="the first copy's window")
    assert client.foreground() == app.window
    wait_for(lambda: client.focus_of(app.window) == client.item(app.window, IDC_ITEM_TREE), what="the list focused")
    assert files(session.config_folder) == before
    hide_ways = [lambda: client.post(app.window, WM_COMMAND, IDCANCEL),
                 lambda: client.post(app.window, WM_SYSCOMMAND, SC_CLOSE)]
    for hide in hide_ways:
        app.show(wait=True)
        hide()
        wait_for(lambda: not client.visible(app.window), what="the window hidden")
    exit_with(app, "No")
    assert client.on("idle", app.window) == "1" and app.running() and app.config() == {}
    assert client.send(app.window, WM_QUERYENDSESSION) != 0 and app.running()
    assert set(app.config()) == SHUTDOWN_KEYS
    client.send(app.window, WM_ENDSESSION, 0)  # the user cancelled the log-off
    assert client.on("tray_has", app.window, 1) == "1"
    desktop_keys(session, "ctrl+d")
    wait_for(lambda: client.visible(app.window), what="the window shown by the hot key")
    client.copy_text("after the cancelled log-off")
    history = History(session)
    wait_for(lambda: history.texts() == [b"after the cancelled log-off\0"], 15, what="the capture")
    assert app.close_quietly() == 0
    assert set(app.config()) == SHUTDOWN_KEYS and app.config()["HideWindowAfter"] == "1"
    first_runs = runs(session)

    rows = [storedform.text_record(i, f"record {i}") for i in range(1, 3005)]
    storedform.write_history(history.path, rows, create=False)
    app.write_config("[main]\nHideWindowAfter=0\nSelDlgX=333\nSelDlgY=111\n")
    app.start()
    client.send(app.window, WM_QUERYENDSESSION)  # its exit step trims the history to 3000 rows
    client.send(app.window, WM_ENDSESSION, 0)
    app.show()
    wait_for(lambda: client.rect(app.window)[:2] == (333, 111), what="the stored position")
    client.on("move", app.window, 345, 123)  # as a person drags it
    exit_with(app, "Yes")
    assert app.wait_exit() == 0
    assert len(history.rows()) == 3000 and runs(session) == first_runs + 1
    assert app.config() == {"HideWindowAfter": "0", "SelDlgX": "345", "SelDlgY": "123", "VacuumCount": "1"}

    foreign = Client(session)
    foreign.call("make_window", hexed(TITLE))
    assert app.start(wait=False).wait_exit() == 0
    assert foreign.call("received") == f"{WM_TRAY_CALLBACK},0,{WM_LBUTTONDOWN}"
    foreign.close()

    shutil.rmtree(session.config_folder)
    session.config_folder.write_text("a file where the folder should be")
    app.start(boxes=[("YarrowKit Error #1", ""), ("YarrowKit Error #2", "Can't read from database to tree")])
    assert "Is this path correct?" in app.texts[0]
    app.show(wait=True)
    assert app.close_quietly() == 0 and session.config_folder.is_file()
