"""The options window and its four pages, driven through their real controls; config.cfg, the
registry, the tray and the history files are read back."""
import os
import subprocess
import time

import storedform
from harness import EXE, ROOT, WM_COMMAND, hexed, unhexed, wait_for
from options import (IDOK, IDCANCEL, IDC_PAGE_LIST, GENERAL, HOT_KEYS, PASTE, DATABASE, PAGES, HEADINGS,
                     IDC_SHOW_TOOLTIP, IDC_RUN_ON_STARTUP, IDC_CAPTURE_IMAGE, IDC_HOTKEY_MAIN, IDC_HOTKEY_PREVIOUS,
                     IDC_HOTKEY_NEXT, IDC_SHOW_ICON, IDC_RESTORE_CLIPBOARD, IDC_DELAY, IDC_DB_PATH, IDC_LIMIT_RECORDS,
                     IDC_SAVE_ITEMS, IDC_SWITCH_DATABASE, IDC_MOVE_DATABASE, IDC_EMPTY_DATABASE, IDC_RANGE_LABEL,
                     IDC_ITEM_TREE, HOTKEYF_SHIFT, HOTKEYF_CONTROL, HOTKEYF_ALT, HOTKEYF_EXT, MOD_ALT, MOD_CONTROL,
                     MOD_SHIFT, VK_MENU, VK_Q, VK_F9, control_word, OptionsWindow, windows_path, tray_has_icon)

RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
# Set YK_DOCS_SCREENSHOTS=1 to refresh the pictures of the pages in docs/.
DOCS = ROOT / "docs"


def started(app, config=None):
    if config is not None:
        app.write_config(config)
    app.start()
    return app


def opened(app):
    return OptionsWindow(app)


def settings_written(app):
    return {key: value for key, value in app.config().items() if key != "OptionsIndex"}


def reg_add(session, name, data):
    subprocess.run(["wine", "reg", "add", RUN_KEY, "/v", name, "/t", "REG_SZ", "/d", data, "/f"], env=session.env,
                   check=True, capture_output=True, timeout=60)


def tray_tips(client):
    """The tip texts the tray holds; the tray keeps a removed icon's tip, so only additions count."""
    tray = int(client.call("find_class", hexed("Shell_TrayWnd")), 16)
    texts = [client.call("tool_text", entry.split(":")[0]) for entry in client.call("tooltips", f"{tray:x}").split()]
    return [unhexed(text).decode("latin-1") for text in texts if text != "-"]


# ---------------------------------------------------------------------------------------------
# The window


def test_opens_on_the_page_shown_last_and_writes_only_the_index(app):
    started(app)
    options = opened(app)
    assert options.heading() == "General Options"
    assert options.shown_pages() == [GENERAL]
    options.choose(2)
    assert options.heading() == "Paste Options"
    assert options.shown_pages() == [PASTE]
    options.close(IDCANCEL)
    assert app.config() == {"OptionsIndex": "2"}

    options = opened(app)
    assert options.heading() == "Paste Options"
    assert options.shown_pages() == [PASTE]
    wait_for(lambda: app.client.focus_of(options.window) == app.client.item(options.window, IDC_PAGE_LIST),
             what="the focus on the page list")
    options.close(IDOK)
    assert app.config() == {"OptionsIndex": "2"}, "OK without a change writes no setting"


def test_hand_edited_index_opens_the_first_page(app):
    started(app, "[Main]\nOptionsIndex=9\n")
    options = opened(app)
    assert options.heading() == "General Options"
    assert options.shown_pages() == [GENERAL]
    options.close(IDCANCEL)
    assert app.config()["OptionsIndex"] == "0"


def test_each_page_in_a_virtual_desktop(app, session):
    started(app)
    options = opened(app)
    for index, (template, heading) in enumerate(zip(PAGES, HEADINGS)):
        options.choose(index)
        assert options.heading() == heading
        assert options.shown_pages() == [template]
        if os.environ.get("YK_DOCS_SCREENSHOTS"):
            time.sleep(0.5)  # pictures for the docs only: the page painted
            session.screenshot(DOCS / f"options-{heading.lower().replace(' ', '-')}.png")
    options.close(IDCANCEL)


# ---------------------------------------------------------------------------------------------
# General Options


def test_general_flags_write_only_what_changed(app):
    started(app)
    options = opened(app)
    assert options.checked(GENERAL, IDC_SHOW_TOOLTIP) and options.checked(GENERAL, IDC_CAPTURE_IMAGE)
    options.check(GENERAL, IDC_CAPTURE_IMAGE, False)
    options.close(IDOK)
    assert settings_written(app) == {"CaptureImage": "0"}
    options = opened(app)
    assert not options.checked(GENERAL, IDC_CAPTURE_IMAGE), "the new value is in force"
    options.close(IDCANCEL)


