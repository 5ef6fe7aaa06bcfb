"""The options window through its real controls; config, registry, tray, hot keys and files read back."""
import storedform as sf
from harness import EXE, WM_COMMAND, wait_for
from options import (DATABASE, GENERAL, HEADINGS, IDC_CAPTURE_IMAGE, IDC_DB_PATH, IDC_DELAY, IDC_EMPTY_DATABASE,
                     IDC_HOTKEY_MAIN, IDC_HOTKEY_PREVIOUS, IDC_LIMIT_RECORDS, IDC_MOVE_DATABASE, IDC_PAGE_LIST,
                     IDC_RESTORE_CLIPBOARD, IDC_RUN_ON_STARTUP, IDC_SAVE_ITEMS, IDC_SHOW_ICON, IDC_SWITCH_DATABASE,
                     IDCANCEL, IDOK, HOT_KEYS, PAGES, PASTE, OptionsWindow, reg, tray_has_icon)
from selection import SelectionWindow, editor_in_front, keys_in_editor, write_history

RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
MOD_CONTROL, MOD_SHIFT, VK_Q, VK_F9 = 2, 4, 0x51, 0x78


def ok_answered(client, options, caption):
    """OK, whose check of a value answers with a message box first; its text."""
    client.post(options.window, WM_COMMAND, IDOK)
    text = client.wait_message_box(caption)
    client.press(caption, "OK")
    options.wait_closed()
    return text


def test_pages_flags_run_on_startup_hot_keys_and_paste_delay(app, session, client):
    """a bad page index opens the first page; the last page shown opens next, Cancel writes only the index;
    a refused delay keeps the other changes; flags write only what changed; run on startup writes the exe's
    path, nothing when set back, removed when unchecked; a new hot key works at once, the old freed; a taken
    one reported, still written; show icon at once; limit and keep-between-runs written"""
    reg(session, "add", RUN_KEY, "/v", "other", "/d", r"C:\other.exe")
    app.write_config("[Main]\nOptionsIndex=9\n")  # out of range
    app.start()
    options = OptionsWindow(app)
    assert (options.heading(), options.shown_pages()) == (HEADINGS[0], [GENERAL])
    options.choose(2)
    assert (options.heading(), options.shown_pages()) == (HEADINGS[2], [PAGES[2]])
    options.close(IDCANCEL)
    options = OptionsWindow(app)
    assert (options.heading(), app.config()) == ("Paste Options", {"OptionsIndex": "2"})
    wait_for(lambda: client.focus_of(options.window) == client.item(options.window, IDC_PAGE_LIST), what="focus")
    written = lambda: {key: value for key, value in app.config().items() if key != "OptionsIndex"}  # noqa: E731
    options.text(PASTE, IDC_DELAY, "")
    options.checked(PASTE, IDC_RESTORE_CLIPBOARD, False)
    assert ok_answered(client, options, "yarrowkit") == "Please enter an integer."
    assert written() == {"RestoreClipboard": "0"}

    exe = "Z:" + str(EXE.resolve()).replace("/", "\\")  # the running exe's full path, no quotes
    run_on_startup = [((True,), False, exe), ((False, True), True, r"C:\kept.exe"), ((False,), True, None)]
    for flips, found, expected in run_on_startup:
        options = OptionsWindow(app)
        assert options.checked(GENERAL, IDC_RUN_ON_STARTUP) == found
        assert options.checked(GENERAL, IDC_CAPTURE_IMAGE) == (not found), "the value in force"
        options.checked(GENERAL, IDC_CAPTURE_IMAGE, False)
        for on in flips:
            options.checked(GENERAL, IDC_RUN_ON_STARTUP, on)
        options.close(IDOK)
        assert session.reg_query(RUN_KEY, "yarrowkit") == expected
        assert session.reg_query(RUN_KEY, "other") == r"C:\other.exe"
        assert written() == {"RestoreClipboard": "0", "CaptureImage": "0"}
        if not found:
            reg(session, "add", RUN_KEY, "/v", "yarrowkit", "/d", r"C:\kept.exe")

    options = OptionsWindow(app)
    # Not Alt: let go alone in the editor, it would open the editor's menu mode.
    options.hot_key(IDC_HOTKEY_MAIN, 3 << 8 | VK_Q)  # HOTKEYF_CONTROL | HOTKEYF_SHIFT
    options.checked(HOT_KEYS, IDC_SHOW_ICON, False)
    options.close(IDOK)
    assert not tray_has_icon(app)
    assert client.call("hotkey_hold", 1, MOD_CONTROL, ord("D")) == "1", "Ctrl+D given back"
    assert client.call("hotkey_hold", 2, MOD_CONTROL | MOD_SHIFT, VK_Q) == "0", "Ctrl+Shift+Q held by the program"
    keys_in_editor(app, "ctrl+shift+q")
    wait_for(lambda: client.visible(app.window), what="the selection window after Ctrl+Shift+Q")
    assert client.call("hotkey_hold", 3, MOD_CONTROL | MOD_SHIFT, VK_F9) == "1"
    options = OptionsWindow(app)
    options.hot_key(IDC_HOTKEY_PREVIOUS, 3 << 8 | VK_F9)  # HOTKEYF_CONTROL | HOTKEYF_SHIFT
    options.hot_key(IDC_HOTKEY_MAIN, 0)
    options.checked(HOT_KEYS, IDC_SHOW_ICON, True)
    assert ok_answered(client, options, "YarrowKit error") == ("Error registering hotkey combination for selecting "
                                                                "a Previous Item. Please, select another combination.")
    assert tray_has_icon(app) and client.call("hotkey_hold", 2, MOD_CONTROL | MOD_SHIFT, VK_Q) == "1"
    options = OptionsWindow(app)
    assert (options.text(DATABASE, IDC_LIMIT_RECORDS), options.checked(DATABASE, IDC_SAVE_ITEMS)) == ("3000", True)
    options.text(DATABASE, IDC_LIMIT_RECORDS, "0")
    options.checked(DATABASE, IDC_SAVE_ITEMS, False)
    options.close(IDOK)
    assert written() == {"RestoreClipboard": "0", "CaptureImage": "0", "HotKeyVK": "0",
                         "HotKey": "0", "IconInTray": "1", "HotKeyPrevVK": str(MOD_CONTROL | MOD_SHIFT),
                         "HotKeyPrev": str(VK_F9), "LimitRecordsInDB": "0", "SaveItemsInDataBase": "0"}


