"""The options window of the running program, driven through its real controls."""
import pathlib

from harness import WM_COMMAND, hexed, wait_for

OPTIONS_TITLE = "Yarrowkit options"
ID_OPTIONS = 111
IDOK, IDCANCEL = 1, 2
IDC_PAGE_LIST, IDC_PAGE_CAPTION = 1018, 59648
GENERAL, HOT_KEYS, PASTE, DATABASE = 101, 145, 146, 147
PAGES = (GENERAL, HOT_KEYS, PASTE, DATABASE)
HEADINGS = ("General Options", "Hot Keys", "Paste Options", "Database")
IDC_SHOW_TOOLTIP, IDC_RUN_ON_STARTUP, IDC_CAPTURE_IMAGE = 1013, 1014, 1015
IDC_HOTKEY_MAIN, IDC_HOTKEY_PREVIOUS, IDC_HOTKEY_NEXT, IDC_SHOW_ICON = 1010, 1011, 1012, 1005
IDC_RESTORE_CLIPBOARD, IDC_DELAY = 1097, 1100
IDC_DB_PATH, IDC_LIMIT_RECORDS, IDC_SAVE_ITEMS = 1008, 1015, 1025
IDC_SWITCH_DATABASE, IDC_MOVE_DATABASE, IDC_EMPTY_DATABASE = 1026, 1027, 1028
IDC_RANGE_LABEL, IDC_ITEM_TREE = 1001, 1006
LB_SETCURSEL, LBN_SELCHANGE = 0x186, 1
BM_GETCHECK, BM_SETCHECK = 0xF0, 0xF1
HKM_SETHOTKEY, HKM_GETHOTKEY = 0x401, 0x402
HOTKEYF_SHIFT, HOTKEYF_CONTROL, HOTKEYF_ALT, HOTKEYF_EXT = 1, 2, 4, 8
MOD_ALT, MOD_CONTROL, MOD_SHIFT = 1, 2, 4
VK_MENU, VK_Q, VK_F9 = 0x12, 0x51, 0x78


def control_word(flags, key):
    return flags << 8 | key


class OptionsWindow:
    """The options window of the running program, opened by its command."""

    def __init__(self, app):
        self.app, self.client = app, app.client
        self.client.command(app.window, ID_OPTIONS)
        self.window = wait_for(lambda: self.client.window(OPTIONS_TITLE), what="the options window")
        # Found by its title while it still initialises: wait for the band, made after the pages.
        wait_for(lambda: self.client.item(self.window, IDC_PAGE_CAPTION), what="the options pages")

    def heading(self):
        return self.client.item_text(self.window, IDC_PAGE_CAPTION)

    def page(self, template):
        return self.client.item(self.window, template)

    def shown_pages(self):
        return [template for template in PAGES if self.client.visible(self.page(template))]

    def choose(self, index):
        page_list = self.client.item(self.window, IDC_PAGE_LIST)
        self.client.send(page_list, LB_SETCURSEL, index)
        self.client.send(self.window, WM_COMMAND, LBN_SELCHANGE << 16 | IDC_PAGE_LIST, page_list)

    def control(self, template, control_id):
        return self.client.item(self.page(template), control_id)

    def checked(self, template, control_id):
        return self.client.send(self.control(template, control_id), BM_GETCHECK) == 1

    def check(self, template, control_id, on):
        self.client.send(self.control(template, control_id), BM_SETCHECK, 1 if on else 0)

    def type(self, template, control_id, text):
        self.client.call("set_text", f"{self.control(template, control_id):x}", hexed(text))

    def text(self, template, control_id):
        return self.client.item_text(self.page(template), control_id)

    def hot_key(self, control_id):
        return self.client.send(self.control(HOT_KEYS, control_id), HKM_GETHOTKEY)

    def set_hot_key(self, control_id, word):
        self.client.send(self.control(HOT_KEYS, control_id), HKM_SETHOTKEY, word)

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
    relative = pathlib.Path(path).relative_to(session.prefix / "drive_c")
    return "C:\\" + "\\".join(relative.parts)


def tray_has_icon(app):
    return app.client.call("tray_has", f"{app.window:x}", 1) == "1"
