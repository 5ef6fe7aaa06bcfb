"""The real yarrowkit.exe in a private Wine `Session`, driven as people (X keys) and programs (`Client`) would."""
import getpass
import os
import pathlib
import subprocess
import time

import storedform

ROOT = pathlib.Path(__file__).resolve().parents[2]
SESSION_SCRIPT = ROOT / "scripts" / "wine-session.sh"
BUILD = pathlib.Path(os.environ.get("YK_BUILD", ROOT / "build" / "windows"))
# YK_EXE runs another build of the program (an earlier one, for comparison) against these tools.
EXE = pathlib.Path(os.environ.get("YK_EXE", BUILD / "yarrowkit.exe"))
CLIENT_EXE = BUILD / "tests" / "e2e" / "ykclient.exe"

TITLE = "Yarrowkit. Select item to paste or copy."
APP_CAPTION = "yarrowkit"
WM_COMMAND, WM_TRAY_CALLBACK, WM_CLOSE_QUIETLY, WM_LBUTTONDOWN = 0x111, 3004, 0x406, 513
CF_TEXT = 1
IDC_ITEM_TREE, TVM_SELECTITEM, TVGN_CARET = 1006, 0x110B, 9


def hexed(data):
    return (data.encode("latin-1") if isinstance(data, str) else data).hex() or "-"


def unhexed(text):
    return bytes.fromhex(text) if text not in ("", "-") else b""


def soak():  # long runs, `make soak`
    return os.environ.get("YK_SOAK") == "1"


def wait_for(predicate, timeout=10.0, interval=0.1, what="condition"):
    deadline = time.monotonic() + timeout
    while not (value := predicate()):
        if time.monotonic() > deadline:
            raise TimeoutError(f"timed out waiting for {what}")
        time.sleep(interval)
    return value


def xdotool(session, *args, check=True):
    return subprocess.run(["xdotool", *map(str, args)], env=session.env, check=check, capture_output=True, text=True,
                          timeout=30).stdout


def x_window(session, name):  # the X window of a title; a search fails now and then while other windows come and go
    return wait_for(lambda: xdotool(session, "search", "--name", name, check=False).split(), what=name)[0]


def x_focus(session, title, check=True):
    xdotool(session, "windowfocus", "--sync", x_window(session, title), check=check)


def desktop_keys(session, *keys):  # real keys into the Wine desktop: hot keys count whichever window has the focus
    x_focus(session, "Wine desktop")
    if keys:
        xdotool(session, "key", *keys)


def xclip(session, data, target=None):  # an X11 program copying; `target` is a MIME type such as image/png
    subprocess.run(["xclip", "-selection", "clipboard", *(["-t", target] if target else [])], input=data,
                   env=session.env, check=True, timeout=10)


class Session:
    """A Wine prefix and an Xvfb display of our own; stop() ends only this prefix's wineserver."""

    def __init__(self):
        out = subprocess.run([str(SESSION_SCRIPT), "start"], check=True, capture_output=True, text=True)
        self.dir = pathlib.Path(out.stdout.strip().splitlines()[-1])
        self.env = dict(os.environ)
        for line in (self.dir / "env").read_text().splitlines():
            name, _, value = line.removeprefix("export ").partition("=")
            self.env[name] = value.strip("'")
        self.prefix = pathlib.Path(self.env["WINEPREFIX"])
        self.appdata = self.prefix / "drive_c" / "users" / getpass.getuser() / "AppData" / "Roaming"
        self.config_folder = self.appdata / "YarrowKit"
        self._processes = []

    def wine(self, *args, **kwargs):
        kwargs.setdefault("cwd", self.dir)  # a program's relative paths land in the session
        self._processes.append(subprocess.Popen(["wine", *map(str, args)], env=self.env, **kwargs))
        return self._processes[-1]

    def unix_path(self, windows_path):
        drive, _, rest = windows_path.partition(":")
        base = self.prefix / "drive_c" if drive.upper() == "C" else pathlib.Path("/")
        return base.joinpath(*[p for p in rest.split("\\") if p])

    def windows_path(self, path):
        return "C:\\" + "\\".join(pathlib.Path(path).relative_to(self.prefix / "drive_c").parts)

    def reg_query(self, key, value):
        out = subprocess.run(["wine", "reg", "query", key, "/v", value], env=self.env, capture_output=True, text=True,
                             timeout=60)
        for parts in (line.split(None, 2) for line in out.stdout.splitlines()):
            if len(parts) >= 2 and parts[0].lower() == value.lower():
                return parts[2] if len(parts) == 3 else ""
        return None

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", str(path)], env=self.env, check=True, timeout=30)

    def stop(self):
        for process in self._processes:
            if process.poll() is None:
                process.kill()
        subprocess.run([str(SESSION_SCRIPT), "stop", str(self.dir)], timeout=60)


