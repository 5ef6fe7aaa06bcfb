"""The global hot keys, the tray icon's menu, the window's menu bar and the about box's links, pressed
and clicked for real (a recorder stands in for the handlers of the shell's associations)."""
import time

import storedform as sf
from harness import TITLE, WM_TRAY_CALLBACK, hexed, wait_for, xdotool
from options import reg, tray_has_icon
from selection import (WM_RBUTTONDOWN, SelectionWindow, editor_in_front, keys_in_editor, open_menu,
                       point_and_click, press_real_keys, shown, start_with_editor, unicode_record, write_history)

MOD_CONTROL, MOD_SHIFT, VK_UP, VK_DOWN = 2, 4, 0x26, 0x28
TAKEN = "Error registering {} combination for {}. Please, select another combination."
IDS = [8, 9, 10, 11, 12, 15]
ID_HOME_PAGE, MAIL_LINK = 115, 1007
HOME_PAGE, MAIL = "https://yarrowkit.tamberlyn.example/", "mailto:support@tamberlyn.example"
RECORDER_KEY = r"HKCU\Software\YarrowkitTest"
RECORDER = r"C:\windows\system32\reg.exe add " + RECORDER_KEY + r" /v opened /f /d %1"


def text_of(i):
    return {8: "Привет, мир 8", 9: "你好世界 9"}.get(i, f"record {i}")


def test_hot_keys_taken_and_focus_lost(app, client):
    """taken combinations reported one by one before the tray icon, the free ones held; hide on focus lost"""
    assert client.call("hotkey_hold", 1, MOD_CONTROL, ord("D")) == client.call(
        "hotkey_hold", 3, MOD_CONTROL | MOD_SHIFT, VK_DOWN) == "1"
    app.start(wait=False)
    for taken in (TAKEN.format("main hotkey", "YarrowKit"), TAKEN.format("hotkey", "selecting a Next Item")):
        wait_for(lambda: client.message_box("YarrowKit error") == taken, 30, what=taken)
        app.window = client.window(TITLE)
        assert not tray_has_icon(app)
        client.answer("YarrowKit error")
    wait_for(lambda: tray_has_icon(app), what="the tray icon")
    assert client.call("hotkey_hold", 2, MOD_CONTROL | MOD_SHIFT, VK_UP) == "0"
    app.close_quietly()
    for hot_key_id in (1, 3):
        client.call("hotkey_release", hot_key_id)

    app.write_config("[Main]\nHideOnFocusLost=1\n")
    app.start()
    shown(app)
    editor_in_front(app)
    wait_for(lambda: not client.visible(app.window), what="the window hidden on focus lost")


def test_step_keys_tray_menu_menu_bar_and_about_links(app, session, client):
    """Ctrl+D notes the editor and shows the window, list focused, Enter pastes and hides; the hot key brings
    a window behind forward and hides one in front; previous and next step from the newest over gaps, stay at
    the newest, a capture moves the start; a click in the tray menu pastes; Help, About by keys. A failed link
    open explains why; with no association of its own the address goes to the web page handler; the mail link
    hands the address to its association; Help's home page opens its address; the box closes, the program runs"""
    path = write_history(session, [(sf.text_record if i > 9 else unicode_record)(i, text_of(i)) for i in IDS])
    edit, w = start_with_editor(app, "CountMenuItemsInRange=15\nSleep=500\n"), SelectionWindow(app)
    keys_in_editor(app, "ctrl+d")
    wait_for(lambda: client.foreground() == app.window and w.selected_id() == 15, what="the window in front")
    assert client.focus_of(app.window) == w.tree
    press_real_keys(app, "key Return")
    wait_for(lambda: client.text(edit) == "record 15" and not client.visible(app.window), what="pasted, hidden")
    hot_key = lambda: keys_in_editor(app, "ctrl+d")  # noqa: E731
    for press, state in [(hot_key, (True, True)), (lambda: editor_in_front(app), (True, False)),
                         (hot_key, (True, True)), (lambda: press_real_keys(app, "key ctrl+d"), (False, False))]:
        time.sleep(0.5)  # a person's pace: late X events of the last activation could undo a quicker change
        press()
        wait_for(lambda: (client.visible(app.window), client.foreground() == app.window) == state, what=str(state))

    for key, expected in [("Up", 12), ("Up", 11), ("Down", 12), ("Down", 15), ("Down", 15), (None, 16), ("Up", 15)]:
        if key:
            keys_in_editor(app, f"ctrl+shift+{key}")
            wait_for(lambda: dict(client.clipboard()).get(1) == f"record {expected}\0".encode(), what=str(expected))
        else:
            time.sleep(0.3)  # a person's next copy: a pace past the program's debounce
            client.copy_text(f"record {expected}")
            wait_for(lambda: len(sf.read_rows(path)) == len(IDS) + 1, what="the capture")

    editor_in_front(app)
    xdotool(session, "mousemove", 1100, 600)  # the menu opens at the pointer
    menu = open_menu(app, lambda: client.post(app.window, WM_TRAY_CALLBACK, 0, WM_RBUTTONDOWN))
    left, _, right, bottom = client.rect(menu)
    xdotool(session, "mousemove", (left + right) // 2, bottom - 34)
    point_and_click(app, (left + right) // 2, bottom - 12)  # the newest entry
    wait_for(lambda: not client.visible(menu) and client.text(edit).endswith("record 16")
             and dict(client.clipboard()).get(1) == b"record 15\0", what="record 16 pasted, the clipboard back")

    for key in (r"HKCR\mailto", r"HKCR\.htm"):
        reg(session, "delete", key)
    shown(app)
    open_menu(app, lambda: press_real_keys(app, "key alt+h"))
    xdotool(session, "key", "a")
    box = wait_for(lambda: int(client.call("dialog_with", hexed("Yarrowkit")), 16), what="the about box")
    client.on("idle", box)  # found by its title while it may still be setting up its links
    rect = client.rect(client.item(box, MAIL_LINK))
    opened = lambda: session.reg_query(RECORDER_KEY, "opened")  # noqa: E731

    spots = iter(range(4, 40, 10))  # two clicks on one spot within the double-click time are no second click

    def click(link_rect):
        point_and_click(app, link_rect[0] + next(spots), (link_rect[1] + link_rect[3]) // 2)

    click(rect)
    text = client.wait_message_box("yarrowkit")
    assert text.startswith("Unable to open hyperlink:\n\n") and text.split("\n\n", 1)[1], "and why"
    client.press("yarrowkit", "OK")
    xdotool(session, "mousemove", 5, 5)
    client.on("idle", box)  # the box gone and the move off the link handled before the next click

    reg(session, "add", r"HKCR\.htm", "/ve", "/d", "ykTestPage")  # no association of the address's own
    for command_key in (r"HKCR\ykTestPage\shell\open\command", r"HKCR\mailto\shell\open\command"):
        reg(session, "add", command_key, "/ve", "/d", RECORDER)
        click(rect)
        assert wait_for(opened, 20, what="the address handed on") == MAIL
        reg(session, "delete", RECORDER_KEY)
        reg(session, "delete", r"HKCR\.htm")
    assert client.message_box("yarrowkit") is None

    reg(session, "add", r"HKCR\https\shell\open\command", "/ve", "/d", RECORDER)
    client.command(app.window, ID_HOME_PAGE)
    assert wait_for(opened, 20, what="the address of the menu command") == HOME_PAGE
    client.command(box, 1)
    wait_for(lambda: not client.exists(box), what="the about box closed")
    assert app.running()
