"""The program's owner-drawn menus as a user drives them. The tray menu is opened as the shell opens
it, through the tray callback message with a right click; its contents are checked in-process
(tests/win/tray_menu_test.cpp), here choosing an entry pastes that record into the application in
front. The window's owner-drawn menu bar opens by its mnemonic and by a click."""
import os
import subprocess
import time

import storedform
from harness import ROOT, WM_TRAY_CALLBACK, hexed, wait_for

WM_MOUSEMOVE, WM_RBUTTONDOWN, WM_CHAR, WM_SYSCOMMAND = 0x200, 516, 0x102, 0x112
SC_KEYMENU = 0xF100
VK_RETURN, VK_UP = 0x0D, 0x26
ITEM_HEIGHT = 22  # of a menu item with an icon
RUNS_KEY = r"HKCU\Software\Tamberlyn\YarrowKit"
RECORDS = 20
DOCS = ROOT / "docs"


def xdotool(session, *args):
    subprocess.run(["xdotool", *map(str, args)], env=session.env, check=True, timeout=30)


def screenshots_wanted(session):
    """Pictures for docs/ only on request; then without the first-start balloon in front."""
    if not os.environ.get("YK_DOCS_SCREENSHOTS"):
        return False
    subprocess.run(["wine", "reg", "add", RUNS_KEY, "/v", "runs", "/t", "REG_DWORD", "/d", "1", "/f"],
                   env=session.env, capture_output=True, timeout=60)
    return True


def start_with_history(app, session, client, config=""):
    storedform.write_history(session.config_folder / "vorla.sql",
                             [storedform.text_record(i, f"record {i}") for i in range(RECORDS)])
    app.write_config("[Main]\n" + config)
    app.start()
    edit = int(client.call("editor"), 16)
    # The pointer passing over the icon notes the editor as the paste target.
    client.send(app.window, WM_TRAY_CALLBACK, 0, WM_MOUSEMOVE)
    return edit


def open_tray_menu(app, session):
    xdotool(session, "mousemove", 1100, 600)  # the menu opens at the pointer
    app.client.post(app.window, WM_TRAY_CALLBACK, 0, WM_RBUTTONDOWN)
    menu = wait_for(lambda: int(app.client.call("find_class", hexed("#32768")), 16), what="the tray menu")
    wait_for(lambda: app.client.visible(menu), what="the tray menu shown")
    return menu


def menu_rect(client, menu):
    return tuple(map(int, client.call("rect", f"{menu:x}").split()))


def test_the_last_entry_chosen_by_keys_pastes_the_newest_record(app, session, client):
    edit = start_with_history(app, session, client, "CountMenuItemsInRange=15\n")
    menu = open_tray_menu(app, session)
    # Up from no selection wraps to the bottom entry, the newest record.
    client.keys(VK_UP, f"{VK_UP}:up", VK_RETURN, f"{VK_RETURN}:up")
    wait_for(lambda: not client.visible(menu), what="the menu closed")
    wait_for(lambda: client.text(edit) == f"record {RECORDS - 1}", what="the newest record pasted")
    assert app.running()


def test_a_click_on_an_entry_pastes_that_record(app, session, client):
    screenshots = screenshots_wanted(session)
    edit = start_with_history(app, session, client, "CountMenuItemsInRange=3\n")
    menu = open_tray_menu(app, session)
    left, top, right, bottom = menu_rect(client, menu)
    middle = (left + right) // 2
    xdotool(session, "mousemove", middle, top + 3 * ITEM_HEIGHT + 12)  # "Help" opens its submenu
    time.sleep(1.0)  # the pointer rests on Help as a person's does: a pace, not a wait
    if screenshots:
        session.screenshot(DOCS / "tray-menu.png")
    # The bottom entry is the newest; one item height above it the one before.
    xdotool(session, "mousemove", middle, bottom - 12)
    time.sleep(0.3)  # the pace of a person's pointer
    xdotool(session, "mousemove", middle, bottom - 12 - ITEM_HEIGHT)
    time.sleep(0.3)  # the pace of a person's pointer
    xdotool(session, "click", 1)
    wait_for(lambda: not client.visible(menu), what="the menu closed")
    wait_for(lambda: client.text(edit) == f"record {RECORDS - 2}", what="the record before the newest pasted")


def open_about_from(client, session, menu):
    """Chooses "About", the last item of the Help menu, with a click."""
    left, _, right, bottom = menu_rect(client, menu)
    xdotool(session, "mousemove", (left + right) // 2, bottom - 12)
    time.sleep(0.3)  # the pace of a person's pointer
    xdotool(session, "click", 1)


def close_about_box(client):
    box = wait_for(lambda: int(client.call("dialog_with", hexed("Yarrowkit")), 16), what="the about box")
    client.command(box, 1)
    wait_for(lambda: not client.exists(box), what="the about box closed")


def shown_menu(client, what):
    menu = wait_for(lambda: int(client.call("find_class", hexed("#32768")), 16), what=what)
    wait_for(lambda: client.visible(menu), what=f"{what} shown")
    return menu


def test_menu_bar_opens_by_mnemonic_and_by_click(app, session, client):
    screenshots = screenshots_wanted(session)
    app.start()
    app.show()
    # Alt+H as the window receives it; the drop-down opens under its bar item.
    client.post(app.window, WM_SYSCOMMAND, SC_KEYMENU, ord("h"))
    help_left, help_top, _, _ = menu_rect(client, shown_menu(client, "the Help menu"))
    client.post(app.window, WM_CHAR, ord("a"))
    close_about_box(client)

    xdotool(session, "mousemove", help_left + 10, help_top - 8)
    time.sleep(0.3)  # the pace of a person's pointer
    xdotool(session, "click", 1)
    menu = shown_menu(client, "the Help menu opened by a click")
    if screenshots:
        left, top, _, _ = menu_rect(client, menu)
        xdotool(session, "mousemove", left + 40, top + 2 * ITEM_HEIGHT + 12)  # over "Send Feedback..."
        time.sleep(0.8)  # pictures for the docs only: the hover painted
        session.screenshot(DOCS / "menu-bar.png")
    open_about_from(client, session, menu)
    close_about_box(client)
    assert app.running()