def test_run_on_startup_touches_only_its_own_value(app, session):
    reg_add(session, "other", r"C:\other.exe")
    started(app)
    options = opened(app)
    assert not options.checked(GENERAL, IDC_RUN_ON_STARTUP)
    options.check(GENERAL, IDC_RUN_ON_STARTUP, True)
    options.close(IDOK)
    value = session.reg_query(RUN_KEY, "yarrowkit")
    assert value is not None
    assert session.unix_path(value) == EXE.resolve(), "the full path of the running executable, no quotes"
    assert session.reg_query(RUN_KEY, "other") == r"C:\other.exe"

    # Unchecked and checked again before OK: the final state is the one found, nothing is written.
    reg_add(session, "yarrowkit", r"C:\kept.exe")
    options = opened(app)
    assert options.checked(GENERAL, IDC_RUN_ON_STARTUP)
    options.check(GENERAL, IDC_RUN_ON_STARTUP, False)
    options.check(GENERAL, IDC_RUN_ON_STARTUP, True)
    options.close(IDOK)
    assert session.reg_query(RUN_KEY, "yarrowkit") == r"C:\kept.exe"

    options = opened(app)
    options.check(GENERAL, IDC_RUN_ON_STARTUP, False)
    options.close(IDOK)
    assert session.reg_query(RUN_KEY, "yarrowkit") is None
    assert session.reg_query(RUN_KEY, "other") == r"C:\other.exe"
    assert settings_written(app) == {}, "start with Windows lives only in the registry"


# ---------------------------------------------------------------------------------------------
# Hot Keys


def test_hot_keys_show_the_defaults_and_a_new_one_works_at_once(app, client):
    started(app)
    options = opened(app)
    assert options.hot_key(IDC_HOTKEY_MAIN) == control_word(HOTKEYF_CONTROL, ord("D"))
    arrows = HOTKEYF_CONTROL | HOTKEYF_SHIFT | HOTKEYF_EXT
    assert options.hot_key(IDC_HOTKEY_PREVIOUS) == control_word(arrows, 38)
    assert options.hot_key(IDC_HOTKEY_NEXT) == control_word(arrows, 40)
    options.set_hot_key(IDC_HOTKEY_MAIN, control_word(HOTKEYF_ALT, VK_Q))
    options.close(IDOK)
    assert settings_written(app) == {"HotKeyVK": str(MOD_ALT), "HotKey": str(VK_Q)}

    assert client.call("hotkey_hold", 1, MOD_CONTROL, ord("D")) == "1", "Ctrl+D was given back"
    client.call("hotkey_release", 1)
    assert client.call("hotkey_hold", 1, MOD_ALT, VK_Q) == "0", "Alt+Q is held by the program"
    client.keys(str(VK_MENU), str(VK_Q), f"{VK_Q}:up", f"{VK_MENU}:up")
    wait_for(lambda: client.visible(app.window), what="the selection window after Alt+Q")


def test_taken_combination_is_reported_and_still_written(app, client):
    assert client.call("hotkey_hold", 7, MOD_CONTROL | MOD_SHIFT, VK_F9) == "1"
    started(app)
    options = opened(app)
    options.set_hot_key(IDC_HOTKEY_PREVIOUS, control_word(HOTKEYF_CONTROL | HOTKEYF_SHIFT, VK_F9))
    options.set_hot_key(IDC_HOTKEY_MAIN, 0)
    client.post(options.window, WM_COMMAND, IDOK)
    assert client.wait_message_box("YarrowKit error") == (
        "Error registering hotkey combination for selecting a Previous Item. Please, select another combination.")
    client.press("YarrowKit error", "OK")
    options.wait_closed()
    assert settings_written(app) == {"HotKeyVK": "0", "HotKey": "0", "HotKeyPrevVK": str(MOD_CONTROL | MOD_SHIFT),
                                     "HotKeyPrev": str(VK_F9)}
    assert client.call("hotkey_hold", 1, MOD_CONTROL, ord("D")) == "1", "a cleared hot key is not registered"


def test_show_icon_removes_and_adds_the_tray_icon_at_once(app, client):
    started(app)
    wait_for(lambda: tray_has_icon(app), what="the icon added at start")
    assert "Advanced text insertion tool" not in tray_tips(client)
    options = opened(app)
    options.choose(1)
    assert options.checked(HOT_KEYS, IDC_SHOW_ICON)
    options.check(HOT_KEYS, IDC_SHOW_ICON, False)
    options.close(IDOK)
    assert not tray_has_icon(app)
    assert settings_written(app) == {"IconInTray": "0"}

    options = opened(app)
    assert not options.checked(HOT_KEYS, IDC_SHOW_ICON)
    options.check(HOT_KEYS, IDC_SHOW_ICON, True)
    options.close(IDOK)
    assert tray_has_icon(app)
    wait_for(lambda: "Advanced text insertion tool" in tray_tips(client), what="the tip of the added icon")
    assert settings_written(app) == {"IconInTray": "1"}


# ---------------------------------------------------------------------------------------------
# Paste Options


