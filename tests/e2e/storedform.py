"""The stored form of table Log, so that tests can write history files with the sqlite3 shell and
read them back: an offset byte, then every byte shifted down by it, with 0x01-escapes for the
results 0, 1 and 39 (the apostrophe). The offset is the first one with the fewest escapes."""
import subprocess

APOSTROPHE = 39
ESCAPES = {0: b"\x01\x01", 1: b"\x01\x02", APOSTROPHE: b"\x01\x03"}
ABSENT = b"(null)"
CREATE_TABLE = (b"CREATE TABLE Log(Id int PRIMARY KEY, DTime int, Name char(55),SourceName char(30),"
                b"SourceTitle char(100), Locale BLOB, Text  BLOB, Type  int, Data BLOB);")
PLAIN_TEXT, UNICODE_TEXT, RICH_TEXT, BITMAP = 0, 13, -1, 8


def _offset(data):
    counts = [0] * 256
    for byte in data:
        counts[byte] += 1
    fewest, chosen = len(data), 0
    for candidate in range(1, 256):
        if candidate == APOSTROPHE:
            continue
        escapes = counts[candidate] + counts[(candidate + 1) & 0xFF] + counts[(candidate + APOSTROPHE) & 0xFF]
        if escapes < fewest:
            fewest, chosen = escapes, candidate
            if escapes == 0:
                break
    return chosen


def encode(data):
    """encodeBinary over the bytes."""
    if not data:
        return b"x"
    offset = _offset(data)
    out = bytearray([offset])
    for byte in data:
        shifted = (byte - offset) & 0xFF
        out += ESCAPES.get(shifted, bytes([shifted]))
    return bytes(out)


def stored_text(text):
    """A text with its terminating zero byte, as Name, SourceName and SourceTitle hold it."""
    data = text.encode("cp1252") if isinstance(text, str) else text
    return encode(data + b"\0")


def stored_block(block):
    return ABSENT if block is None else encode(block)


def insert_statement(record_id, dtime, name, source_name=b"", source_title=b"", locale=None, text=None,
                     item_type=PLAIN_TEXT, data=None):
    """Statement 8 of the program with every value in stored form; name "" is the empty caption."""
    name_value = b"" if name in ("", b"") else stored_text(name)
    values = [name_value, stored_text(source_name), stored_text(source_title), stored_block(locale),
              stored_block(text)]
    quoted = b",".join(b"'" + v + b"'" for v in values)
    return (b"INSERT INTO Log VALUES (%d,%d," % (record_id, dtime) + quoted +
            b",%d,'" % item_type + stored_block(data) + b"');")


def text_record(record_id, text, dtime=1700000000, source_name="notepad.exe", source_title="Untitled - Notepad",
                item_type=PLAIN_TEXT):
    """A text item as the capture would store it: caption = the first 50 bytes (+ "...")."""
    data = text.encode("cp1252") + b"\0"
    caption = text if len(text) <= 50 else text[:50] + "..."
    unicode = (text.encode("utf-16-le") + b"\0\0") if item_type == UNICODE_TEXT else None
    rich = b"{\\rtf1 " + text.encode("cp1252") + b"}\0" if item_type == RICH_TEXT else None
    return insert_statement(record_id, dtime, caption, source_name, source_title, None, data, item_type,
                            unicode if unicode is not None else rich)


def image_record(record_id, dib, dtime=1700000000, source_name="mspaint.exe", source_title="Paint"):
    return insert_statement(record_id, dtime, "Image", source_name, source_title, None, None, BITMAP, dib)


def write_history(path, statements, create=True):
    """Runs the statements through the sqlite3 shell in one transaction."""
    script = b"BEGIN;\n" + (CREATE_TABLE + b"\n" if create else b"") + b"\n".join(statements) + b"\nCOMMIT;\n"
    path.parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["sqlite3", str(path)], input=script, check=True, timeout=60)


def sqlite(path, sql):
    """Output lines of the sqlite3 shell for a query, as bytes."""
    # Waits for the program while it writes, as another reader of the file would.
    out = subprocess.run(["sqlite3", "-cmd", ".timeout 30000", str(path), sql], capture_output=True, check=True, timeout=60)
    return out.stdout.splitlines()


def decode(stored):
    """decodeBinary; None for an absent block."""
    if stored in (None, ABSENT):
        return None
    if not stored:
        return b""
    offset, out, i = stored[0], bytearray(), 1
    unescape = {1: 0, 2: 1, 3: APOSTROPHE}
    while i < len(stored):
        byte = stored[i]
        if byte == 1:
            i += 1
            byte = unescape[stored[i]]
        out.append((byte + offset) & 0xFF)
        i += 1
    return bytes(out)


COLUMNS = ("Id", "DTime", "Name", "SourceName", "SourceTitle", "Locale", "Text", "Type", "Data")


def read_rows(path):
    """Every row of table Log, oldest first, as dicts of decoded values (texts without their zero)."""
    hexed_columns = ",".join(f"quote({c})" if c in ("Id", "DTime", "Type") else f"hex({c})" for c in COLUMNS)
    rows = []
    for line in sqlite(path, f"SELECT {hexed_columns} FROM Log ORDER BY Id;"):
        values = line.split(b"|")
        row = {}
        for column, value in zip(COLUMNS, values):
            if column in ("Id", "DTime", "Type"):
                row[column] = int(value)
                continue
            block = decode(bytes.fromhex(value.decode()))
            if column in ("Name", "SourceName", "SourceTitle") and block:
                block = block.rstrip(b"\0")
            row[column] = block
        rows.append(row)
    return rows
