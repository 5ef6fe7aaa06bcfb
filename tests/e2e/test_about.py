"""The about box: its texts, its links' tooltips, and what a click on a link does."""
import subprocess
import time

import pytest

from harness import hexed, wait_for

ID_ABOUT, ID_HOME_PAGE = 103, 115
HOME_PAGE = "https://yarrowkit.tamberlyn.example/"  # the README's address
MAIL_LINK, HOME_LINK, VERSION = 1007, 1006, 1011
VISITED = "#551A8B"
RECORDER_KEY = r"HKCU\Software\YarrowkitTest"
RECORDER = r"C:\windows\system32\reg.exe add " + RECORDER_KEY + r" /v opened /f /d %1"


def reg(session, *args):
    subprocess.run(["wine", "reg", *args, "/f"], env=session.env, capture_output=True, timeout=60)


def open_about(app, client):
    client.command(app.window, ID_ABOUT)
    return wait_for(lambda: int(client.call("dialog_with", hexed("Yarrowkit")), 16), what="the about box")


def link_rect(client, box, control_id):
    return tuple(map(int, client.call("rect", f"{client.item(box, control_id):x}").split()))


def mouse(session, *args):
    subprocess.run(["xdotool", *map(str, args)], env=session.env, check=True, timeout=30)


def click(session, rect):
    mouse(session, "mousemove", rect[0] + 4, (rect[1] + rect[3]) // 2)
    time.sleep(0.3)  # a person rests the pointer before clicking: a pace, not a wait
    mouse(session, "click", 1)


def colours(session, rect, path):
    """The colours of the screen inside rect, as ImageMagick names them in hex."""
    session.screenshot(path)
    left, top, right, bottom = rect
    out = subprocess.run(["/usr/bin/convert", str(path), "-crop", f"{right - left}x{bottom - top}+{left}+{top}",
                          "-format", "%c", "histogram:info:-"], capture_output=True, text=True, check=True)
    return out.stdout.upper()


def test_about_box_shows_version_and_links_and_closes(app, client):
    app.start()
    box = open_about(app, client)
    assert client.item_text(box, VERSION) == "Version 1.4,  May 22, 2007"
    tips = []
    for entry in client.call("tooltips", f"{box:x}").split():
        tooltip, owner = entry.split(":")[:2]
        if int(owner, 16) == box:  # a child's tooltip is owned by its top-level window
            tips.append(bytes.fromhex(client.call("tool_text", tooltip)).decode("latin-1"))
    assert sorted(tips) == ["E-mail support@tamberlyn.example", HOME_PAGE]
    assert client.item_text(box, HOME_LINK) == "yarrowkit.tamberlyn.example"
    client.command(box, 1)
    wait_for(lambda: not client.exists(box), what="the about box to close")
    assert app.running()


def test_clicking_the_mail_link_hands_the_address_to_the_shell(app, client, session, tmp_path):
    reg(session, "add", r"HKCR\mailto\shell\open\command", "/ve", "/d", RECORDER)
    app.start()
    box = open_about(app, client)
    rect = link_rect(client, box, MAIL_LINK)
    assert VISITED not in colours(session, rect, tmp_path / "before.png")
    click(session, rect)
    opened = wait_for(lambda: session.reg_query(RECORDER_KEY, "opened"), 20, what="the mail handler")
    assert opened == "mailto:support@tamberlyn.example"
    mouse(session, "mousemove", 5, 5)  # off the link: the hover colour goes, the visited one shows
    wait_for(lambda: VISITED in colours(session, rect, tmp_path / "after.png"), what="the visited colour")
    assert client.message_box("yarrowkit") is None


def test_the_home_link_opens_the_address_of_the_help_menus_home_page(app, client, session):
    reg(session, "add", r"HKCR\https\shell\open\command", "/ve", "/d", RECORDER)
    app.start()
    client.command(app.window, ID_HOME_PAGE)
    opened = lambda: session.reg_query(RECORDER_KEY, "opened")
    assert wait_for(opened, 20, what="the address of the menu command") == HOME_PAGE
    reg(session, "delete", RECORDER_KEY)
    box = open_about(app, client)
    click(session, link_rect(client, box, HOME_LINK))
    assert wait_for(opened, 20, what="the address of the link") == HOME_PAGE


def test_a_failed_open_explains_why_and_leaves_the_link_unvisited(app, client, session, tmp_path):
    # Neither the address's own association nor the web-page fallback exists.
    reg(session, "delete", r"HKCR\mailto")
    reg(session, "delete", r"HKCR\.htm")
    app.start()
    box = open_about(app, client)
    rect = link_rect(client, box, MAIL_LINK)
    click(session, rect)
    text = client.wait_message_box("yarrowkit")
    assert text.startswith("Unable to open hyperlink:\n\n")
    assert text.split("\n\n", 1)[1] in ("There is no application associated\nwith the given filename extension.",
                                        "The specified file was not found.")
    client.press("yarrowkit", "OK")
    mouse(session, "mousemove", 5, 5)
    client.call("idle", f"{box:x}")  # the move off the link handled and painted
    assert VISITED not in colours(session, rect, tmp_path / "after.png")


def test_a_failed_association_falls_back_on_the_web_browser(app, client, session):
    reg(session, "delete", r"HKCR\mailto")
    reg(session, "add", r"HKCR\.htm", "/ve", "/d", "ykTestPage")
    reg(session, "add", r"HKCR\ykTestPage\shell\open\command", "/ve", "/d", RECORDER)
    app.start()
    box = open_about(app, client)
    click(session, link_rect(client, box, MAIL_LINK))
    # The template is cut at its placeholder and the address appended after a blank.
    opened = wait_for(lambda: session.reg_query(RECORDER_KEY, "opened"), 20, what="the fallback browser")
    assert opened == "mailto:support@tamberlyn.example"
