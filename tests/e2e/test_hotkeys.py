"""The global hot keys, the tray icon's menu, the window's menu bar and the about box's links, pressed
and clicked for real (a recorder stands in for the handlers of the shell's associations)."""
import subprocess
import time

import storedform as sf
from harness import TITLE, WM_TRAY_CALLBACK, hexed, unhexed, wait_for, xdotool
from options import reg, tray_has_icon
from selection import (WM_RBUTTONDOWN, SelectionWindow, editor_in_front, keys_in_editor, open_menu,
                       point_and_click, press_real_keys, shown, start_with_editor, unicode_record, write_history)

MOD_CONTROL, MOD_SHIFT, VK_UP, VK_DOWN, VK_RETURN = 2, 4, 0x26, 0x28, 0x0D
TAKEN = "Error registering {} combination for {}. Please, select another combination."
WELCOME = b"YarrowKit - here ! Just click the icon or use the hot key Ctrl-D"
IDS = [8, 9, 10, 11, 12, 15]
ID_HOME_PAGE, HOME_LINK, MAIL_LINK, VERSION = 115, 1006, 1007, 1011
HOME_PAGE, MAIL = "https://yarrowkit.tamberlyn.example/", "mailto:support@tamberlyn.example"
VISITED = "#551A8B"
RECORDER_KEY = r"HKCU\Software\YarrowkitTest"
RECORDER = r"C:\windows\system32\reg.exe add " + RECORDER_KEY + r" /v opened /f /d %1"


def text_of(i):
    return {8: "Привет, мир 8", 9: "你好世界 9"}.get(i, f"record {i}")


def welcome_balloon_shown(client):
    tips = client.call("tooltips", client.call("find_class", hexed("Shell_TrayWnd"))).split()
    return any(visible == "1" and int(style, 16) & 0x40 and unhexed(client.call("tool_text", tip)) == WELCOME
               for tip, _, style, _, visible in (e.split(":") for e in tips))


def about_box(client):
    return wait_for(lambda: int(client.call("dialog_with", hexed("Yarrowkit")), 16), what="the about box")


def close_about_box(client, box):
    client.command(box, 1)
    wait_for(lambda: not client.exists(box), what="the about box closed")


def colours(session, rect, path):
    """The colours of the screen inside rect, as ImageMagick names them in hex."""
    session.screenshot(path)
    left, top, right, bottom = rect
    return subprocess.run(["/usr/bin/convert", str(path), "-crop", f"{right - left}x{bottom - top}+{left}+{top}",
                           "-format", "%c", "histogram:info:-"], capture_output=True, text=True,
                          check=True).stdout.upper()


def test_hot_keys_taken_welcome_and_focus_lost(app, client):
    """taken combinations reported one by one before the tray icon, the free ones held; the welcome
    balloon at the first start only, gone with the icon; hot key 0 registers nothing, says nothing;
    hide on focus lost"""
    assert client.call("hotkey_hold", 1, MOD_CONTROL, ord("D")) == client.call(
        "hotkey_hold", 3, MOD_CONTROL | MOD_SHIFT, VK_DOWN) == "1"
    app.start(wait=False)
    for taken in (TAKEN.format("main hotkey", "YarrowKit"), TAKEN.format("hotkey", "selecting a Next Item")):
        wait_for(lambda: client.message_box("YarrowKit error") == taken, 30, what=taken)
        app.window = client.window(TITLE)
        assert not tray_has_icon(app)
        client.answer("YarrowKit error")
    wait_for(lambda: tray_has_icon(app) and welcome_balloon_shown(client), what="the icon and the welcome balloon")
    assert client.call("hotkey_hold", 2, MOD_CONTROL | MOD_SHIFT, VK_UP) == "0"
    app.close_quietly()
    wait_for(lambda: not welcome_balloon_shown(client), what="the balloon gone with the icon")
    for hot_key_id in (1, 3):
        client.call("hotkey_release", hot_key_id)

    app.write_config("[Main]\nHotKey=0\nHideOnFocusLost=1\n")
    app.start()
    wait_for(lambda: tray_has_icon(app), what="the tray icon")
    time.sleep(1.5)  # a check that nothing shows: longer than a balloon or a message takes
    assert client.message_box("YarrowKit error") is None and not welcome_balloon_shown(client)
    assert client.call("hotkey_hold", 1, MOD_CONTROL, ord("D")) == "1"
    shown(app)
    editor_in_front(app)
    wait_for(lambda: not client.visible(app.window), what="the window hidden on focus lost")


