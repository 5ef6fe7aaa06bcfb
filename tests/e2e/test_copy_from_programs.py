import shutil
import struct
import time
import zlib

import storedform
from harness import CLIENT_EXE, WM_COMMAND, Client, History, hexed, wait_for, xclip, xdotool

CF_TEXT, CF_DIB, CF_UNICODETEXT, CF_LOCALE = 1, 8, 13, 16
WM_DRAWCLIPBOARD = 0x308
ID_RECONNECT_CLIPBOARD, ID_MONITOR_CLIPBOARD, ID_COPY_TO_CLIPBOARD = 110, 112, 32772
WORDPAD = r"C:\Program Files\Windows NT\Accessories\wordpad.exe"
LOCALE_EN_US = (0x0409).to_bytes(4, "little")
DIB = struct.pack("<IiiHH", 40, 2, 2, 1, 32) + bytes(24) + bytes(range(16))
PICTURE = [[(255, 0, 0), (0, 255, 0), (0, 0, 255)], [(10, 20, 30), (200, 100, 50), (255, 255, 255)]]  # rows of pixels
SECRET_MARKERS = [("ExcludeClipboardContentFromMonitorProcessing", b"\0"), ("Clipboard Viewer Ignore", b"\0"),
                  ("CanIncludeInClipboardHistory", bytes(4))]
UTF16 = "utf-16-le"


