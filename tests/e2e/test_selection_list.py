"""Browsing the history: the list, its paging and the preview, over a file an earlier build wrote."""
import time

import storedform as sf
from harness import TITLE, wait_for
from selection import (IDC_NEWER_PAGE, IDC_NEWEST_PAGE, IDC_OLDER_PAGE, IDC_OLDEST_PAGE, ID_DELETE_CLIP,
                       SelectionWindow, shown, stored_ids, write_history)

DTIME, COUNT, LONG_ID = 1700000000, 220, 216
SCRIPTS = ["Привет, мир", "Γειά σου Κόσμε", "你好世界", "Smile \U0001F600 end"]
WORDS = " ".join(f"word{i:04d}" for i in range(600))  # 5399 bytes
RULE = "=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-==-=-="
TYPES = [sf.PLAIN_TEXT, sf.UNICODE_TEXT, sf.RICH_TEXT, sf.BITMAP]
ICONS = {sf.UNICODE_TEXT: 0, sf.PLAIN_TEXT: 1, sf.BITMAP: 1, sf.RICH_TEXT: 2}


def text_of(i):
    return {sf.UNICODE_TEXT: f"{SCRIPTS[i // 4 % 4]} {i}", sf.BITMAP: "Image"}.get(
        TYPES[i % 4], WORDS if i == LONG_ID else f"clip number {i} \u00e9")


def record(i):
    """Unicode items as the earlier build kept them: a lossy ANSI copy beside the Unicode block."""
    if TYPES[i % 4] == sf.BITMAP:
        return sf.image_record(i, b"\x28\0\0\0" + bytes(range(40)), DTIME + i)
    if TYPES[i % 4] == sf.UNICODE_TEXT:
        return sf.insert_statement(i, DTIME + i, "?" * 6, "notepad.exe", "Untitled - Notepad", None, b"??????\0",
                                   sf.UNICODE_TEXT, text_of(i).encode("utf-16-le") + b"\0\0")
    return sf.text_record(i, text_of(i), DTIME + i, item_type=TYPES[i % 4])


def preview(i, body=None):
    source = ("mspaint.exe", "Paint") if TYPES[i % 4] == sf.BITMAP else ("notepad.exe", "Untitled - Notepad")
    when = time.strftime("%m/%d/%y %H:%M:%S", time.localtime(DTIME + i))
    return (f"{RULE}\n        Application  :   {source[0]}\n        Title             :   {source[1]}\n"
            f"        Date&Time  :   {when}              Id  :   {i}\n{RULE}\n" + (body or text_of(i)))


def no_preview_shows(window):
    time.sleep(0.5)  # a check that nothing shows: longer than the preview's own delay
    return not window.preview_visible()


def side_ids(path):
    return [int(n) for n in sf.sqlite(path, "SELECT rowid FROM LogText ORDER BY rowid;")]


