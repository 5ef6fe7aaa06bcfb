"""What other programs copy becomes history rows: stored forms, source, duplicates, exclusions, and
the content the program must not capture (what was there before, its own writes)."""
import shutil
import struct
import subprocess
import time
import zlib

import pytest

import storedform
from harness import CLIENT_EXE, WM_COMMAND, Client, History, hexed, wait_for
from selection import SelectionWindow

CF_TEXT, CF_DIB, CF_UNICODETEXT, CF_LOCALE = 1, 8, 13, 16
RTF = "Rich Text Format"
ID_RECONNECT_CLIPBOARD, ID_MONITOR_CLIPBOARD, ID_COPY_TO_CLIPBOARD = 110, 112, 32772
CLIENT_NAME, CLIENT_TITLE = b"ykclient.exe", b"Yarrowkit Test Client"
NOTEPAD = "notepad"
WORDPAD = r"C:\Program Files\Windows NT\Accessories\wordpad.exe"
LOCALE_EN_US = (0x0409).to_bytes(4, "little")
DIB = (40).to_bytes(4, "little") + (2).to_bytes(4, "little") + (2).to_bytes(4, "little") + \
    (1).to_bytes(2, "little") + (32).to_bytes(2, "little") + bytes(24) + bytes(range(16))


@pytest.fixture
def history(session):
    return History(session)


@pytest.fixture
def running(app, history):
    app.start()
    return app


def test_copied_text_becomes_one_row_with_every_stored_form(running, client, history):
    started = int(time.time())
    client.set_clipboard((CF_TEXT, b"  two\twords\r\n\0"), (CF_LOCALE, LOCALE_EN_US))
    [row] = history.wait_count(1)
    assert row["Text"] == b"  two\twords\r\n\0"
    assert row["Type"] == storedform.UNICODE_TEXT  # the platform converts the ANSI text
    assert row["Data"] == "  two\twords\r\n".encode("utf-16-le") + b"\0\0"
    assert row["Locale"] == LOCALE_EN_US
    assert row["Name"] == b"two words  "
    assert (row["SourceName"].lower(), row["SourceTitle"]) == (CLIENT_NAME, CLIENT_TITLE)
    assert started - 2 <= row["DTime"] <= time.time() + 2


def test_unicode_rich_text_and_awkward_bytes_survive(running, client, history):
    long_text = "x" * 80
    client.set_clipboard((CF_UNICODETEXT, (" caf\u00e9 " + long_text).encode("utf-16-le") + b"\0\0"),
                         (CF_TEXT, b"ansi\0"))
    history.wait_count(1)
    time.sleep(0.25)
    rich = b"{\\rtf1 it's}\0"
    client.set_clipboard((CF_TEXT, b"it's\0"), (RTF, rich), (CF_UNICODETEXT, "it's".encode("utf-16-le") + b"\0\0"))
    history.wait_count(2)
    time.sleep(0.25)
    awkward = b"a'b\x01c\0d\te\r\nf''\0"
    client.set_clipboard((CF_TEXT, awkward))
    unicode_row, rich_row, awkward_row = history.wait_count(3)

    assert unicode_row["Type"] == storedform.UNICODE_TEXT
    assert unicode_row["Text"] == b"ansi\0"  # kept as placed, the caption comes from the Unicode text
    assert unicode_row["Name"] == ("caf\u00e9 " + "x" * 45 + "...").encode("cp1252")
    assert (rich_row["Type"], rich_row["Data"], rich_row["Name"]) == (storedform.RICH_TEXT, rich, b"it's")
    assert awkward_row["Text"] == awkward
    assert awkward_row["Name"] == b"a'b\x01c"


def test_images_are_captured_only_with_capture_image_on(app, client, history):
    app.start()
    client.set_clipboard((CF_DIB, DIB))
    [row] = history.wait_count(1)
    assert (row["Type"], row["Name"], row["Data"], row["Text"], row["Locale"]) == \
        (storedform.BITMAP, b"Image", DIB, None, None)
    app.close_quietly()

    app.write_config("[Main]\nCaptureImage=0\n")
    app.start()
    client.set_clipboard((CF_DIB, DIB[:-1] + b"\xff"))
    assert history.settle_with_marker(client) == [row]


# Two rows of three (red, green, blue) pixels, top row first; every pixel different.
PICTURE = [[(255, 0, 0), (0, 255, 0), (0, 0, 255)], [(10, 20, 30), (200, 100, 50), (255, 255, 255)]]


