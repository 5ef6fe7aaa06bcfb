"""The selection window of the running program, read and driven through the test client."""
import subprocess
import time

from harness import WM_COMMAND, ClientError, unhexed, wait_for

IDC_RANGE_LABEL = 1001
IDC_OLDEST_PAGE, IDC_OLDER_PAGE, IDC_NEWER_PAGE, IDC_NEWEST_PAGE = 1002, 1003, 1004, 1005
PAGING_BUTTONS = (IDC_OLDEST_PAGE, IDC_OLDER_PAGE, IDC_NEWER_PAGE, IDC_NEWEST_PAGE)
IDC_ITEM_TREE = 1006
TVM_SELECTITEM = 0x110B
TVGN_CARET = 9
TTS_NOPREFIX = 0x02
WS_EX_TOPMOST = 0x08


class SelectionWindow:
    """Reads and drives the list of the running program through the test client."""

    def __init__(self, app):
        self.app, self.client, self.window = app, app.client, app.window
        self.tree = self.client.item(self.window, IDC_ITEM_TREE)

    def items(self):
        # A read from another process can race a reload that deletes the items being walked.
        for _ in range(20):
            try:
                return self._read_items()
            except ClientError as error:
                if str(error) != "getitem":
                    raise
                time.sleep(0.05)  # the pace of the retries
        return self._read_items()

    def _read_items(self):
        result = []
        for entry in self.client.call("tree_items", f"{self.tree:x}").split():
            handle, data, image, selected_image, selected, text = entry.split(",")
            result.append({"handle": int(handle, 16), "id": int(data), "image": int(image),
                           "selected_image": int(selected_image), "selected": selected == "1",
                           "text": unhexed(text).decode("cp1252")})
        return result

    def ids(self):
        return [item["id"] for item in self.items()]

    def selected_id(self):
        chosen = [item["id"] for item in self.items() if item["selected"]]
        return chosen[0] if chosen else None

    def label(self):
        return self.client.item_text(self.window, IDC_RANGE_LABEL)

    def buttons(self):
        return tuple(self.client.call("enabled", f"{self.client.item(self.window, b):x}") == "1"
                     for b in PAGING_BUTTONS)

    def click(self, button):
        self.client.post(self.window, WM_COMMAND, button, self.client.item(self.window, button))

    def wait_page(self, first_id, last_id, label):
        expected = list(range(first_id, last_id + 1))
        wait_for(lambda: self.ids() == expected and self.label() == label, what=label)

    def select(self, record_id):
        handle = next(item["handle"] for item in self.items() if item["id"] == record_id)
        self.client.send(self.tree, TVM_SELECTITEM, TVGN_CARET, handle)

    def preview_tooltip(self):
        """Our tracking tooltip: topmost, no prefix, owned by the main window."""
        for entry in self.client.call("tooltips", f"{self.window:x}").split():
            handle, owner, style, exstyle, visible = entry.split(":")
            if int(owner, 16) == self.window and int(style, 16) & TTS_NOPREFIX and int(exstyle, 16) & WS_EX_TOPMOST:
                return int(handle, 16), visible == "1"
        return None, False

    def preview_visible(self):
        return self.preview_tooltip()[1]

    def show_preview(self, record_id, ready=lambda: True):
        """Selects the item and waits for its preview on the screen. A deactivation hides the
        preview until the selection changes, and Wine may pass one through while the X focus
        settles; then the window is waited for in front and the item selected afresh."""
        for attempt in range(4):
            if attempt:
                wait_for(lambda: self.client.foreground() == self.window, what="the window in front")
                self.select(next(other for other in self.ids() if other != record_id))
            self.select(record_id)
            try:
                return wait_for(lambda: self.preview_visible() and ready(), 4, what=f"the preview of {record_id}")
            except TimeoutError:
                pass
        raise TimeoutError(f"timed out waiting for the preview of {record_id}")

    def preview_text(self):
        handle, _ = self.preview_tooltip()
        value = self.client.call("tool_text", f"{handle:x}")
        return unhexed(value).decode("cp1252") if value != "-" else ""

    def preview_beside_window(self):
        """5 pixels right of the frame, 10 below the client area's top."""
        tooltip, _ = self.preview_tooltip()
        frame = self.rect(self.window)
        client_top = int(self.client.call("client_origin", f"{self.window:x}").split()[1])
        left, top = self.rect(tooltip)[:2]
        # The tip's text area sits at the point; its 1-pixel frame may stand just outside it.
        return frame[2] + 4 <= left <= frame[2] + 5 and client_top + 9 <= top <= client_top + 10

    def rect(self, window):
        return tuple(map(int, self.client.call("rect", f"{window:x}").split()))


def xdotool(app, *args):
    return subprocess.run(["xdotool", *map(str, args)], env=app.session.env, check=True, timeout=30,
                          capture_output=True, text=True).stdout


def click_caption(app):
    """A real click on the selection window's title bar, as a person brings it to the front. Under
    Wine the late X events of the previous activation can undo a click that follows it closely; a
    person would click again, and so does this."""
    left, top = map(int, app.client.call("rect", f"{app.window:x}").split()[:2])
    xdotool(app, "mousemove", left + 40, top + 10)
    for attempt in range(3):
        xdotool(app, "click", 1)
        try:
            return wait_for(lambda: app.client.foreground() == app.window, timeout=3,
                            what="the selection window in front")
        except TimeoutError:
            if attempt == 2:
                raise


def press_real_keys(app, *keys):
    """Real key events through the X server into the selection window, which gets the X focus first.
    Each key is an xdotool command: "key ctrl+c" presses both keys and lets go of Ctrl first."""
    x_window = xdotool(app, "search", "--name", "Yarrowkit. Select").split()[0]
    xdotool(app, "windowfocus", "--sync", x_window)
    wait_for(lambda: app.client.foreground() == app.window, what="the selection window in front")
    # In front is not yet typing into it: under load the keyboard focus comes a moment later.
    wait_for(lambda: app.client.focus_of(app.window) != 0, what="the keyboard focus in the selection window")
    for key in keys:
        xdotool(app, *key.split())
