#!/usr/bin/env python3
"""Reference reading of the pack archive and the BM2 texture conversion.

Written independently of the C++ code, as a literal walk through the steps:
a bytearray stands in for the memory stream and every read checks that it
delivers its full count. Used by the tests as an oracle.

    reference_texture.py INDEX NAME OUT
writes what `pomvella-cli extract INDEX NAME -o OUT` must write; exits 2 when
no record carries NAME and 3 with the message on stderr on a read error.
"""
import os
import struct
import sys

READ_ERROR = "ｽﾄﾘｰﾑからの読み込みｴﾗｰ"


class ReadFailure(Exception):
    pass


def read_exact(f, count):
    data = f.read(count)
    if len(data) != count:
        raise ReadFailure(READ_ERROR)
    return data


def read_index(index_path):
    """Returns the list of (name bytes, offset, size) records, or None for a wrong magic."""
    with open(index_path, "rb") as f:
        header = read_exact(f, 8)
        if header[0:4] != b"PACK":
            return None
        count = header[4] | (header[5] << 8)
        records = []
        for i in range(1, count + 1):
            f.seek(8 + 32 * (i - 1))
            record = read_exact(f, 32)
            field = record[0:24]
            name = field.split(b"\0", 1)[0]
            offset, size = struct.unpack("<ii", record[24:32])
            records.append((name, offset, size))
        return records


def stream_read(stream, position, count):
    if position > len(stream) or len(stream) - position < count:
        raise ReadFailure(READ_ERROR)
    return bytes(stream[position:position + count])


def stream_write(stream, position, data):
    end = position + len(data)
    if end > len(stream):
        stream.extend(b"\0" * (end - len(stream)))
    stream[position:end] = data


def convert_entry(entry):
    """The BMP file bytes for the bytes of one BM2 entry."""
    size = len(entry)
    if size <= 64:
        raise ReadFailure(READ_ERROR)
    # Step 1: copy 64 bytes, then from entry offset 64 on to stream position 54.
    stream = bytearray(entry[0:64])
    stream_write(stream, 54, entry[64:size])
    assert len(stream) == size - 10

    # Step 2: the 1078-byte header block.
    header = bytearray(stream_read(stream, 0, 1078))

    # Step 3: header fields.
    header[6:8] = b"\0\0"
    header[8:10] = b"\0\0"
    low = header[10] | (header[11] << 8)
    low = (low - 10) % 65536
    header[10] = low & 0xFF
    header[11] = low >> 8
    header[14:18] = struct.pack("<I", 40)
    header[34:38] = struct.pack("<I", len(stream) - 1078)

    # Step 4: colours of each palette entry, in index order.
    pal = header[54:1078]
    for k in range(256):
        p = [pal[4 * k], pal[4 * k + 1], pal[4 * k + 2], pal[4 * k + 3]]
        p[0], p[2] = p[2], p[0]
        a = p[3]
        if a < 128:
            for c in range(3):
                p[c] = (p[c] * a + 64) // 128
        p[3] = 0
        pal[4 * k:4 * k + 4] = bytes(p)

    # Step 5: in each block of 32 entries, 8..15 trade places with 16..23.
    entries = [bytes(pal[4 * k:4 * k + 4]) for k in range(256)]
    for block in range(8):
        base = 32 * block
        for j in range(8):
            a, b = base + 8 + j, base + 16 + j
            entries[a], entries[b] = entries[b], entries[a]
    header[54:1078] = b"".join(entries)

    # Step 6: write the header block back.
    stream_write(stream, 0, header)

    # Step 7: row reversal on the low 16 bits of width and height.
    w = header[18] | (header[19] << 8)
    h = header[22] | (header[23] << 8)
    for r in range(1, h // 2 + 1):
        upper = 1078 + (r - 1) * w
        lower = 1078 + (h - r) * w
        first = stream_read(stream, upper, w)
        second = stream_read(stream, lower, w)
        stream_write(stream, lower, first)
        stream_write(stream, upper, second)
    return bytes(stream)


def extract(index_path, name):
    """The converted bytes of the last record named name; None when no record carries it."""
    records = read_index(index_path)
    if records is None:
        raise ReadFailure("not a pack archive")
    matches = [r for r in records if r[0] == name]
    if not matches:
        return None
    _, offset, size = matches[-1]
    data_path = os.path.splitext(index_path)[0] + ".001"
    if offset < 0 or size < 0:
        raise ReadFailure(READ_ERROR)
    with open(data_path, "rb") as f:
        f.seek(offset)
        entry = read_exact(f, size)
    return convert_entry(entry)


def main(argv):
    if len(argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    index_path, name, out_path = argv[1], os.fsencode(argv[2]), argv[3]
    try:
        result = extract(index_path, name)
    except ReadFailure as failure:
        print(str(failure), file=sys.stderr)
        return 3
    if result is None:
        return 2
    with open(out_path, "wb") as f:
        f.write(result)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