def png_of(rows):
    """An 8-bit RGB PNG of the rows, written by hand."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 2, 0, 0, 0)
    scanlines = b"".join(b"\0" + bytes(value for pixel in row for value in pixel) for row in rows)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(scanlines)) + chunk(b"IEND", b"")


def pixels_of_dib(dib):
    """The (red, green, blue) rows of a 32-bit uncompressed DIB, top row first."""
    size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", dib)
    assert (size, planes, bits, compression) == (40, 1, 32, 0)
    stride = 4 * width
    rows = [[(dib[at + 2], dib[at + 1], dib[at]) for at in range(size + row * stride, size + (row + 1) * stride, 4)]
            for row in range(abs(height))]
    return rows[::-1] if height > 0 else rows


def copy_png_with_xclip(session, png, folder):
    path = folder / "picture.png"
    path.write_bytes(png)
    subprocess.run(["xclip", "-selection", "clipboard", "-t", "image/png", "-i", str(path)], env=session.env,
                   check=True, timeout=10)


def test_a_picture_offered_only_as_png_is_stored_as_an_image_and_copied_back(running, session, client, history,
                                                                              tmp_path):
    copy_png_with_xclip(session, png_of(PICTURE), tmp_path)
    [row] = history.wait_count(1)
    assert (row["Type"], row["Name"], row["Text"], row["Locale"]) == (storedform.BITMAP, b"Image", None, None)
    assert pixels_of_dib(row["Data"]) == PICTURE

    running.show()
    window = SelectionWindow(running)
    wait_for(lambda: window.selected_id() == 0, what="the picture selected")
    client.command(running.window, ID_COPY_TO_CLIPBOARD)
    dib = wait_for(lambda: dict(client.clipboard()).get(CF_DIB), what="the picture on the clipboard")
    assert pixels_of_dib(dib) == PICTURE


def test_a_png_that_does_not_decode_is_not_recorded(running, session, client, history, tmp_path):
    png = png_of(PICTURE)
    copy_png_with_xclip(session, png[:len(png) // 2], tmp_path)
    assert history.settle_with_marker(client) == []


def test_repeats_of_the_newest_item_are_stored_once(app, client, history):
    app.start()
    for text in (b"A\0", b"A\0", b"B\0", b"A\0"):
        client.set_clipboard((CF_TEXT, text))
        time.sleep(0.4)
    assert history.settle_with_marker(client, b"C\0") == history.rows()[:3]
    assert history.texts() == [b"A\0", b"B\0", b"A\0", b"C\0"]
    app.close_quietly()

    app.start()
    client.set_clipboard((CF_TEXT, b"C\0"))  # newest before the restart
    time.sleep(0.4)
    client.set_clipboard((CF_TEXT, b"D\0"))
    wait_for(lambda: history.texts()[-1] == b"D\0", 15, what="the row of D")
    assert history.texts() == [b"A\0", b"B\0", b"A\0", b"C\0", b"D\0"]


@pytest.mark.parametrize("except_app, excluded", [
    (",notepad.exe,", {"NOTEPAD.EXE", "Notepad.exe"}),
    ("notepad.exe", set()),
])
def test_exclusion_list_matches_whole_names_in_any_case(app, session, client, history, except_app, excluded):
    app.write_config(f"[Main]\nExceptApp={except_app}\n")
    app.start()
    copied = []
    for name in ("NOTEPAD.EXE", "Notepad.exe", "mynotepad.exe"):
        exe = session.dir / name
        shutil.copy(CLIENT_EXE, exe)
        other = Client(session, exe)
        try:
            other.set_clipboard((CF_TEXT, name.encode() + b"\0"))
            time.sleep(0.4)
        finally:
            other.close()
        copied.append(name)
    stored = {r["Text"].rstrip(b"\0").decode() for r in history.settle_with_marker(client)}
    assert stored == set(copied) - excluded


def test_content_present_at_start_reconnect_and_switch_on_is_not_captured(app, client, history):
    client.set_clipboard((CF_TEXT, b"before start\0"))
    app.start()
    # Sent, not posted: a copy made while the program is between leaving and re-joining the
    # chain is never noticed, so the copy must come after the reconnect.
    app.client.send(app.window, WM_COMMAND, ID_RECONNECT_CLIPBOARD)
    client.set_clipboard((CF_TEXT, b"first\0"))
    history.wait_count(1)

    client.post(app.window, WM_COMMAND, ID_MONITOR_CLIPBOARD)
    wait_for(lambda: app.config().get("MonitorClipBoard") == "0", what="MonitorClipBoard=0")
    client.set_clipboard((CF_TEXT, b"while off\0"))
    time.sleep(0.5)
    client.post(app.window, WM_COMMAND, ID_MONITOR_CLIPBOARD)
    wait_for(lambda: app.config().get("MonitorClipBoard") == "1", what="MonitorClipBoard=1")
    client.send(app.window, WM_COMMAND, ID_RECONNECT_CLIPBOARD)
    assert [r["Text"] for r in history.settle_with_marker(client)] == [b"first\0"]


def copy_burst_with_xclip(session, count, interval_ms, tag):
    for i in range(count):
        if i:
            time.sleep(interval_ms / 1000)  # the pace of the burst, not a wait for the program
        subprocess.run(["xclip", "-selection", "clipboard"], input=f"{tag} {i}".encode(), env=session.env,
                       check=True, timeout=10)


@pytest.mark.parametrize("source", ["client", "xclip"])
@pytest.mark.parametrize("interval_ms", [30, 150])
def test_a_burst_of_distinct_copies_is_kept_in_order_down_to_the_last(running, session, client, history,
                                                                      source, interval_ms):
    tag = f"{source}{interval_ms}"
    if source == "client":
        client.call("clip_burst", 20, interval_ms, tag)
    else:
        copy_burst_with_xclip(session, 20, interval_ms, tag)
    last = f"{tag} 19\0".encode()
    wait_for(lambda: history.texts()[-1:] == [last], 15, what="the last copy of the burst")
    numbers = [int(t.rstrip(b"\0").split()[1]) for t in history.texts()]
    print(f"{source}, {interval_ms} ms apart: {len(numbers)} of 20 kept")
    assert numbers == sorted(set(numbers))  # each copy once, in the order copied


def test_text_from_an_x11_program_is_captured_once(running, session, history):
    subprocess.run(["xclip", "-selection", "clipboard"], input=b"from X11", env=session.env, check=True,
                   timeout=10)
    [row] = history.wait_count(1)
    assert row["Text"] == b"from X11\0"
    time.sleep(1.0)
    assert len(history.rows()) == 1


def test_a_huge_clip_is_stored_whole_and_a_copy_made_meanwhile_is_not_lost(running, client, history):
    size = 50 * 1024 * 1024
    client.fill_clipboard(CF_TEXT, size)
    client.wait_clipboard_busy()  # the program is reading the huge clip now
    client.set_clipboard((CF_TEXT, b"copied meanwhile\0"))
    count = lambda: history.path.exists() and storedform.sqlite(history.path, "SELECT count(*) FROM Log;")
    wait_for(lambda: count() == [b"2"], 120, interval=1, what="both rows")
    lengths = storedform.sqlite(history.path, "SELECT length(Text) FROM Log ORDER BY Id;")
    assert int(lengths[0]) >= size  # the stored form is never shorter than the block
    assert storedform.sqlite(history.path, "SELECT hex(Text) FROM Log WHERE Id=1;") == \
        [storedform.encode(b"copied meanwhile\0").hex().upper().encode()]
    assert running.running()


def xdotool(session, *args, check=True):
    return subprocess.run(["xdotool", *map(str, args)], env=session.env, check=check, capture_output=True, text=True,
                          timeout=30).stdout


def start_editor(session, client, program, title_pattern):
    """Starts a program nobody here wrote and gives its window the X focus, so that real key
    events reach it; returns its title and the window with the keyboard focus."""
    session.wine(program, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def shown():
        # A program may show a window under a first title and rename it at once: take an X window
        # and a Windows window of the same title, both there.
        for x_window in xdotool(session, "search", "--name", title_pattern, check=False).split():
            title = xdotool(session, "getwindowname", x_window, check=False).strip()
            window = client.window(title) if title else None
            if window:
                return x_window, title, window
        return None

    x_window, title, window = wait_for(shown, 60, what=f"a window named {title_pattern!r}")
    client.call("idle", f"{window:x}")
    xdotool(session, "windowfocus", "--sync", x_window)
    return title, wait_for(lambda: client.focus_of(window), what="the editor's focus")


def test_two_ctrl_c_in_notepad_30_ms_apart_are_both_kept(app, session, client, history):
    # With the compatibility delay longer than the gap, the first text is gone before it is read.
    app.write_config("[Main]\nSleep=0\n")
    app.start()
    _, edit = start_editor(session, client, NOTEPAD, "Notepad$")
    client.call("set_text", f"{edit:x}", hexed("first line\r\nother line"))
    xdotool(session, "key", "ctrl+Home", "shift+End")
    # Each key event about 8 ms after the one before: the two copies come about 30 ms apart.
    xdotool(session, "key", "--delay", 8, "ctrl+c", "Down", "End", "shift+Home", "ctrl+c")
    wait_for(lambda: history.texts()[-1:] == [b"other line\0"], 15, what="the second copy")
    assert history.texts() == [b"first line\0", b"other line\0"]


def test_a_wordpad_copy_is_rich_text_from_its_document_window(running, session, client, history):
    # The title of a document window; the frame is called "Wine Wordpad" before its document opens.
    title, edit = start_editor(session, client, WORDPAD, " - Wine Wordpad$")
    xdotool(session, "type", "yarrow")
    wait_for(lambda: client.text(edit) == "yarrow", what="the typed word")
    xdotool(session, "key", "ctrl+a", "ctrl+c")
    [row] = history.wait_count(1)
    assert (row["SourceName"].lower(), row["SourceTitle"]) == (b"wordpad.exe", title.encode())
    assert (row["Type"], row["Name"]) == (storedform.RICH_TEXT, b"yarrow")
