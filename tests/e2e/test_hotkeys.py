"""The global hot keys, pressed as real key events: show and paste, and stepping through the history."""
import time

import storedform
from harness import wait_for
from selection import SelectionWindow

CF_TEXT = 1
VK_CONTROL, VK_SHIFT, VK_RETURN, VK_UP, VK_DOWN = 0x11, 0x10, 0x0D, 0x26, 0x28


def press(client, *keys, extended=()):
    def word(key, up=False):
        return f"{key}" + (":up" if up else "") + (":ext" if key in extended else "")
    client.keys(*[word(k) for k in keys], *[word(k, True) for k in reversed(keys)])


def test_ctrl_d_notes_the_editor_and_enter_pastes_into_it(app, session, client):
    storedform.write_history(session.config_folder / "vorla.sql", [storedform.text_record(0, "older"),
                                                                   storedform.text_record(1, "from history")])
    app.start()
    edit = int(client.call("editor"), 16)
    press(client, VK_CONTROL, ord("D"))
    wait_for(lambda: client.visible(app.window), what="the selection window")
    selection = SelectionWindow(app)
    wait_for(selection.selected_id, what="the first selection")
    assert client.focus_of(app.window) == selection.tree
    wait_for(lambda: client.foreground() == app.window, what="the window in front")
    press(client, VK_RETURN)
    wait_for(lambda: client.text(edit) == "from history", what="the pasted text")
    assert not client.visible(app.window)


def test_previous_and_next_step_from_the_newest_item(app, session, client):
    ids = [10, 11, 12, 15]
    storedform.write_history(session.config_folder / "vorla.sql",
                             [storedform.text_record(i, f"item {i}") for i in ids])
    app.start()
    client.call("editor")

    def step(key, expected):
        press(client, VK_CONTROL, VK_SHIFT, key, extended=(key,))
        wait_for(lambda: dict(client.clipboard()).get(CF_TEXT) == expected, what=f"{expected!r} in the clipboard")

    for expected in (b"item 12\0", b"item 11\0", b"item 10\0", b"item 10\0"):  # the oldest stays
        step(VK_UP, expected)
    step(VK_DOWN, b"item 11\0")
    time.sleep(0.3)  # a person's next copy: a pace past the program's debounce, not a wait
    client.copy_text("item 16")  # a capture moves the anchor to the new item
    wait_for(lambda: len(storedform.read_rows(session.config_folder / "vorla.sql")) == 5, what="the capture")
    step(VK_UP, b"item 15\0")