class History:
    def __init__(self, session):
        self.path = session.config_folder / "vorla.sql"

    def rows(self):
        return storedform.read_rows(self.path) if self.path.exists() else []

    def texts(self):
        return [r["Text"] for r in self.rows()]

    def settle_with_marker(self, client, marker=b"marker\0"):
        """Copies a marker and waits for it: whatever was copied before has been handled by then."""
        before = len(self.rows())
        # A person's pace, not a wait: content replaced within the 70 ms delay is not the user's to keep.
        time.sleep(0.25)
        client.set_clipboard((CF_TEXT, marker))
        wait_for(lambda: any(r["Text"] == marker for r in self.rows()[before:]), 15, what="the marker row")
        return [r for r in self.rows() if r["Text"] != marker]


class ExclusiveLock:
    """The host's sqlite3 shell inside `BEGIN EXCLUSIVE`: Wine's file locks are Linux's, as another process's."""

    def __init__(self, path):
        self.shell = subprocess.Popen(["sqlite3", str(path)], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        self.shell.stdin.write(b"BEGIN EXCLUSIVE;\nSELECT 'held';\n")
        self.shell.stdin.flush()
        assert self.shell.stdout.readline() == b"held\n"

    def release(self):
        if self.shell.poll() is None:
            self.shell.communicate(b"COMMIT;\n", timeout=30)


class ClientError(Exception):
    pass


def tree_items(client, tree):  # top to bottom; read as Unicode, so that texts in any script come back as written
    for attempt in range(20):
        try:
            entries = [entry.split(",") for entry in client.on("tree_items_w", tree).split()]
            break
        except ClientError as error:  # a reload deleted the items being walked
            if str(error) != "getitem" or attempt == 19:
                raise
            time.sleep(0.05)  # the pace of the retries
    return [{"handle": int(handle, 16), "id": int(record_id), "image": int(image), "selected": selected == "1",
             "selected_image": int(selected_image), "text": unhexed(text).decode("utf-16-le")}
            for handle, record_id, image, selected_image, selected, text in entries]


def select_item(client, tree, record_id):
    handle = next(item["handle"] for item in tree_items(client, tree) if item["id"] == record_id)
    client.send(tree, TVM_SELECTITEM, TVGN_CARET, handle)


class Client:
    def __init__(self, session, exe=CLIENT_EXE):
        self.process = session.wine(exe, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True,
                                    encoding="latin-1", bufsize=1)
        assert self.call("ping") == "pong"

    def call(self, *words):
        self.process.stdin.write(" ".join(map(str, words)) + "\n")
        self.process.stdin.flush()
        status, _, value = self.process.stdout.readline().rstrip("\n").partition(" ")
        if status != "ok":
            raise ClientError(value or "client ended")
        return value

    def on(self, command, window, *words):
        return self.call(command, f"{window:x}", *words)

    def window(self, title):
        return int(self.call("find", hexed(title)), 16) or None

    def visible(self, window):
        return self.on("visible", window) == "1"

    def exists(self, window):
        return self.on("exists", window) == "1"

    def foreground(self):
        return int(self.call("foreground"), 16)

    def focus_of(self, window):
        return int(self.on("focus_of", window), 16)

    def rect(self, window):
        return tuple(map(int, self.on("rect", window).split()))

    def send(self, window, message, wparam=0, lparam=0):
        return int(self.on("send", window, message, wparam, lparam))

    def post(self, window, message, wparam=0, lparam=0):
        self.on("post", window, message, wparam, lparam)

    def command(self, window, command_id):
        self.post(window, WM_COMMAND, command_id, 0)

    def item(self, window, control_id):
        return int(self.on("item", window, control_id), 16)

    def item_text(self, window, control_id):
        return self.text(self.item(window, control_id))

    def text(self, window):
        return unhexed(self.on("text", window)).decode("latin-1")

    def answer_time(self, window, timeout_ms):  # ms until the window's thread answers; None past the time
        return value if (value := int(self.on("answer_time", window, timeout_ms))) >= 0 else None

    def message_box(self, caption):  # the text of the visible message box with this caption, or None
        value = self.call("msgbox", hexed(caption))
        return None if value == "-" else unhexed(value).decode("latin-1")

    def wait_message_box(self, caption, timeout=10.0):
        return wait_for(lambda: self.message_box(caption), timeout, what=f"message box {caption!r}")

    def press(self, caption, button):  # presses a button of the message box; answers the box
        return int(self.call("press", hexed(caption), hexed(button)), 16)

    def answer(self, caption, button="OK"):  # and waits until that box is gone: the next may carry its caption
        box = self.press(caption, button)
        wait_for(lambda: not self.visible(box), what=f"{caption!r} to close")

    def set_clipboard(self, *blocks):  # blocks: (format, bytes) pairs; a format is a number or a registered name
        self.call("clip_set", *(f"{fmt if isinstance(fmt, int) else '@' + hexed(fmt)}={hexed(data)}"
                                for fmt, data in blocks))

    def copy_text(self, text):
        self.set_clipboard((CF_TEXT, (text.encode("cp1252") if isinstance(text, str) else text) + b"\0"))

    def clipboard(self):  # [(format, bytes)] in the clipboard's enumeration order
        return [(int(fmt), unhexed(data)) for fmt, _, data in (e.partition(":") for e in self.call("clip_get").split())]

    def fill_clipboard(self, fmt, size, seed=0):  # made by the client, too big for the pipe; seed: its first byte
        self.call("clip_fill", fmt if isinstance(fmt, int) else "@" + hexed(fmt), size, seed)

    def close(self):
        if self.process.poll() is None:
            self.process.stdin.close()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()


class Yarrowkit:
    def __init__(self, session, client, exe=EXE):
        self.session, self.client, self.exe = session, client, exe
        self.process = self.window = None
        self.config_path = session.config_folder / "config.cfg"

    def start(self, wait=True, boxes=()):  # answers the expected start-up boxes (caption, text start) in order
        self.process = self.session.wine(self.exe, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.texts = []
        for caption, start in boxes:
            self.texts.append(self.client.wait_message_box(caption, 15))
            assert self.texts[-1].startswith(start), self.texts[-1]
            self.client.answer(caption)
        if wait:
            self.window = wait_for(lambda: self.client.window(TITLE), 30, what="the main window")
            self.client.on("idle", self.window)
        return self

    def wait_exit(self, timeout=30):
        return self.process.wait(timeout=timeout)

    def running(self):
        return self.process is not None and self.process.poll() is None

    def show(self, wait=False):  # as a click on the tray icon; with `wait`, the window's place once shown
        self.client.send(self.window, WM_TRAY_CALLBACK, 0, WM_LBUTTONDOWN)
        if wait:
            wait_for(lambda: self.client.visible(self.window), what="the window shown")
            return self.client.rect(self.window)[:2]

    def close_quietly(self, timeout=30):
        self.client.post(self.window, WM_CLOSE_QUIETLY)
        return self.wait_exit(timeout)

    def config(self):  # the keys of section Main of config.cfg as a dict (names as written)
        values, in_main = {}, False
        lines = self.config_path.read_text(encoding="latin-1").splitlines() if self.config_path.exists() else []
        for line in map(str.strip, lines):
            if line.startswith("["):
                in_main = line.lower() == "[main]"
            elif in_main and "=" in line:
                key, _, value = line.partition("=")
                values[key.strip()] = value.strip()
        return values

    def write_config(self, text):
        self.session.config_folder.mkdir(parents=True, exist_ok=True)
        self.config_path.write_text(text, encoding="latin-1")

    def list_items(self):  # {id: (tree item handle, selected)} of the list's items
        items = tree_items(self.client, self.client.item(self.window, IDC_ITEM_TREE))
        return {item["id"]: (item["handle"], item["selected"]) for item in items}

    def select(self, record_id):
        select_item(self.client, self.client.item(self.window, IDC_ITEM_TREE), record_id)

    def press_keys(self, *keys):
        x_focus(self.session, "Yarrowkit. Select")
        wait_for(lambda: self.client.focus_of(self.window), what="the keyboard focus in the selection window")
        xdotool(self.session, "key", *keys)
