"""Delete in the selection window, the main hot key's dispatch and registration, and the welcome balloon."""
import time

import storedform
from harness import TITLE, WM_COMMAND, hexed, unhexed, wait_for
from selection import IDC_OLDER_PAGE, SelectionWindow, click_caption, press_real_keys
from test_paste import start_for_paste

ID_DELETE_CLIP = 32774
IDC_PAGE_LIST = 1018
IDC_COPY = 1008
BN_CLICKED = 0
CF_TEXT = 1
VK_CONTROL, VK_DELETE = 0x11, 0x2E
MOD_CONTROL, MOD_SHIFT = 2, 4
HOTKEY_ERROR = "YarrowKit error"
MAIN_HOTKEY_TAKEN = ("Error registering main hotkey combination for YarrowKit. "
                     "Please, select another combination.")
NEXT_HOTKEY_TAKEN = ("Error registering hotkey combination for selecting a Next Item. "
                     "Please, select another combination.")
WELCOME = "YarrowKit - here ! Just click the icon or use the hot key Ctrl-D"
TTS_BALLOON = 0x40


def history(session, count):
    path = session.config_folder / "vorla.sql"
    storedform.write_history(path, [storedform.text_record(i, f"clip {i}") for i in range(count)])
    return path


def stored_ids(path):
    return [int(row["Id"]) for row in storedform.read_rows(path)]


def shown(app):
    app.show()
    wait_for(lambda: app.client.foreground() == app.window, what="the window in front")
    window = SelectionWindow(app)
    wait_for(lambda: not window.items() or window.selected_id() is not None, what="the first selection")
    return window


# Under Wine, a window change made within a few hundred ms of the previous activation can be
# undone by that activation's late X events (seen under CPU load: the next Ctrl+D left the
# window shown). A person's next key press comes later than this.
SETTLE = 0.5


def press_ctrl_d(client):
    client.keys(str(VK_CONTROL), str(ord("D")), f"{ord('D')}:up", f"{VK_CONTROL}:up")


def tray_has_icon(app):
    return app.client.call("tray_has", f"{app.window:x}", 1) == "1"


# ----- Delete

def test_deleting_the_only_item_of_a_page_loads_the_next_one_down_to_an_empty_list(app, session):
    path = history(session, 3)
    app.write_config("[Main]\nCountItemsInRange=1\n")
    app.start()
    window = shown(app)
    assert window.ids() == [2]

    app.client.command(app.window, ID_DELETE_CLIP)
    window.wait_page(1, 1, "Items 2-2 of 2")
    assert stored_ids(path) == [0, 1]

    # The Delete key in the focused list does the same.
    wait_for(lambda: window.selected_id() is not None, what="the selection after the reload")
    app.client.keys(f"{VK_DELETE}:ext", f"{VK_DELETE}:up:ext")
    window.wait_page(0, 0, "Items 1-1 of 1")

    wait_for(lambda: window.selected_id() is not None, what="the selection after the reload")
    app.client.command(app.window, ID_DELETE_CLIP)
    wait_for(lambda: window.label() == "Items 1-0 of 0", what="the empty label")
    assert window.items() == []
    assert window.buttons() == (False, False, False, False)
    assert stored_ids(path) == []

    app.client.command(app.window, ID_DELETE_CLIP)  # nothing selected: nothing happens
    app.client.call("idle", f"{app.window:x}")
    assert app.client.message_box("YarrowKit Error #4") is None
    assert window.label() == "Items 1-0 of 0"


def test_a_failing_delete_reports_error_4_and_changes_nothing(app, session, client):
    path = history(session, 80)
    storedform.sqlite(path, "CREATE TRIGGER keep BEFORE DELETE ON Log BEGIN SELECT RAISE(ABORT, 'kept here'); END;")
    app.start()
    window = shown(app)
    window.click(IDC_OLDER_PAGE)
    window.wait_page(0, 49, "Items 1-50 of 80")
    window.select(20)
    before = window.items()

    client.command(app.window, ID_DELETE_CLIP)
    text = client.wait_message_box("YarrowKit Error #4")
    assert text.startswith("Can't delete string\n Error #4 - ")
    assert "kept here" in text
    client.answer("YarrowKit Error #4")

    assert window.items() == before
    assert window.label() == "Items 1-50 of 80"
    assert len(stored_ids(path)) == 80
    # The page offset is unchanged too: a capture reloads the same page.
    client.copy_text("a new clip")
    window.wait_page(1, 50, "Items 2-51 of 81")


# ----- Copy, the keys beside the options window, and focus loss

def copied(client):
    return dict(client.clipboard()).get(CF_TEXT)


def no_new_row(client, path, ids):
    """The program's own writes are not captured: the next copy of another program is the next row."""
    client.set_clipboard((CF_TEXT, b"marker\0"))
    wait_for(lambda: len(stored_ids(path)) == len(ids) + 1, what="the marker row")
    assert stored_ids(path) == ids + [len(ids)]


def test_copy_by_button_and_by_real_key_presses(app, session, client):
    path = history(session, 3)
    app.write_config("[Main]\nHideWindowAfter=0\n")
    app.start()
    window = shown(app)

    window.select(0)
    button = client.item(app.window, IDC_COPY)
    client.post(app.window, WM_COMMAND, IDC_COPY | BN_CLICKED << 16, button)
    wait_for(lambda: copied(client) == b"clip 0\0", what="the copy by button")

    # Both keys let go together, Ctrl first, as people often do.
    window.select(1)
    press_real_keys(app, "key ctrl+c")
    wait_for(lambda: copied(client) == b"clip 1\0", what="the copy by Ctrl+C")

    # Insert let go while Ctrl is still held.
    window.select(2)
    press_real_keys(app, "keydown ctrl", "key Insert", "keyup ctrl")
    wait_for(lambda: copied(client) == b"clip 2\0", what="the copy by Ctrl+Insert")
    assert client.visible(app.window)  # the check box is off
    no_new_row(client, path, [0, 1, 2])


