"""Table Log's stored form, for history files written and read with the sqlite3 shell: an offset byte (the first
with the fewest escapes), then each byte less it, with 0x01-escapes for the results 0, 1 and 39 (')."""
import subprocess

APOSTROPHE = 39
ESCAPES = {0: b"\x01\x01", 1: b"\x01\x02", APOSTROPHE: b"\x01\x03"}
ABSENT = b"(null)"
CREATE_TABLE = (b"CREATE TABLE Log(Id int PRIMARY KEY, DTime int, Name char(55),SourceName char(30),"
                b"SourceTitle char(100), Locale BLOB, Text  BLOB, Type  int, Data BLOB);")
PLAIN_TEXT, UNICODE_TEXT, RICH_TEXT, BITMAP = 0, 13, -1, 8
COLUMNS = ("Id", "DTime", "Name", "SourceName", "SourceTitle", "Locale", "Text", "Type", "Data")
NUMBERS, TEXTS = ("Id", "DTime", "Type"), ("Name", "SourceName", "SourceTitle")


def _offset(data):
    counts = [data.count(byte) for byte in range(256)]
    escapes = lambda c: counts[c] + counts[(c + 1) & 0xFF] + counts[(c + APOSTROPHE) & 0xFF]
    return min((c for c in range(1, 256) if c != APOSTROPHE), key=lambda c: (escapes(c), c))


def encode(data):  # encodeBinary over the bytes; None is an absent block
    if data is None:
        return ABSENT
    if not data:
        return b"x"
    offset = _offset(data)
    return bytes([offset]) + b"".join(ESCAPES.get((b - offset) & 0xFF, bytes([(b - offset) & 0xFF])) for b in data)


def decode(stored):  # decodeBinary; None for an absent block
    if stored in (None, ABSENT):
        return None
    out, i = bytearray(), 1
    while i < len(stored):
        byte = {1: 0, 2: 1, 3: APOSTROPHE}[stored[i + 1]] if stored[i] == 1 else stored[i]
        out.append((byte + stored[0]) & 0xFF)
        i += 2 if stored[i] == 1 else 1
    return bytes(out)


def stored_text(text):  # a text with its terminating zero byte, as Name, SourceName and SourceTitle hold it
    return encode((text.encode("cp1252") if isinstance(text, str) else text) + b"\0")


def insert_statement(record_id, dtime, name, source_name=b"", source_title=b"", locale=None, text=None,
                     item_type=PLAIN_TEXT, data=None):
    """Statement 8 of the program with every value in stored form; name "" is the empty caption."""
    values = [b"" if name in ("", b"") else stored_text(name), stored_text(source_name), stored_text(source_title),
              encode(locale), encode(text)]
    quoted = b",".join(b"'" + v + b"'" for v in values)
    return b"INSERT INTO Log VALUES (%d,%d,%s,%d,'%s');" % (record_id, dtime, quoted, item_type, encode(data))


def text_record(record_id, text, dtime=1700000000, item_type=PLAIN_TEXT):  # as captured: caption 50 bytes (+ "...")
    caption = text if len(text) <= 50 else text[:50] + "..."
    data = {UNICODE_TEXT: text.encode("utf-16-le") + b"\0\0", RICH_TEXT: b"{\\rtf1 " + text.encode("cp1252") + b"}\0"}
    return insert_statement(record_id, dtime, caption, "notepad.exe", "Untitled - Notepad", None,
                            text.encode("cp1252") + b"\0", item_type, data.get(item_type))


def image_record(record_id, dib, dtime=1700000000):
    return insert_statement(record_id, dtime, "Image", "mspaint.exe", "Paint", None, None, BITMAP, dib)


def write_history(path, statements, create=True):  # runs the statements through the sqlite3 shell in one transaction
    script = b"BEGIN;\n" + (CREATE_TABLE + b"\n" if create else b"") + b"\n".join(statements) + b"\nCOMMIT;\n"
    path.parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["sqlite3", str(path)], input=script, check=True, timeout=60)


def sqlite(path, sql):  # output lines, as bytes; it waits while the program writes, as another reader would
    out = subprocess.run(["sqlite3", "-cmd", ".timeout 30000", str(path), sql], capture_output=True, check=True,
                         timeout=60)
    return out.stdout.splitlines()


def _value(column, value):
    if column in NUMBERS:
        return int(value)
    block = decode(bytes.fromhex(value.decode()))
    return block.rstrip(b"\0") if column in TEXTS and block else block


def read_rows(path):  # every row of table Log, oldest first, as dicts of decoded values (texts without their zero)
    columns = ",".join(f"quote({c})" if c in NUMBERS else f"hex({c})" for c in COLUMNS)
    return [{c: _value(c, v) for c, v in zip(COLUMNS, line.split(b"|"))}
            for line in sqlite(path, f"SELECT {columns} FROM Log ORDER BY Id;")]
