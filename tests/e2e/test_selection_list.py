"""Browsing the history: the list, its paging and the preview, over a file an earlier build wrote."""
import time

import storedform as sf
from harness import wait_for
from selection import (IDC_NEWER_PAGE, IDC_NEWEST_PAGE, IDC_OLDER_PAGE, IDC_OLDEST_PAGE,
                       SelectionWindow, shown, unicode_record, write_history)

COUNT = 220
SCRIPTS = ["Привет, мир", "Γειά σου Κόσμε", "你好世界", "Smile \U0001F600 end"]
TYPES = [sf.PLAIN_TEXT, sf.UNICODE_TEXT, sf.RICH_TEXT, sf.BITMAP]
ICONS = {sf.UNICODE_TEXT: 0, sf.PLAIN_TEXT: 1, sf.BITMAP: 1, sf.RICH_TEXT: 2}


def text_of(i):
    return {sf.UNICODE_TEXT: f"{SCRIPTS[i // 4 % 4]} {i}", sf.BITMAP: "Image"}.get(TYPES[i % 4], f"clip {i} \u00e9")


def record(i):
    if TYPES[i % 4] == sf.BITMAP:
        return sf.image_record(i, b"\x28\0\0\0" + bytes(range(40)), 1700000000 + i)
    if TYPES[i % 4] == sf.UNICODE_TEXT:
        return unicode_record(i, text_of(i), 1700000000 + i)
    return sf.text_record(i, text_of(i), 1700000000 + i, item_type=TYPES[i % 4])


def no_preview_shows(window):
    time.sleep(0.5)  # a check that nothing shows: longer than the preview's own delay
    return not window.preview_tooltip()[1]


def test_browsing_pages_previews_and_a_broken_table(app, client, session):
    """paging buttons and range label, also while hidden, which shows nothing; items oldest on top,
    by type's icon, texts in any script as written; no preview from showing alone; move-selection
    on: the bottom item at a reload; the preview beside the window shows the item (rich text as
    plain, an image's note), follows the window, hides on deactivation; a failed page query changes
    nothing, nor the offset; move-selection off keeps the record; ShowToolTip=0"""
    path = write_history(session, [record(i) for i in range(COUNT)])
    w = SelectionWindow(app.start())
    w.select(200)
    assert no_preview_shows(w)
    for button, first, buttons in [(IDC_NEWEST_PAGE, 170, (True, True, False, False)), (IDC_OLDER_PAGE, 120, (True,) * 4),
                                   (IDC_OLDEST_PAGE, 0, (False, False, True, True)), (IDC_NEWER_PAGE, 50, (True,) * 4),
                                   (IDC_NEWEST_PAGE, 170, (True, True, False, False))]:
        w.click(button)
        w.wait_page(first, first + 49, f"Items {first + 1}-{first + 50} of {COUNT}")
        assert w.buttons() == buttons
    assert not client.visible(app.window)

    w = shown(app)
    assert no_preview_shows(w)
    assert [(item["text"], item["image"], item["selected_image"]) for item in w.items()] == [
        (text_of(i), ICONS[TYPES[i % 4]], ICONS[TYPES[i % 4]]) for i in range(170, 220)]
    w.select(200)
    w.click(IDC_NEWEST_PAGE)  # a reload of the same page
    wait_for(lambda: w.selected_id() == 219, what="the bottom item selected")
    w.show_preview(212)
    assert w.preview_beside_window()
    for i, body in [(212, text_of(212)), (214, text_of(214)), (215, "This item contains Image"), (217, text_of(217))]:
        w.select(i)
        wait_for(lambda: f"Id  :   {i}\n" in w.preview_text() and body in w.preview_text(), what=f"preview {i}")
    client.call("move", f"{app.window:x}", 100, 120)
    wait_for(w.preview_beside_window, what="the preview to follow the window")
    client.call("editor")  # another program takes the activation
    wait_for(lambda: not w.preview_tooltip()[1], what="the preview to hide")

    before = (w.items(), w.label(), w.buttons())
    sf.sqlite(path, "ALTER TABLE Log RENAME COLUMN Name TO Caption;")
    w.click(IDC_OLDER_PAGE)
    text = client.wait_message_box("YarrowKit Error #2")
    assert text.startswith("Can't read from database to tree\n Error #2 - ") and "no such column: Name" in text
    client.answer("YarrowKit Error #2")
    assert (w.items(), w.label(), w.buttons()) == before
    sf.sqlite(path, "ALTER TABLE Log RENAME COLUMN Caption TO Name;")
    w.click(IDC_NEWER_PAGE)  # the offset was left alone: still the newest page
    w.wait_page(170, 219, "Items 171-220 of 220")
    app.close_quietly()

    app.write_config("[Main]\nMoveSelection=0\nShowToolTip=0\n")
    app.start()
    w = shown(app)
    w.select(190)
    assert no_preview_shows(w)
    handles = [item["handle"] for item in w.items()]
    w.click(IDC_NEWEST_PAGE)
    wait_for(lambda: [item["handle"] for item in w.items()] != handles and w.selected_id() == 190, what="reloaded")
    w.click(IDC_OLDER_PAGE)  # the record is not on that page: its newest item
    w.wait_page(120, 169, "Items 121-170 of 220")
    wait_for(lambda: w.selected_id() == 169, what="the newest item of the page")
