"""The about box's texts and links under the shell's associations (a recorder stands in for the handlers)."""
import subprocess

from harness import hexed, wait_for, xdotool
from options import reg
from selection import point_and_click

ID_ABOUT, ID_HOME_PAGE, HOME_LINK, MAIL_LINK, VERSION = 103, 115, 1006, 1007, 1011
HOME_PAGE, MAIL = "https://yarrowkit.tamberlyn.example/", "mailto:support@tamberlyn.example"
VISITED = "#551A8B"
RECORDER_KEY = r"HKCU\Software\YarrowkitTest"
RECORDER = r"C:\windows\system32\reg.exe add " + RECORDER_KEY + r" /v opened /f /d %1"


def colours(session, rect, path):
    """The colours of the screen inside rect, as ImageMagick names them in hex."""
    session.screenshot(path)
    left, top, right, bottom = rect
    return subprocess.run(["/usr/bin/convert", str(path), "-crop", f"{right - left}x{bottom - top}+{left}+{top}",
                           "-format", "%c", "histogram:info:-"], capture_output=True, text=True,
                          check=True).stdout.upper()


def test_about_box_texts_and_links(app, client, session, tmp_path):
    """version and link texts; a failed open explains why, link left unvisited; with no association
    of its own the address goes to the web page handler, cut at its placeholder; the mail link hands
    the address to its association, then shows visited; the home link and the Help menu's home page
    open the same address; closes with the program running on"""
    for key in (r"HKCR\mailto", r"HKCR\.htm"):
        reg(session, "delete", key)
    app.start()
    client.command(app.window, ID_ABOUT)
    box = wait_for(lambda: int(client.call("dialog_with", hexed("Yarrowkit")), 16), what="the about box")
    assert client.item_text(box, VERSION) == "Version 1.4,  May 22, 2007"
    assert client.item_text(box, HOME_LINK) == "yarrowkit.tamberlyn.example"
    rect = client.rect(client.item(box, MAIL_LINK))
    opened = lambda: session.reg_query(RECORDER_KEY, "opened")

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
    client.command(box, 1)
    wait_for(lambda: not client.exists(box), what="the about box to close")
    assert app.running()