def test_browsing_pages_previews_and_a_broken_table(app, client, session):
    """paging buttons and range label, full page next to the oldest; paging while hidden stays hidden;
    no preview while hidden, nor from showing alone; items oldest on top with their type's icon;
    texts in any script as written in list and preview; move-selection on: the bottom item at a
    reload; preview beside the window with header and body per type (rich as plain, image note),
    follows the window, hides on deactivation; long clip cut at a blank; page query error changes
    nothing, offset kept; an earlier build's file gets its side table, Delete keeps it in step;
    move-selection off keeps the record; ShowToolTip=0; table without Name reported at start"""
    path = write_history(session, [record(i) for i in range(COUNT)])
    w = SelectionWindow(app.start())
    w.wait_page(170, 219, "Items 171-220 of 220")
    assert w.buttons() == (True, True, False, False)
    wait_for(lambda: side_ids(path) == list(range(COUNT)), what="the side table made")
    w.select(200)
    assert no_preview_shows(w)
    for button, first, buttons in [(IDC_OLDER_PAGE, 120, (True,) * 4), (IDC_OLDER_PAGE, 70, None),
                                   (IDC_OLDER_PAGE, 20, None), (IDC_OLDER_PAGE, 0, (False, False, True, True)),
                                   (IDC_NEWER_PAGE, 50, (True,) * 4), (IDC_OLDEST_PAGE, 0, None),
                                   (IDC_NEWEST_PAGE, 170, (True, True, False, False))]:
        w.click(button)
        w.wait_page(first, first + 49, f"Items {first + 1}-{first + 50} of {COUNT}")
        assert buttons is None or w.buttons() == buttons
    client.call("idle", f"{app.window:x}")
    assert not client.visible(app.window)

    w = shown(app)
    assert no_preview_shows(w)
    assert [(item["text"], item["image"], item["selected_image"]) for item in w.items()] == [
        ((text_of(i) if i != LONG_ID else WORDS[:50] + "..."), ICONS[TYPES[i % 4]], ICONS[TYPES[i % 4]])
        for i in range(170, 220)]
    assert w.selected_id() == 219
    w.select(200)
    w.click(IDC_NEWEST_PAGE)  # a reload of the same page
    wait_for(lambda: w.selected_id() == 219, what="the bottom item selected")

    w.show_preview(LONG_ID, lambda: f"Id  :   {LONG_ID}\n" in w.preview_text())
    full = preview(LONG_ID)
    cut = full[:full.rfind(" ", 0, 2001)] + "\n ...[text is truncated]"
    # Wine's tooltip keeps at most 1023 characters; the cut itself is a unit test's.
    assert len(w.preview_text()) >= min(len(cut), 1023) and cut.startswith(w.preview_text())
    assert w.preview_beside_window()
    for i, body in [(212, None), (214, None), (215, "\t\t\t\tThis item contains Image\n\n"), (213, None), (217, None)]:
        w.select(i)
        wait_for(lambda: w.preview_text() == preview(i, body), what=f"the preview of {i}")
    client.call("move", f"{app.window:x}", 100, 120)
    wait_for(w.preview_beside_window, what="the preview to follow the window")
    assert w.preview_visible()
    client.call("editor")  # another program takes the activation
    wait_for(lambda: not w.preview_visible(), what="the preview to hide")

    before = w.items()
    sf.sqlite(path, "ALTER TABLE Log RENAME COLUMN Name TO Caption;")
    w.click(IDC_OLDER_PAGE)
    text = client.wait_message_box("YarrowKit Error #2")
    assert text.startswith("Can't read from database to tree\n Error #2 - ") and "no such column: Name" in text
    client.answer("YarrowKit Error #2")
    assert (w.items(), w.label(), w.buttons()) == (before, "Items 171-220 of 220", (True, True, False, False))
    sf.sqlite(path, "ALTER TABLE Log RENAME COLUMN Caption TO Name;")
    w.click(IDC_NEWER_PAGE)  # the failed command left the offset: still the newest page
    w.wait_page(170, 219, "Items 171-220 of 220")

    w.select(219)
    client.command(app.window, ID_DELETE_CLIP)
    wait_for(lambda: stored_ids(path) == list(range(COUNT - 1)), what="the row deleted")
    assert side_ids(path) == list(range(COUNT - 1))
    app.close_quietly()

    app.write_config("[Main]\nMoveSelection=0\nShowToolTip=0\n")
    app.start()
    w = shown(app)
    w.select(190)
    assert no_preview_shows(w)
    handles = [item["handle"] for item in w.items()]
    w.click(IDC_NEWEST_PAGE)
    wait_for(lambda: [item["handle"] for item in w.items()] != handles, what="the page loaded again")
    wait_for(lambda: w.selected_id() == 190, what="the record selected again")
    w.click(IDC_OLDER_PAGE)  # the record is not on that page: its newest item
    w.wait_page(119, 168, "Items 120-169 of 219")
    wait_for(lambda: w.selected_id() == 168, what="the newest item of the page")
    app.close_quietly()

    sf.sqlite(path, "ALTER TABLE Log RENAME COLUMN Name TO Caption;")
    app.start(wait=False)
    assert client.wait_message_box("YarrowKit Error #2", 30).startswith("Can't read from database to tree\n")
    client.press("YarrowKit Error #2", "OK")
    app.window = wait_for(lambda: client.window(TITLE), what="the window")
    assert SelectionWindow(app).items() == []