def png_of(rows):
    """An 8-bit RGB PNG of the rows, written by hand."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 2, 0, 0, 0)
    lines = b"".join(b"\0" + bytes(value for pixel in row for value in pixel) for row in rows)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(lines)) + chunk(b"IEND", b"")


def copy_each(client, history, *clips):
    """Copies each clip apart as a person would, then waits until the program has handled them."""
    for blocks in clips:
        client.set_clipboard(*blocks)
        time.sleep(0.4)  # the pace of a person's copies, past the program's debounce
    history.settle_with_marker(client, f"marker {time.monotonic_ns()}\0".encode())


def since(history, count):
    """The rows after the first `count`, markers left out."""
    return [r for r in history.rows()[count:] if not (r["Text"] or b"").startswith(b"marker ")]


def editor_focused(session, client, program, title_pattern):
    """Starts a program nobody here wrote and gives it the X focus; returns its title and focus window."""
    session.wine(program)

    def shown():  # an X window and a Windows window of the same title: a first title may be renamed at once
        for x_window in xdotool(session, "search", "--name", title_pattern, check=False).split():
            title = xdotool(session, "getwindowname", x_window, check=False).strip()
            window = client.window(title) if title else None
            if window:
                return x_window, title, window
    x_window, title, window = wait_for(shown, 60, what=f"a window named {title_pattern!r}")
    client.on("idle", window)
    xdotool(session, "windowfocus", "--sync", x_window)
    return title, wait_for(lambda: client.focus_of(window), what="the editor's focus")


def test_copies_from_the_client_and_x11(app, session, client):
    """- content on the clipboard at start, while monitoring is off, and at a reconnect is not captured
    - the program's own write is not captured, even with a later viewer that passes nothing on
    - a text becomes one row: Unicode form, locale, caption, source program and title, time; rich text, DIBs
      and PNGs from X11 too (not one that does not decode); repeats of the newest item are stored once
    - viewers after the program get each notice once; the exclusion list matches whole names in any case
    - secret copies are not stored, use up no id; a burst from X11 is kept in order down to the last
    - a huge clip is stored whole, and a copy made while it is read is not lost; CaptureImage=0 skips pictures"""
    client.copy_text("before start")
    app.write_config("[Main]\nExceptApp=,excluded.exe,\n")
    history = History(session)
    client.call("viewer")  # joins before the program, so the program passes its notices on to it
    app.start()
    started = int(time.time())
    client.send(app.window, WM_COMMAND, ID_RECONNECT_CLIPBOARD)  # sent: a copy during the reconnect is never seen
    text, rich = b"  two\twords\r\n\0", b"{\\rtf1 it's}\0"
    copy_each(client, history, [(CF_TEXT, text), (CF_LOCALE, LOCALE_EN_US)],
              [(CF_TEXT, b"it's\0"), ("Rich Text Format", rich), (CF_UNICODETEXT, "it's".encode(UTF16) + b"\0\0")],
              [(CF_DIB, DIB)])
    rows = since(history, 0)
    assert [(r["Type"], r["Text"], r["Name"]) for r in rows] == [
        (storedform.UNICODE_TEXT, text, b"two words  "), (storedform.RICH_TEXT, b"it's\0", b"it's"),
        (storedform.BITMAP, None, b"Image")]
    assert (rows[0]["Data"], rows[0]["Locale"]) == ("  two\twords\r\n".encode(UTF16) + b"\0\0", LOCALE_EN_US)
    assert (rows[0]["SourceName"].lower(), rows[0]["SourceTitle"]) == (b"ykclient.exe", b"Yarrowkit Test Client")
    assert started - 2 <= rows[0]["DTime"] <= time.time() + 2
    assert (rows[1]["Data"], rows[2]["Data"]) == (rich, DIB)

    notices = lambda: client.call("received").split().count(f"{WM_DRAWCLIPBOARD},0,0")
    before = notices()
    for text in ("passed on", "passed on", "passed on too"):  # the repeat is not captured, but passed on
        client.copy_text(text)
    wait_for(lambda: history.texts()[-1:] == [b"passed on too\0"], what="the last copy passed on")
    wait_for(lambda: notices() - before >= 3, what="the three notices passed on")
    assert notices() - before == 3, "each notice is passed on once"

    client.call("viewer")  # joins after the program and passes nothing on: the program gets no notices
    count = len(history.rows())
    app.show(wait=True)
    app.select(rows[0]["Id"])
    before = client.call("clip_sequence")
    client.command(app.window, ID_COPY_TO_CLIPBOARD)
    wait_for(lambda: client.call("clip_sequence") != before, what="the program's write")
    client.copy_text("after the own write")
    wait_for(lambda: history.texts()[-1:] == [b"after the own write\0"], what="the next copy")
    assert len(history.rows()) == count + 1, "the program's own write is not captured"

    count = len(history.rows())
    xclip(session, png_of(PICTURE), "image/png")
    [picture] = wait_for(lambda: since(history, count), 15, what="the picture row")
    # Its pixels are the decoder's (tested alone); here: a 32-bit DIB of 3 x 2.
    assert (picture["Type"], picture["Name"], len(picture["Data"])) == (storedform.BITMAP, b"Image", 40 + 3 * 2 * 4)
    xclip(session, png_of(PICTURE)[:60], "image/png")  # does not decode
    copy_each(client, history, *([(CF_TEXT, t)] for t in (b"A\0", b"A\0", b"B\0", b"A\0")))
    assert [r["Text"] for r in since(history, count + 1)] == [b"A\0", b"B\0", b"A\0"]

    count = len(history.rows())
    for name in ("EXCLUDED.EXE", "myexcluded.exe"):
        shutil.copy(CLIENT_EXE, session.dir / name)
        other = Client(session, session.dir / name)
        other.copy_text(name)
        time.sleep(0.4)  # a person's pace between copies
        other.close()
    secrets = [[(CF_TEXT, b"password\0"), marker] for marker in SECRET_MARKERS]
    secrets[1].reverse()  # the owner decides the order of the formats; the check must not care
    copy_each(client, history, *secrets, [(CF_TEXT, b"allowed\0"), (SECRET_MARKERS[2][0], (1).to_bytes(4, "little"))])
    assert [r["Text"] for r in since(history, count)] == [b"myexcluded.exe\0", b"allowed\0"]
    assert [r["Id"] for r in history.rows()] == list(range(len(history.rows()))), "a secret uses up no id"

    count = len(history.rows())
    client.post(app.window, WM_COMMAND, ID_MONITOR_CLIPBOARD)
    wait_for(lambda: app.config().get("MonitorClipBoard") == "0", what="MonitorClipBoard=0")
    client.copy_text("while off")
    client.post(app.window, WM_COMMAND, ID_MONITOR_CLIPBOARD)
    wait_for(lambda: app.config().get("MonitorClipBoard") == "1", what="MonitorClipBoard=1")
    client.send(app.window, WM_COMMAND, ID_RECONNECT_CLIPBOARD)
    copy_each(client, history)
    assert since(history, count) == []

    for i in range(20):
        xclip(session, f"x11 {i}".encode())
        time.sleep(0.15)  # the pace of the burst, not a wait for the program
    wait_for(lambda: history.texts()[-1:] == [b"x11 19\0"], 15, what="the last copy of the burst")
    numbers = [int(t[len(b"x11"):-1]) for t in history.texts() if (t or b"").startswith(b"x11 ")]
    assert numbers == sorted(set(numbers)) and numbers[-1] == 19, numbers

    app.close_quietly()
    app.write_config("[Main]\nCaptureImage=0\nExceptApp=myexcluded.exe\n")  # a name without its commas
    app.start()
    count = len(history.rows())
    copy_each(client, history, [(CF_DIB, DIB[:-1] + b"\xff")])
    assert since(history, count) == [], "a picture"
    other = Client(session, session.dir / "myexcluded.exe")
    other.copy_text("from a name the list does not hold")
    other.close()
    wait_for(lambda: since(history, count), 15, what="the copy of myexcluded.exe")
    count = len(history.rows())  # ids run from 0 without gaps

    size = 50 * 1024 * 1024  # last: reading it back whole is slow
    client.fill_clipboard(CF_TEXT, size)
    client.call("clip_wait_busy", 60000)  # the program is reading the huge clip now
    client.copy_text("copied meanwhile")
    query = lambda sql: storedform.sqlite(history.path, sql)
    wait_for(lambda: query("SELECT count(*) FROM Log;") == [str(count + 2).encode()], 120, 1, what="both rows")
    assert int(query(f"SELECT length(Text) FROM Log WHERE Id={count};")[0]) >= size
    assert query(f"SELECT hex(Text) FROM Log WHERE Id={count + 1};") == [
        storedform.encode(b"copied meanwhile\0").hex().upper().encode()]


def test_copies_in_notepad_and_wordpad(app, session, client):
    """- two Ctrl+C in Notepad 30 ms apart are both kept (no compatibility delay), the source its program
    - a WordPad copy (owned by a hidden OLE window) is rich text, its source the document window's program and title"""
    app.write_config("[Main]\nSleep=0\n")
    app.start()
    history = History(session)
    _, edit = editor_focused(session, client, "notepad", "Notepad$")
    client.on("set_text", edit, hexed("first line\r\nother line"))
    xdotool(session, "key", "ctrl+Home", "shift+End")
    # Each key event about 8 ms after the one before: the two copies come about 30 ms apart.
    xdotool(session, "key", "--delay", 8, "ctrl+c", "Down", "End", "shift+Home", "ctrl+c")
    wait_for(lambda: history.texts()[-1:] == [b"other line\0"], 15, what="the second copy")
    assert history.texts() == [b"first line\0", b"other line\0"]
    row = history.rows()[1]
    assert row["SourceName"].lower() == b"notepad.exe"  # its title changes as it starts; WordPad's is checked

    # A document window's title; the frame is called "Wine Wordpad" before its document opens.
    title, edit = editor_focused(session, client, WORDPAD, " - Wine Wordpad$")
    xdotool(session, "type", "yarrow")
    wait_for(lambda: client.text(edit) == "yarrow", what="the typed word")
    xdotool(session, "key", "ctrl+a", "ctrl+c")
    row = wait_for(lambda: history.rows()[2:], 15, what="the WordPad row")[0]
    assert (row["SourceName"].lower(), row["SourceTitle"]) == (b"wordpad.exe", title.encode())
    assert (row["Type"], row["Name"]) == (storedform.RICH_TEXT, b"yarrow")