def test_a_real_ctrl_c_hides_the_window_when_the_check_box_says_so(app, session, client):
    history(session, 2)
    app.start()
    window = shown(app)
    window.select(0)
    press_real_keys(app, "key ctrl+c")
    wait_for(lambda: copied(client) == b"clip 0\0", what="the copy")
    wait_for(lambda: not client.visible(app.window), what="the window hidden")


def test_the_selection_windows_keys_work_while_the_options_window_is_open(app, session, client):
    path = history(session, 2)
    edit, _ = start_for_paste(app, client)
    window = SelectionWindow(app)
    press_real_keys(app, "key F4")
    options = wait_for(lambda: client.window("Yarrowkit options"), what="the options window")
    page_list = client.item(options, IDC_PAGE_LIST)
    wait_for(lambda: client.focus_of(options) == page_list, what="the options window's own focus, given at once")

    # The options window has no owner: the selection window beside it can be clicked and used.
    click_caption(app)
    window.select(1)
    press_real_keys(app, "key Delete")
    # Row 2 is the content the editor copied before, which the paste will put back.
    wait_for(lambda: window.ids() == [0, 2], what="the deleted item gone from the list")
    assert stored_ids(path) == [0, 2]

    window.select(0)
    press_real_keys(app, "key Return")
    wait_for(lambda: client.text(edit) == "clip 0", what="the pasted text")
    assert client.visible(options)


def test_with_hide_on_focus_lost_another_window_in_front_hides_it(app, session, client):
    history(session, 2)
    app.write_config("[Main]\nHideOnFocusLost=1\n")
    app.start()
    client.call("editor")
    shown(app)
    client.call("activate", f"{client.window('Yarrowkit Test Editor'):x}")
    wait_for(lambda: not client.visible(app.window), what="the window hidden")


# ----- the main hot key

def test_the_hot_key_brings_a_window_behind_forward_and_hides_one_in_front(app, session, client):
    history(session, 2)
    app.start()
    client.call("editor")
    press_ctrl_d(client)
    wait_for(lambda: client.foreground() == app.window, what="the window in front")

    client.call("activate", f"{client.window('Yarrowkit Test Editor'):x}")
    wait_for(lambda: client.foreground() != app.window, what="the editor in front")
    assert client.visible(app.window)
    time.sleep(SETTLE)
    press_ctrl_d(client)
    wait_for(lambda: client.foreground() == app.window, what="the window forward again")
    assert client.visible(app.window)

    time.sleep(SETTLE)
    press_ctrl_d(client)
    wait_for(lambda: not client.visible(app.window), what="the window hidden")


def test_combinations_held_elsewhere_are_reported_before_the_tray_icon_and_the_program_runs_on(app, client):
    assert client.call("hotkey_hold", 1, MOD_CONTROL, ord("D")) == "1"
    assert client.call("hotkey_hold", 3, MOD_CONTROL | MOD_SHIFT, 0x28) == "1"
    app.start(wait=False)
    assert client.wait_message_box(HOTKEY_ERROR, timeout=30) == MAIN_HOTKEY_TAKEN
    app.window = client.window(TITLE)
    assert not tray_has_icon(app)
    client.press(HOTKEY_ERROR, "OK")
    wait_for(lambda: client.message_box(HOTKEY_ERROR) == NEXT_HOTKEY_TAKEN, what="the second message")
    assert not tray_has_icon(app)
    client.press(HOTKEY_ERROR, "OK")

    wait_for(lambda: tray_has_icon(app), what="the tray icon")
    app.show()
    wait_for(lambda: client.visible(app.window), what="the window")
    # Previous was free and is taken by the program; the main one stays with the other program.
    assert client.call("hotkey_hold", 2, MOD_CONTROL | MOD_SHIFT, 0x26) == "0"


def test_a_hot_key_of_zero_registers_nothing_and_says_nothing(app, client):
    app.write_config("[Main]\nHotKey=0\n")
    app.start()
    wait_for(lambda: tray_has_icon(app), what="the tray icon")
    assert client.message_box(HOTKEY_ERROR) is None
    assert client.call("hotkey_hold", 1, MOD_CONTROL, ord("D")) == "1"


# ----- welcome balloon

def welcome_balloon_shown(client):
    tray = client.call("find_class", hexed("Shell_TrayWnd"))
    for entry in client.call("tooltips", tray).split():
        handle, _owner, style, _exstyle, visible = entry.split(":")
        if visible == "1" and int(style, 16) & TTS_BALLOON and unhexed(client.call("tool_text", handle)) == WELCOME.encode():
            return True
    return False


def test_the_welcome_balloon_shows_at_the_first_start_only(app, client):
    app.start()
    wait_for(lambda: welcome_balloon_shown(client), what="the welcome balloon")
    app.close_quietly()
    wait_for(lambda: not welcome_balloon_shown(client), what="the balloon gone with the icon")

    app.start()
    wait_for(lambda: tray_has_icon(app), what="the tray icon")
    time.sleep(1.5)
    assert not welcome_balloon_shown(client)
