"""The selection window's list, its paging and the preview tooltip, against real history files."""
import time

import pytest

import storedform
from harness import wait_for
from selection import IDC_NEWER_PAGE, IDC_NEWEST_PAGE, IDC_OLDER_PAGE, IDC_OLDEST_PAGE, SelectionWindow

DTIME = 1700000000
WINE_TOOLTIP_TEXT_LIMIT = 1023
RULE = "=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-==-=-="


def type_of(record_id):
    return [storedform.PLAIN_TEXT, storedform.UNICODE_TEXT, storedform.RICH_TEXT, storedform.BITMAP][record_id % 4]


def image_of(item_type):
    return {storedform.UNICODE_TEXT: 0, storedform.RICH_TEXT: 2}.get(item_type, 1)


def caption_of(record_id):
    return "Image" if type_of(record_id) == storedform.BITMAP else f"clip number {record_id} \u00e9"


def record(record_id):
    item_type = type_of(record_id)
    if item_type == storedform.BITMAP:
        return storedform.image_record(record_id, b"\x28\0\0\0" + bytes(range(40)), DTIME + record_id)
    if item_type == storedform.UNICODE_TEXT:  # the preview must show Data, not the ANSI Text
        return storedform.insert_statement(record_id, DTIME + record_id, caption_of(record_id), "notepad.exe",
                                           "Untitled - Notepad", None, b"ansi text\0", item_type,
                                           caption_of(record_id).encode("utf-16-le") + b"\0\0")
    return storedform.text_record(record_id, caption_of(record_id), DTIME + record_id, item_type=item_type)


def write_history(session, count):
    storedform.write_history(session.config_folder / "vorla.sql", [record(i) for i in range(count)])


@pytest.fixture
def history200(session):
    write_history(session, 200)


def started(app, config=None):
    if config:
        app.write_config(config)
    app.start()
    return SelectionWindow(app)


def shown(app, config=None):
    window = started(app, config)
    app.show()
    wait_for(lambda: app.client.visible(app.window) and app.client.foreground() == app.window,
             what="the window in front")
    # The first load selects its item from a timer; a selection made before it would be undone.
    wait_for(lambda: not window.items() or window.selected_id() is not None, what="the first selection")
    return window


# ----- the list and its paging

def test_first_page_shows_the_newest_records_oldest_on_top(app, history200):
    w = started(app)
    w.wait_page(150, 199, "Items 151-200 of 200")
    items = w.items()
    for item in items:
        expected_type = type_of(item["id"])
        assert item["text"] == caption_of(item["id"])
        assert item["image"] == item["selected_image"] == image_of(expected_type), item
    assert {item["image"] for item in items} == {0, 1, 2}
    assert w.buttons() == (True, True, False, False)
    wait_for(lambda: w.selected_id() == 199, what="the newest item selected")


def test_each_paging_button(app, history200):
    w = started(app)
    w.wait_page(150, 199, "Items 151-200 of 200")
    w.click(IDC_OLDER_PAGE)
    w.wait_page(100, 149, "Items 101-150 of 200")
    assert w.buttons() == (True, True, True, True)
    w.click(IDC_OLDEST_PAGE)
    w.wait_page(0, 49, "Items 1-50 of 200")
    assert w.buttons() == (False, False, True, True)
    w.click(IDC_NEWER_PAGE)
    w.wait_page(50, 99, "Items 51-100 of 200")
    w.click(IDC_NEWEST_PAGE)
    w.wait_page(150, 199, "Items 151-200 of 200")
    assert w.buttons() == (True, True, False, False)


def test_older_next_to_the_oldest_page_gives_a_full_page(app, session):
    write_history(session, 120)
    w = started(app)
    w.wait_page(70, 119, "Items 71-120 of 120")
    w.click(IDC_OLDER_PAGE)
    w.wait_page(20, 69, "Items 21-70 of 120")
    w.click(IDC_OLDER_PAGE)
    w.wait_page(0, 49, "Items 1-50 of 120")
    w.click(IDC_NEWER_PAGE)
    w.wait_page(50, 99, "Items 51-100 of 120")
    assert w.buttons() == (True, True, True, True)


@pytest.mark.parametrize("count", [0, 30])
def test_short_and_empty_history(app, session, count):
    write_history(session, count)
    w = started(app)
    w.wait_page(0, count - 1, f"Items 1-{count} of {count}")
    assert w.buttons() == (False, False, False, False)
    wait_for(lambda: w.selected_id() == (count - 1 if count else None), what="the newest item selected")


def test_paging_while_hidden_keeps_the_window_hidden(app, client, history200):
    w = started(app)
    w.wait_page(150, 199, "Items 151-200 of 200")
    for button in (IDC_OLDER_PAGE, IDC_OLDEST_PAGE, IDC_NEWEST_PAGE):
        w.click(button)
    w.wait_page(150, 199, "Items 151-200 of 200")
    client.call("idle", f"{app.window:x}")
    assert not client.visible(app.window)


def test_move_selection_on_selects_the_bottom_item_at_every_reload(app, history200):
    w = shown(app)
    wait_for(lambda: w.selected_id() == 199)
    w.select(170)
    wait_for(lambda: w.selected_id() == 170)
    w.click(IDC_NEWEST_PAGE)  # a reload of the same page
    wait_for(lambda: w.selected_id() == 199, what="the bottom item")


