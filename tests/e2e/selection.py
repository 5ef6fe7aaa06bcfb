"""The selection window, read through the test client and driven by real X input; helpers the journeys share."""
import time

import storedform
from harness import (IDC_ITEM_TREE, WM_COMMAND, WM_TRAY_CALLBACK, hexed, select_item, tree_items, unhexed, wait_for,
                     x_focus, xdotool)

IDC_RANGE_LABEL, IDC_COPY, IDC_FIND_BOX, IDC_PASTE = 1001, 1008, 1030, 137
IDC_OLDEST_PAGE, IDC_OLDER_PAGE, IDC_NEWER_PAGE, IDC_NEWEST_PAGE = PAGING_BUTTONS = (1002, 1003, 1004, 1005)
ID_DELETE_CLIP, ID_PASTE_TO_TARGET, WM_MOUSEMOVE, WM_RBUTTONDOWN = 32774, 32773, 0x200, 516


def within(predicate, seconds):
    try:
        return wait_for(predicate, seconds)
    except TimeoutError:
        return False


class SelectionWindow:
    def __init__(self, app):
        self.client, self.window = app.client, app.window
        self.tree = self.client.item(self.window, IDC_ITEM_TREE)

    def items(self):
        return tree_items(self.client, self.tree)

    def ids(self):
        return [item["id"] for item in self.items()]

    def selected_id(self):
        return next((item["id"] for item in self.items() if item["selected"]), None)

    def label(self):
        return self.client.item_text(self.window, IDC_RANGE_LABEL)

    def buttons(self):
        return tuple(self.client.on("enabled", self.client.item(self.window, b)) == "1" for b in PAGING_BUTTONS)

    def click(self, button):
        self.client.post(self.window, WM_COMMAND, button, self.client.item(self.window, button))

    def wait_page(self, first_id, last_id, label):
        wait_for(lambda: self.ids() == list(range(first_id, last_id + 1)) and self.label() == label, what=label)

    def select(self, record_id):
        select_item(self.client, self.tree, record_id)

    def preview_tooltip(self):  # (handle, visible) of our tracking tooltip: owned by the window, no prefix, topmost
        for handle, owner, style, exstyle, visible in (e.split(":") for e in
                                                       self.client.on("tooltips", self.window).split()):
            if int(owner, 16) == self.window and int(style, 16) & 0x02 and int(exstyle, 16) & 0x08:
                return int(handle, 16), visible == "1"
        return None, False

    def preview_text(self):
        return unhexed(self.client.on("tool_text_w", self.preview_tooltip()[0])).decode("utf-16-le")

    def show_preview(self, record_id):
        """Selected afresh when a deactivation Wine passes on while the X focus settles hid the preview."""
        for attempt in range(4):
            if attempt:
                wait_for(lambda: self.client.foreground() == self.window, what="the window in front")
                self.select(next(other for other in self.ids() if other != record_id))
            self.select(record_id)
            if within(lambda: self.preview_tooltip()[1], 4):
                return
        raise TimeoutError(f"timed out waiting for the preview of {record_id}")

    def preview_beside_window(self):  # 5 px right of the frame, 10 below the client top (the tip's frame may add 1)
        left, top = self.client.rect(self.preview_tooltip()[0])[:2]
        client_top = int(self.client.on("client_origin", self.window).split()[1])
        return 4 <= left - self.client.rect(self.window)[2] <= 5 and 9 <= top - client_top <= 10


def unicode_record(record_id, text, dtime=1700000000):  # as an earlier build kept it: a lossy ANSI copy beside
    return storedform.insert_statement(record_id, dtime, "?", "notepad.exe", "Notepad", None, b"?\0",
                                       storedform.UNICODE_TEXT, text.encode("utf-16-le") + b"\0\0")


def write_history(session, statements):
    path = session.config_folder / "vorla.sql"
    storedform.write_history(path, statements)
    return path


def shown(app):  # the window in front, after the first load's timer has selected its item
    app.show()
    wait_for(lambda: app.client.visible(app.window) and app.client.foreground() == app.window, what="the window")
    window = SelectionWindow(app)
    wait_for(lambda: not window.items() or window.selected_id() is not None, what="the first selection")
    return window


def editor_in_front(app):  # the test editor in front, noted as paste target by the pointer passing over the tray icon
    edit = int(app.client.call("editor"), 16)
    # The program takes the focus window of the thread in front: the editor's activation comes first.
    wait_for(lambda: app.client.focus_of(app.client.foreground()) == edit, what="the editor in front")
    app.client.send(app.window, WM_TRAY_CALLBACK, 0, WM_MOUSEMOVE)
    return edit


def start_with_editor(app, config=""):
    app.write_config("[Main]\n" + config)
    return editor_in_front(app.start())


def keys_in_editor(app, *keys):  # typed while the editor has the X focus, as a person presses a global hot key
    editor_in_front(app)
    x_focus(app.session, "Yarrowkit Test Editor")
    xdotool(app.session, "key", *keys)


def point_and_click(app, x, y, *click):
    xdotool(app.session, "mousemove", x, y)
    time.sleep(0.3)  # a person rests the pointer before clicking: a pace, not a wait
    xdotool(app.session, "click", *click, 1)


def open_menu(app, how):
    how()
    menu = wait_for(lambda: int(app.client.call("find_class", hexed("#32768")), 16), what="a menu")
    wait_for(lambda: app.client.visible(menu), what="the menu shown")
    return menu


def press_real_keys(app, *keys):
    """xdotool commands into the selection window ("key ctrl+c" lets go of Ctrl first). Late X events can undo
    the X focus and under load X can refuse it (BadMatch): then a click on the title bar, as a person would."""
    left, top = app.client.rect(app.window)[:2]
    for attempt in range(4):
        if attempt:
            xdotool(app.session, "mousemove", left + 40, top + 10, "click", 1)
        else:
            x_focus(app.session, "Yarrowkit. Select", check=False)
        if within(lambda: app.client.foreground() == app.window, 3):
            break
    else:
        raise TimeoutError("timed out waiting for the selection window in front")
    # In front is not yet typing into it: under load the keyboard focus comes a moment later.
    wait_for(lambda: app.client.focus_of(app.window) != 0, what="the keyboard focus in the selection window")
    for key in keys:
        xdotool(app.session, *key.split())
