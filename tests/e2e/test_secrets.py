"""Content that password managers and browsers mark as secret is never recorded; unmarked content
copied right after it is."""
import time

from harness import CF_TEXT, History

DWORD_0, DWORD_1 = (0).to_bytes(4, "little"), (1).to_bytes(4, "little")
SECRET_MARKERS = [
    ("ExcludeClipboardContentFromMonitorProcessing", b"\0"),
    ("Clipboard Viewer Ignore", b"\0"),
    ("CanIncludeInClipboardHistory", DWORD_0),
]


def test_marked_copies_are_not_stored_and_the_next_copy_is(app, session, client):
    history = History(session)
    app.start()
    for index, (marker, data) in enumerate(SECRET_MARKERS):
        secret = f"password {index}".encode() + b"\0"
        # Marker before and after the text: the owner decides the order, the check must not care.
        blocks = [(CF_TEXT, secret), (marker, data)]
        client.set_clipboard(*(blocks if index % 2 else reversed(blocks)))
        history.settle_with_marker(client, f"after {index}".encode() + b"\0")
    time.sleep(0.25)  # a person's next copy: a pace past the program's debounce, not a wait
    client.set_clipboard((CF_TEXT, b"may be recorded\0"), ("CanIncludeInClipboardHistory", DWORD_1))
    history.settle_with_marker(client, b"last\0")

    texts = history.texts()
    assert texts == [b"after 0\0", b"after 1\0", b"after 2\0", b"may be recorded\0", b"last\0"]
    assert [row["Id"] for row in history.rows()] == list(range(5)), "a secret uses up no id"
    stored_secrets = sum(text.startswith(b"password") for text in texts)
    print(f"\nsecrets: {len(SECRET_MARKERS)} marked copies, {stored_secrets} stored; "
          f"{len(texts)} unmarked or allowed copies, {len(texts)} stored")