def test_step_keys_tray_menu_menu_bar_and_about_links(app, session, client, tmp_path):
    """Ctrl+D notes the editor and shows the window with the list focused, Enter pastes and hides;
    the hot key brings a window behind forward and hides one in front; previous and next step from
    the newest over gaps and stay at the newest, a capture moves the start; the tray menu by Up and
    Enter pastes the newest, by a click the one above; the menu bar's Help by Alt+H and by a click,
    its About entry by mnemonic and by a click. About box: version and link
    texts; a failed open explains why, link left unvisited; with no association of its own the
    address goes to the web page handler, cut at its placeholder; the mail link hands the address to
    its association, then shows visited; the home link and the Help menu's home page open the same
    address; closes with the program running on"""
    path = write_history(session, [(sf.text_record if i > 9 else unicode_record)(i, text_of(i)) for i in IDS])
    edit, w = start_with_editor(app, "CountMenuItemsInRange=15\n"), SelectionWindow(app)
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

    for keys, pasted in [((VK_UP, VK_RETURN), "record 16"), (None, "record 15")]:
        editor_in_front(app)
        xdotool(session, "mousemove", 1100, 600)  # the menu opens at the pointer
        menu = open_menu(app, lambda: client.post(app.window, WM_TRAY_CALLBACK, 0, WM_RBUTTONDOWN))
        left, _, right, bottom = client.rect(menu)
        if keys:
            # Injected by another Windows program: an X key event goes to the X focus, not to the menu.
            client.call("keys", *[event for key in keys for event in (key, f"{key}:up")])
        else:
            xdotool(session, "mousemove", (left + right) // 2, bottom - 12)
            point_and_click(app, (left + right) // 2, bottom - 34)  # the entry above the newest
        wait_for(lambda: not client.visible(menu) and client.text(edit).endswith(pasted), what=f"{pasted} pasted")

    shown(app)
    menu = open_menu(app, lambda: press_real_keys(app, "key alt+h"))
    help_left, help_top = client.rect(menu)[:2]
    xdotool(session, "key", "a")
    close_about_box(client, about_box(client))
    menu = open_menu(app, lambda: point_and_click(app, help_left + 10, help_top - 8))
    for key in (r"HKCR\mailto", r"HKCR\.htm"):
        reg(session, "delete", key)
    point_and_click(app, client.rect(menu)[0] + 40, client.rect(menu)[3] - 12)  # About, the last entry
    box = about_box(client)
    assert client.item_text(box, VERSION) == "Version 1.4,  May 22, 2007"
    assert client.item_text(box, HOME_LINK) == "yarrowkit.tamberlyn.example"
    rect = client.rect(client.item(box, MAIL_LINK))
    opened = lambda: session.reg_query(RECORDER_KEY, "opened")  # noqa: E731

    def click(link_rect):
        point_and_click(app, link_rect[0] + 4, (link_rect[1] + link_rect[3]) // 2)

    click(rect)
    text = client.wait_message_box("yarrowkit")
    assert text.startswith("Unable to open hyperlink:\n\n") and text.split("\n\n", 1)[1], "and why"
    client.press("yarrowkit", "OK")
    xdotool(session, "mousemove", 5, 5)
    client.on("idle", box)  # the move off the link handled and painted
    assert VISITED not in colours(session, rect, tmp_path / "unvisited.png")

    reg(session, "add", r"HKCR\.htm", "/ve", "/d", "ykTestPage")  # no association of the address's own
    for command_key in (r"HKCR\ykTestPage\shell\open\command", r"HKCR\mailto\shell\open\command"):
        reg(session, "add", command_key, "/ve", "/d", RECORDER)
        click(rect)
        assert wait_for(opened, 20, what="the address handed on") == MAIL
        reg(session, "delete", RECORDER_KEY)
        reg(session, "delete", r"HKCR\.htm")
    xdotool(session, "mousemove", 5, 5)  # off the link: the hover colour goes, the visited one shows
    wait_for(lambda: VISITED in colours(session, rect, tmp_path / "visited.png"), what="the visited colour")
    assert client.message_box("yarrowkit") is None

    reg(session, "add", r"HKCR\https\shell\open\command", "/ve", "/d", RECORDER)
    client.command(app.window, ID_HOME_PAGE)
    assert wait_for(opened, 20, what="the address of the menu command") == HOME_PAGE
    reg(session, "delete", RECORDER_KEY)
    click(client.rect(client.item(box, HOME_LINK)))
    assert wait_for(opened, 20, what="the address of the link") == HOME_PAGE
    close_about_box(client, box)
    assert app.running()