def test_paste_delay_is_limited_and_a_refused_delay_keeps_the_box(app, client):
    started(app)
    options = opened(app)
    assert options.text(PASTE, IDC_DELAY) == "70"
    options.type(PASTE, IDC_DELAY, "5000")
    options.close(IDOK)
    assert settings_written(app) == {"Sleep": "1000"}

    options = opened(app)
    assert options.text(PASTE, IDC_DELAY) == "1000"
    options.type(PASTE, IDC_DELAY, "0")
    options.close(IDOK)
    assert settings_written(app) == {"Sleep": "0"}

    options = opened(app)
    options.type(PASTE, IDC_DELAY, "")
    options.check(PASTE, IDC_RESTORE_CLIPBOARD, False)
    client.post(options.window, WM_COMMAND, IDOK)
    assert client.wait_message_box("yarrowkit") == "Please enter an integer."
    client.press("yarrowkit", "OK")
    options.wait_closed()
    assert settings_written(app) == {"Sleep": "0", "RestoreClipboard": "0"}


# ---------------------------------------------------------------------------------------------
# Database


def history_with(session, count, path=None):
    path = path or session.config_folder / "vorla.sql"
    storedform.write_history(path, [storedform.text_record(i, f"clip {i}") for i in range(count)])
    return path


def row_ids(path):
    return [row["Id"] for row in storedform.read_rows(path)]


def tree_count(app):
    return int(app.client.call("tree_count", f"{app.client.item(app.window, IDC_ITEM_TREE):x}"))


def test_switch_to_a_new_name_creates_an_empty_database_and_stays_after_cancel(app, session):
    history_with(session, 3)
    started(app)
    assert tree_count(app) == 3
    options = opened(app)
    new = session.config_folder / "other.sql"
    options.press(DATABASE, IDC_SWITCH_DATABASE)
    options.choose_file(windows_path(session, new))
    wait_for(lambda: app.config().get("DBPath") == windows_path(session, new), what="DBPath written at once")
    assert options.text(DATABASE, IDC_DB_PATH) == windows_path(session, new)
    assert tree_count(app) == 0
    assert app.client.item_text(app.window, IDC_RANGE_LABEL).endswith(" of 0")
    tables = storedform.sqlite(new, "SELECT name FROM sqlite_master WHERE type='table';")
    # Log, and the side table of the item texts with its FTS5 shadow tables.
    assert [name for name in tables if not name.startswith(b"LogText_")] == [b"Log", b"LogText"]
    options.close(IDCANCEL)
    assert app.config()["DBPath"] == windows_path(session, new)
    assert row_ids(session.config_folder / "vorla.sql") == [0, 1, 2], "the old file is left alone"


def test_move_copies_asks_and_works_on_the_copy_and_empty_asks_first(app, session, client):
    old = history_with(session, 3)
    new = session.config_folder / "moved.sql"
    new.write_bytes(b"a file that the copy replaces")
    started(app)
    options = opened(app)
    options.press(DATABASE, IDC_MOVE_DATABASE)
    options.choose_file(windows_path(session, new))
    question = client.wait_message_box("Yarrowkit")
    assert question == f"Do you want to delete the old database file: {windows_path(session, old)} ?"
    client.press("Yarrowkit", "No")
    wait_for(lambda: app.config().get("DBPath") == windows_path(session, new), what="DBPath written at once")
    assert row_ids(new) == [0, 1, 2]
    assert tree_count(app) == 3

    options.press(DATABASE, IDC_EMPTY_DATABASE)
    assert client.wait_message_box("Yarrowkit") == "Do you want to delete all records from the database?"
    client.answer("Yarrowkit", "No")
    assert tree_count(app) == 3 and row_ids(new) == [0, 1, 2], "No keeps everything"
    options.press(DATABASE, IDC_EMPTY_DATABASE)
    client.wait_message_box("Yarrowkit")
    client.press("Yarrowkit", "Yes")
    wait_for(lambda: tree_count(app) == 0, what="the list to empty")
    assert row_ids(new) == []
    assert row_ids(old) == [0, 1, 2], "the program works on the copy; No kept the old file"
    options.close(IDCANCEL)
    assert app.config()["DBPath"] == windows_path(session, new)


def test_move_onto_the_file_in_use_stops_and_offers_no_deletion(app, session, client):
    old = history_with(session, 3)
    started(app)
    options = opened(app)
    options.press(DATABASE, IDC_MOVE_DATABASE)
    options.choose_file(windows_path(session, old))
    text = client.wait_message_box("Yarrowkit")
    assert "already" in text and windows_path(session, old) in text
    assert "delete" not in text
    client.answer("Yarrowkit")
    assert old.exists() and row_ids(old) == [0, 1, 2]
    assert tree_count(app) == 3
    options.close(IDCANCEL)
    assert "DBPath" not in app.config()


def test_limit_and_keep_between_runs_are_saved_on_ok(app):
    started(app)
    options = opened(app)
    assert options.text(DATABASE, IDC_LIMIT_RECORDS) == "3000"
    assert options.checked(DATABASE, IDC_SAVE_ITEMS)
    options.type(DATABASE, IDC_LIMIT_RECORDS, "0")
    options.check(DATABASE, IDC_SAVE_ITEMS, False)
    options.close(IDOK)
    assert settings_written(app) == {"LimitRecordsInDB": "0", "SaveItemsInDataBase": "0"}
