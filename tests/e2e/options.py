"""The options window of the running program, driven through its real controls."""
import subprocess

from harness import WM_COMMAND, hexed, wait_for

IDOK, IDCANCEL, IDC_PAGE_LIST = 1, 2, 1018
GENERAL, HOT_KEYS, PASTE, DATABASE = PAGES = (101, 145, 146, 147)
HEADINGS = ("General Options", "Hot Keys", "Paste Options", "Database")
IDC_SHOW_ICON, IDC_HOTKEY_MAIN, IDC_HOTKEY_PREVIOUS, IDC_RUN_ON_STARTUP, IDC_CAPTURE_IMAGE = 1005, 1010, 1011, 1014, 1015
IDC_RESTORE_CLIPBOARD, IDC_DELAY, IDC_DB_PATH, IDC_LIMIT_RECORDS, IDC_SAVE_ITEMS = 1097, 1100, 1008, 1015, 1025
IDC_SWITCH_DATABASE, IDC_MOVE_DATABASE, IDC_EMPTY_DATABASE = 1026, 1027, 1028


class OptionsWindow:
    def __init__(self, app):
        self.client = app.client
        self.client.command(app.window, 111)
        self.window = wait_for(lambda: self.client.window("Yarrowkit options"), what="the options window")
        # Found by its title while it still initialises: the band is made after the pages.
        wait_for(lambda: self.client.item(self.window, 59648), what="the options pages")

    def heading(self):
        return self.client.item_text(self.window, 59648)

    def shown_pages(self):
        return [page for page in PAGES if self.client.visible(self.client.item(self.window, page))]

    def choose(self, index):
        page_list = self.client.item(self.window, IDC_PAGE_LIST)
        self.client.send(page_list, 0x186, index)  # LB_SETCURSEL
        self.client.send(self.window, WM_COMMAND, 1 << 16 | IDC_PAGE_LIST, page_list)  # LBN_SELCHANGE

    def control(self, page, control_id):
        return self.client.item(self.client.item(self.window, page), control_id)

    def checked(self, page, control_id, on=None):
        if on is not None:
            self.client.send(self.control(page, control_id), 0xF1, int(on))  # BM_SETCHECK
        return self.client.send(self.control(page, control_id), 0xF0) == 1  # BM_GETCHECK

    def text(self, page, control_id, typed=None):
        if typed is not None:
            self.client.on("set_text", self.control(page, control_id), hexed(typed))
        return self.client.item_text(self.client.item(self.window, page), control_id)

    def hot_key(self, control_id, word):
        self.client.send(self.control(HOT_KEYS, control_id), 0x401, word)  # HKM_SETHOTKEY

    def press(self, page, button_id):  # posted: the button may open a modal loop of its own
        self.client.post(self.client.item(self.window, page), WM_COMMAND, button_id)

    def close(self, button_id):
        self.client.post(self.window, WM_COMMAND, button_id)
        self.wait_closed()

    def wait_closed(self):
        wait_for(lambda: not self.client.exists(self.window), what="the options window to close")

    def choose_file(self, windows_path):
        chooser = wait_for(lambda: self.client.window("Open"), what="the file chooser")
        file_name = wait_for(lambda: self.client.item(chooser, 1148), what="the file name field")
        self.client.on("set_text", file_name, hexed(windows_path))
        self.client.post(chooser, WM_COMMAND, IDOK)
        wait_for(lambda: not self.client.exists(chooser), what="the file chooser to close")


def tray_has_icon(app):
    return app.client.on("tray_has", app.window, 1) == "1"


def reg(session, *args):  # Wine's reg.exe, forcing its change; as a person edits the registry by hand
    subprocess.run(["wine", "reg", *args, "/f"], env=session.env, capture_output=True, timeout=60)
