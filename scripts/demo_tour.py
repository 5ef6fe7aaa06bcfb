"""A scripted tour of Yarrowkit that takes the pictures of the README (docs/demo-*.png).

Run by scripts/demo.sh (`make demo`) in a private Wine session on a virtual display: another
program (the test client) copies a few items, then the selection window with its preview, the tray
menu, the options pages and the about box are shown and photographed one by one.

    YK_BUILD=build/windows python3 scripts/demo_tour.py [OUT_DIR]
"""
import pathlib
import subprocess
import sys
import tempfile
import time

# The tour drives the program with the end-to-end tests' own harness and window helpers.
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "tests" / "e2e"))
import storedform
from harness import ROOT, WM_TRAY_CALLBACK, Client, Session, Yarrowkit, hexed, wait_for
from selection import SelectionWindow
from options import HEADINGS, OptionsWindow

WM_RBUTTONDOWN = 516
WM_CANCELMODE = 0x1F
ID_ABOUT = 103
IDOK, IDCANCEL = 1, 2
CF_UNICODETEXT = 13
MARGIN = 10
PREVIEW_GAP = 5  # pixels between the window's frame and its preview
SETTLE = 0.6  # seconds for a window to paint before its picture is taken

COPIES = [
    "Meeting moved to Thursday, 10:00 in room 4.12",
    "https://yarrowkit.tamberlyn.example/",
    "SELECT name, total FROM orders WHERE total > 100 ORDER BY total DESC;",
    "Tamberlyn Ltd., 14 Mill Lane, Fenwick",
    "Dear Ms Harrow,\r\nthank you for your quick answer. The revised drawings are attached; the only\r\n"
    "change is the position of the second door, which now opens to the garden.\r\nKind regards, Tom",
]
UNICODE_COPY = "Grüße aus Zürich: ½ kg Äpfel für 3,50 €"


class Camera:
    """Screenshots of the session's display, cut to the windows they are about."""

    def __init__(self, session, client, out_dir):
        self.session, self.client, self.out_dir = session, client, out_dir
        self.scratch = pathlib.Path(tempfile.mkdtemp())

    def rect(self, window):
        return tuple(map(int, self.client.call("rect", f"{window:x}").split()))

    def shoot(self, name, *windows, margin=MARGIN):
        time.sleep(SETTLE)
        rects = [self.rect(w) for w in windows]
        left = max(0, min(r[0] for r in rects) - margin)
        top = max(0, min(r[1] for r in rects) - margin)
        right = max(r[2] for r in rects) + margin
        bottom = max(r[3] for r in rects) + margin
        screen = self.scratch / "screen.png"
        self.session.screenshot(screen)
        target = self.out_dir / f"demo-{name}.png"
        subprocess.run(["/usr/bin/convert", str(screen), "-crop", f"{right - left}x{bottom - top}+{left}+{top}",
                        "+repage", str(target)], check=True, timeout=60)
        print(f"demo: {target.relative_to(ROOT) if target.is_relative_to(ROOT) else target}")


def copy_items(app, client):
    history = app.session.config_folder / "vorla.sql"
    count = lambda: history.exists() and int(storedform.sqlite(history, "SELECT count(*) FROM Log;")[0])
    for index, text in enumerate(COPIES):
        client.copy_text(text)
        wait_for(lambda: count() == index + 1, 15, what=f"copy {index + 1} in the history")
        time.sleep(0.2)  # beyond the monitor's debounce
    client.set_clipboard((CF_UNICODETEXT, UNICODE_COPY.encode("utf-16-le") + b"\0\0"))
    wait_for(lambda: count() == len(COPIES) + 1, 15, what="the Unicode copy in the history")


def tour_selection_window(app, camera):
    app.show()
    window = SelectionWindow(app)
    wait_for(lambda: app.client.visible(app.window) and len(window.items()) == len(COPIES) + 1,
             what="the selection window with every copy")
    letter = next(item["id"] for item in window.items() if item["text"].startswith("Dear"))
    window.select(letter)
    wait_for(lambda: window.preview_tooltip()[1], what="the preview tooltip")
    tooltip, _ = window.preview_tooltip()
    camera.shoot("selection-window", app.window, margin=PREVIEW_GAP - 1)  # without the preview beside it
    camera.shoot("preview-tooltip", app.window, tooltip)
    app.client.command(app.window, IDCANCEL)  # hides the window
    wait_for(lambda: not app.client.visible(app.window), what="the window hidden")


def tour_tray_menu(app, camera):
    # The menu opens at the pointer: put it where the tray icon is, bottom right.
    subprocess.run(["xdotool", "mousemove", "1260", "790"], env=app.session.env, check=True, timeout=30)
    app.client.post(app.window, WM_TRAY_CALLBACK, 0, WM_RBUTTONDOWN)
    menu = wait_for(lambda: int(app.client.call("find_class", hexed("#32768")), 16), what="the tray menu")
    wait_for(lambda: app.client.visible(menu), what="the tray menu shown")
    camera.shoot("tray-menu", menu)
    app.client.post(app.window, WM_CANCELMODE)
    wait_for(lambda: not app.client.visible(menu), what="the tray menu closed")


def tour_options(app, camera):
    options = OptionsWindow(app)
    for index, heading in enumerate(HEADINGS):
        options.choose(index)
        wait_for(lambda: options.heading() == heading, what=f"the page {heading}")
        camera.shoot(f"options-{heading.lower().replace(' ', '-')}", options.window)
    app.client.command(options.window, IDCANCEL)
    wait_for(lambda: not app.client.exists(options.window), what="the options window closed")


def tour_about(app, camera):
    app.client.command(app.window, ID_ABOUT)
    box = wait_for(lambda: int(app.client.call("dialog_with", hexed("Yarrowkit")), 16), what="the about box")
    camera.shoot("about-box", box)
    app.client.command(box, IDOK)
    wait_for(lambda: not app.client.exists(box), what="the about box closed")


def main():
    out_dir = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ROOT / "docs").resolve()
    out_dir.mkdir(parents=True, exist_ok=True)
    session = Session()
    client = None
    try:
        client = Client(session)
        app = Yarrowkit(session, client).start()
        camera = Camera(session, client, out_dir)
        copy_items(app, client)
        tour_selection_window(app, camera)
        tour_tray_menu(app, camera)
        tour_options(app, camera)
        tour_about(app, camera)
        app.close_quietly()
    finally:
        if client:
            client.close()
        session.stop()


if __name__ == "__main__":
    main()