def test_move_selection_off_keeps_the_selected_record(app, history200):
    w = shown(app, "[Main]\nMoveSelection=0\n")
    wait_for(lambda: w.selected_id() == 199)
    w.select(170)
    wait_for(lambda: w.selected_id() == 170)
    before = [item["handle"] for item in w.items()]
    w.click(IDC_NEWEST_PAGE)  # the same page, loaded again: new items, the record still selected
    wait_for(lambda: [item["handle"] for item in w.items()] != before, what="the page loaded again")
    wait_for(lambda: w.selected_id() == 170, what="record 170 selected again")
    w.click(IDC_OLDER_PAGE)  # the record is not on that page: its newest item
    w.wait_page(100, 149, "Items 101-150 of 200")
    wait_for(lambda: w.selected_id() == 149)


def test_page_query_error_changes_nothing(app, client, session):
    path = session.config_folder / "vorla.sql"
    write_history(session, 80)
    w = started(app)
    w.wait_page(30, 79, "Items 31-80 of 80")
    before = w.items()
    storedform.sqlite(path, "ALTER TABLE Log RENAME COLUMN Name TO Caption;")
    w.click(IDC_OLDER_PAGE)
    text = client.wait_message_box("YarrowKit Error #2")
    assert text.startswith("Can't read from database to tree\n Error #2 - ")
    assert "no such column: Name" in text
    client.answer("YarrowKit Error #2")
    assert w.items() == before
    assert w.label() == "Items 31-80 of 80"
    assert w.buttons() == (True, True, False, False)
    # The failed command left the offset alone: after repair, ">" stays on the newest page.
    storedform.sqlite(path, "ALTER TABLE Log RENAME COLUMN Caption TO Name;")
    w.click(IDC_NEWER_PAGE)
    w.wait_page(30, 79, "Items 31-80 of 80")


def test_table_without_name_column_reports_at_start(app, client, session):
    path = session.config_folder / "vorla.sql"
    path.parent.mkdir(parents=True, exist_ok=True)
    storedform.sqlite(path, "CREATE TABLE Log(Id int PRIMARY KEY, DTime int, Type int); "
                            "INSERT INTO Log VALUES (1, 0, 0);")
    app.start()
    text = client.wait_message_box("YarrowKit Error #2")
    assert text.startswith("Can't read from database to tree\n Error #2 - ")
    client.press("YarrowKit Error #2", "OK")
    w = SelectionWindow(app)
    assert w.items() == []


# ----- the preview tooltip

def local_time(seconds):
    return time.strftime("%m/%d/%y %H:%M:%S", time.localtime(seconds))


def expected_preview(record_id, body, source="notepad.exe", title="Untitled - Notepad"):
    return (RULE + f"\n        Application  :   {source}\n        Title             :   {title}\n"
            f"        Date&Time  :   {local_time(DTIME + record_id)}              Id  :   {record_id}\n"
            + RULE + "\n" + body)


def test_preview_follows_the_selection_and_the_window(app, client, history200):
    w = shown(app)
    w.show_preview(196)  # plain text
    assert w.preview_text() == expected_preview(196, caption_of(196))
    tooltip, _ = w.preview_tooltip()
    assert w.preview_beside_window()

    w.select(197)  # rich text shows its plain text
    wait_for(lambda: w.preview_text() == expected_preview(197, caption_of(197)))
    w.select(195)  # image
    wait_for(lambda: w.preview_text() == expected_preview(195, "\t\t\t\tThis item contains Image\n\n",
                                                          "mspaint.exe", "Paint"))
    w.select(193)  # Unicode text through the ANSI code page
    wait_for(lambda: w.preview_text() == expected_preview(193, caption_of(193)))

    client.call("move", f"{app.window:x}", 100, 120)
    wait_for(lambda: w.rect(app.window)[:2] == (100, 120))
    wait_for(w.preview_beside_window, what="the tooltip to follow")
    assert w.preview_visible()

    client.call("editor")  # another program takes the activation
    wait_for(lambda: not w.preview_visible(), what="the preview to hide")


def test_no_preview_while_hidden_or_switched_off(app, client, history200):
    w = started(app)
    w.wait_page(150, 199, "Items 151-200 of 200")
    w.select(180)
    time.sleep(0.5)  # a check that nothing shows: longer than the preview's own delay
    assert not w.preview_visible(), "a hidden window shows no preview"
    app.show()
    wait_for(lambda: client.foreground() == app.window)
    time.sleep(0.5)  # a check that nothing shows: longer than the preview's own delay
    assert not w.preview_visible(), "showing the window does not by itself show a preview"
    app.close_quietly()

    w = shown(app, "[Main]\nShowToolTip=0\n")
    w.select(180)
    client.call("move", f"{app.window:x}", 150, 90)
    time.sleep(0.5)  # a check that nothing shows: longer than the preview's own delay
    assert not w.preview_visible()


def test_long_clip_is_cut_at_a_blank(app, session, client):
    words = " ".join(f"word{i:04d}" for i in range(600))  # 5399 bytes
    storedform.write_history(session.config_folder / "vorla.sql",
                             [storedform.text_record(7, words, DTIME + 7, source_title=""),
                              storedform.text_record(8, "newest")])
    w = shown(app)
    w.show_preview(7, lambda: "Id  :   7\n" in w.preview_text())
    text = w.preview_text()
    header = (RULE + f"\n        Application  :   notepad.exe\n        Title             :   \n"
              f"        Date&Time  :   {local_time(DTIME + 7)}              Id  :   7\n" + RULE + "\n")
    full = header + words
    cut = full.rfind(" ", 0, 2001)
    expected = full[:cut] + "\n ...[text is truncated]"
    # Wine's tooltip keeps at most 1023 characters of a tool's text; the cut itself is checked
    # byte for byte by the unit tests.
    assert len(text) >= min(len(expected), WINE_TOOLTIP_TEXT_LIMIT)
    assert expected.startswith(text)