def test_switch_move_and_empty_never_lose_the_history(app, session, client):
    """Switch to a new name: an empty history, written at once, kept after Cancel; a failed Move names the file
    still in use; Move asks about the old file: No keeps it, Yes deletes it, stepping restarts at the copy's
    newest; Empty asks, No keeps all, a refusal reported changes nothing, Yes empties list and file"""
    old = write_history(session, [sf.text_record(i, f"clip {i}") for i in range(3)])
    # Deletes refused while table keep has a row; made before the start, and carried by every copy.
    sf.sqlite(old, "CREATE TABLE keep(x); INSERT INTO keep VALUES (1); CREATE TRIGGER kept BEFORE DELETE ON Log "
                   "WHEN EXISTS (SELECT 1 FROM keep) BEGIN SELECT RAISE(ABORT, 'kept here'); END;")
    folder, path_of = session.config_folder, lambda name: session.windows_path(session.config_folder / name)
    (folder / "moved.sql").write_bytes(b"a file that the copy replaces")
    # A name the chooser accepts but no copy can be written to (even by root): a link into /proc.
    (folder / "unwritable.sql").symlink_to("/proc/no such folder/moved.sql")
    editor_in_front(app.start())
    w, options = SelectionWindow(app), OptionsWindow(app)

    def run(button, name=None, answer=None, text=""):
        options.press(DATABASE, button)
        if name:
            options.choose_file(path_of(name))
        if answer:
            seen = client.wait_message_box("Yarrowkit")
            assert text in seen, seen
            client.answer("Yarrowkit", answer)

    run(IDC_SWITCH_DATABASE, "other.sql")
    wait_for(lambda: app.config().get("DBPath") == path_of("other.sql"), what="DBPath written at once")
    assert (options.text(DATABASE, IDC_DB_PATH), w.ids(), w.label()[-5:]) == (path_of("other.sql"), [], " of 0")
    options.close(IDCANCEL)
    assert app.config()["DBPath"] == path_of("other.sql")
    options = OptionsWindow(app)
    run(IDC_SWITCH_DATABASE, "vorla.sql")
    wait_for(lambda: w.ids() == [0, 1, 2], what="the old file listed again")
    run(IDC_MOVE_DATABASE, "unwritable.sql", "OK", f"could not be copied to:\n{path_of('unwritable.sql')}\n\n"
        f"Nothing was moved; Yarrowkit goes on using:\n{path_of('vorla.sql')}")
    assert app.config()["DBPath"] == path_of("vorla.sql") and w.ids() == [0, 1, 2]
    for text in (b"clip 1\0", b"clip 0\0"):  # a person's steps, each seen done before the next
        keys_in_editor(app, "ctrl+shift+Up")
        wait_for(lambda: dict(client.clipboard()).get(1) == text, what=f"stepped to {text!r}")

    run(IDC_MOVE_DATABASE, "moved.sql", "No", f"Do you want to delete the old database file: {path_of('vorla.sql')} ?")
    wait_for(lambda: app.config().get("DBPath") == path_of("moved.sql"), what="DBPath written at once")
    assert [r["Id"] for r in sf.read_rows(folder / "moved.sql")] == w.ids() == [0, 1, 2]
    run(IDC_MOVE_DATABASE, "moved2.sql", "Yes")
    # The old file goes before the copy is taken into use and its path written.
    wait_for(lambda: not (folder / "moved.sql").exists() and app.config().get("DBPath") == path_of("moved2.sql")
             and w.ids() == [0, 1, 2], what="the old file deleted and the copy in use")
    assert old.exists()
    keys_in_editor(app, "ctrl+shift+Up")
    wait_for(lambda: dict(client.clipboard()).get(1) == b"clip 1\0", what="stepped from the copy's newest")

    run(IDC_EMPTY_DATABASE, None, "No", "Do you want to delete all records from the database?")
    options.press(DATABASE, IDC_EMPTY_DATABASE)
    client.wait_message_box("Yarrowkit")
    client.press("Yarrowkit", "Yes")  # then refused: the report's caption differs only in case
    wait_for(lambda: "kept here" in (client.message_box("yarrowkit") or ""), what="the refusal reported")
    client.answer("yarrowkit")
    moved2 = folder / "moved2.sql"
    assert w.ids() == [0, 1, 2] and len(sf.read_rows(moved2)) == 3
    sf.sqlite(moved2, "DELETE FROM keep;")
    run(IDC_EMPTY_DATABASE, None, "Yes")
    wait_for(lambda: w.ids() == [] and w.label().endswith(" of 0"), what="empty")
    assert sf.read_rows(moved2) == []
