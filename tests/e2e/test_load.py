"""Captures by the thousand (texts, Unicode texts and images mixed) with the selection window open:
GDI and USER objects, kernel handles and private memory stay where the first half left them."""
import sqlite3
import time

from harness import private_kb, soak, wait_for

CAPTURES = 10_000 if soak() else 300
CF_DIB, CF_UNICODETEXT = 8, 13
DIB_SIZE = 40 + 1024 * 4 * 8  # a 1024 x 8 bitmap of 32 bits a pixel
AFTER_CAPTURE = 0.15  # the next notice must come 100 ms after the capture ended
# What may grow from the middle of the run to its end: nothing that grows with the count.
LEAK_BOUND = {"GDI": 5, "USER": 2, "handles": 10, "private KiB": 2048}
# What may grow from the start to the end: caches filling up (the SQLite page cache is 2 MiB,
# the list's first page of items and icons).
WARM_BOUND = {"GDI": 40, "USER": 5, "handles": 20, "private KiB": 6144}


def copy(client, n):
    kind = n % 3
    if kind == 0:
        client.copy_text(f"load text {n}: the quick brown fox jumps over the lazy dog")
    elif kind == 1:
        client.set_clipboard((CF_UNICODETEXT, f"load unicode {n}: caf\u00e9 \u4e2d\u6587".encode("utf-16-le") + b"\0\0"))
    else:
        client.fill_clipboard(CF_DIB, DIB_SIZE, seed=n)


def row_count(path):
    db = sqlite3.connect(f"file:{path}?mode=ro", uri=True, timeout=30)
    try:
        return db.execute("SELECT COUNT(*) FROM Log").fetchone()[0]
    finally:
        db.close()


def figures(app, client):
    gdi, user, handles = client.resources(app.window)
    return {"GDI": gdi, "USER": user, "handles": handles, "private KiB": private_kb(app.process.pid)}


def test_many_captures_leak_nothing(app, session, client, capsys):
    app.write_config("[Main]\nSleep=0\n")
    app.start()
    app.show()
    wait_for(lambda: client.visible(app.window), what="the selection window")
    time.sleep(1.5)  # painted, with its fonts, icons and tooltip made
    db = session.config_folder / "vorla.sql"
    measured = {0: figures(app, client)}
    started = time.monotonic()
    for n in range(CAPTURES):
        copy(client, n)
        wait_for(lambda: row_count(db) == n + 1, 15, interval=0.01, what=f"capture {n + 1}")
        time.sleep(AFTER_CAPTURE)
        if n + 1 in (CAPTURES // 2, CAPTURES):
            measured[n + 1] = figures(app, client)
    elapsed = time.monotonic() - started

    with capsys.disabled():
        print(f"\nload test: {CAPTURES} captures in {elapsed:.0f} s")
        for count, values in measured.items():
            print(f"  after {count:>6}: " + ", ".join(f"{name} {value}" for name, value in values.items()))
    start, half, end = measured.values()
    leaks = {name: end[name] - half[name] for name in LEAK_BOUND if end[name] - half[name] > LEAK_BOUND[name]}
    assert not leaks, f"grows with the number of captures: {leaks}"
    warm = {name: end[name] - start[name] for name in WARM_BOUND if end[name] - start[name] > WARM_BOUND[name]}
    assert not warm, f"grew beyond its caches: {warm}"
    assert app.running()
