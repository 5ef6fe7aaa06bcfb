"""The options window of the running program, driven through its real controls."""
import pathlib

from harness import WM_COMMAND, hexed, wait_for
from selection import IDC_RANGE_LABEL  # noqa: F401 (the pages' readers look at the list's label too)

IDOK, IDCANCEL, ID_OPTIONS, IDC_PAGE_LIST, IDC_PAGE_CAPTION = 1, 2, 111, 1018, 59648
GENERAL, HOT_KEYS, PASTE, DATABASE = PAGES = (101, 145, 146, 147)
HEADINGS = ("General Options", "Hot Keys", "Paste Options", "Database")
IDC_SHOW_TOOLTIP, IDC_RUN_ON_STARTUP, IDC_CAPTURE_IMAGE = 1013, 1014, 1015
IDC_HOTKEY_MAIN, IDC_HOTKEY_PREVIOUS, IDC_HOTKEY_NEXT, IDC_SHOW_ICON = 1010, 1011, 1012, 1005
IDC_RESTORE_CLIPBOARD, IDC_DELAY = 1097, 1100
IDC_DB_PATH, IDC_LIMIT_RECORDS, IDC_SAVE_ITEMS = 1008, 1015, 1025
IDC_SWITCH_DATABASE, IDC_MOVE_DATABASE, IDC_EMPTY_DATABASE = 1026, 1027, 1028


class OptionsWindow:
    def __init__(self, app):
        self.app, self.client = app, app.client
        self.client.command(app.window, ID_OPTIONS)
        self.window = wait_for(lambda: self.client.window("Yarrowkit options"), what="the options window")
        # Found by its title while it still initialises: the band is made after the pages.
        wait_for(lambda: self.client.item(self.window, IDC_PAGE_CAPTION), what="the options pages")

    def heading(self):
        return self.client.item_text(self.window, IDC_PAGE_CAPTION)

    def page(self, template):
        return self.client.item(self.window, template)

    def shown_pages(self):
        return [template for template in PAGES if self.client.visible(self.page(template))]

    def choose(self, index):
        page_list = self.client.item(self.window, IDC_PAGE_LIST)
        self.client.send(page_list, 0x186, index)  # LB_SETCURSEL
        self.client.send(self.window, WM_COMMAND, 1 << 16 | IDC_PAGE_LIST, page_list)  # LBN_SELCHANGE

    def control(self, template, control_id):
        return self.client.item(self.page(template), control_id)

    def checked(self, template, control_id):
        return self.client.send(self.control(template, control_id), 0xF0) == 1  # BM_GETCHECK

    def check(self, template, control_id, on):
        self.client.send(self.control(template, control_id), 0xF1, int(on))  # BM_SETCHECK

    def type(self, template, control_id, text):
        self.client.call("set_text", f"{self.control(template, control_id):x}", hexed(text))

    def text(self, template, control_id):
        return self.client.item_text(self.page(template), control_id)

    def hot_key(self, control_id, word=None):
        """The hot-key control's word (modifier flags << 8 | key); sets it first when given."""
        if word is not None:
            self.client.send(self.control(HOT_KEYS, control_id), 0x401, word)  # HKM_SETHOTKEY
        return self.client.send(self.control(HOT_KEYS, control_id), 0x402)  # HKM_GETHOTKEY

    def press(self, template, button_id):
        """Posted: the button may open a modal loop of its own."""
        self.client.post(self.page(template), WM_COMMAND, button_id)

    def close(self, button_id):
        self.client.post(self.window, WM_COMMAND, button_id)
        self.wait_closed()

    def wait_closed(self, timeout=10):
        wait_for(lambda: not self.client.exists(self.window), timeout, what="the options window to close")

    def choose_file(self, windows_path):
        """Answers the file chooser that a Switch or Move opened."""
        chooser = wait_for(lambda: self.client.window("Open"), what="the file chooser")
        file_name = wait_for(lambda: self.client.item(chooser, 1148), what="the file name field")
        self.client.call("set_text", f"{file_name:x}", hexed(windows_path))
        self.client.post(chooser, WM_COMMAND, IDOK)
        wait_for(lambda: not self.client.exists(chooser), what="the file chooser to close")


def windows_path(session, path):
    return "C:\\" + "\\".join(pathlib.Path(path).relative_to(session.prefix / "drive_c").parts)


def tray_has_icon(app):
    return app.client.call("tray_has", f"{app.window:x}", 1) == "1"
