"""Reads screenshots in the X Window Dump format (what `xwd` writes) or as PNG files (what a
browser's screenshots are), and writes PNG files.

Only the standard library is used: the tests run on a bare Debian machine.
"""
import array
import struct
import sys
import zlib

_HEADER = struct.Struct(">25I")


class Image:
    """An RGB image: `pixel(x, y)` gives an (r, g, b) tuple."""

    def __init__(self, width, height, rows):
        self.width = width
        self.height = height
        self._rows = rows  # one bytes object of packed RGB per row

    def pixel(self, x, y):
        row = self._rows[y]
        return row[3 * x], row[3 * x + 1], row[3 * x + 2]

    def crop(self, left, top, width, height):
        rows = [self._rows[y][3 * left:3 * (left + width)] for y in range(top, top + height)]
        return Image(width, height, rows)

    def rows(self):
        return self._rows


def _shift(mask):
    return (mask & -mask).bit_length() - 1


_DIRECT_COLOR = 5
_COLOR = struct.Struct(">IHHHBx")


def _direct_color_maps(data, offset, ncolors):
    """A DirectColor pixel's fields index the colour map, one entry per field value."""
    entries = [_COLOR.unpack_from(data, offset + 12 * i) for i in range(ncolors)]
    return tuple(bytes(entry[channel] >> 8 for entry in entries) for channel in (1, 2, 3))


def _scaled_rows(data, offset, width, height, bytes_per_line, bits_per_pixel, byte_order,
                 masks):
    """Rows of a dump whose colour fields are not whole bytes (depths 15, 16 and 30): each
    field is scaled to a byte, full intensity to 255. A screen shows few colours, so each
    pixel value is worked out once."""
    kind = "H" if bits_per_pixel == 16 else "I"
    swap = (byte_order == 0) != (sys.byteorder == "little")
    fields = [(mask, _shift(mask), mask >> _shift(mask)) for mask in masks]
    known = {}

    def rgb(value):
        colour = known.get(value)
        if colour is None:
            colour = bytes(((value & mask) >> shift) * 255 // top for mask, shift, top in fields)
            known[value] = colour
        return colour

    rows = []
    for y in range(height):
        start = offset + y * bytes_per_line
        values = array.array(kind, data[start:start + bits_per_pixel // 8 * width])
        if swap:
            values.byteswap()
        rows.append(b"".join(rgb(value) for value in values))
    return rows


def read_xwd(path):
    """Reads a ZPixmap dump of a TrueColor or DirectColor screen with 16, 24 or 32 bits per
    pixel."""
    with open(path, "rb") as f:
        data = f.read()
    (header_size, _version, pixmap_format, _depth, width, height, _xoffset, byte_order,
     _unit, _bit_order, _pad, bits_per_pixel, bytes_per_line, visual_class,
     red_mask, green_mask, blue_mask, _bits_per_rgb, _entries, ncolors,
     *_rest) = _HEADER.unpack_from(data, 0)
    if pixmap_format != 2 or bits_per_pixel not in (16, 24, 32):
        raise ValueError("%s: only 16-, 24- and 32-bit ZPixmap dumps are supported (format %d, "
                         "%d bits)" % (path, pixmap_format, bits_per_pixel))
    stride = bits_per_pixel // 8
    offset = header_size + 12 * ncolors
    masks = (red_mask, green_mask, blue_mask)
    shifts = tuple(_shift(mask) for mask in masks)
    if visual_class != _DIRECT_COLOR and (
            bits_per_pixel == 16 or any(shift % 8 or mask >> shift != 0xFF
                                        for shift, mask in zip(shifts, masks))):
        return Image(width, height, _scaled_rows(data, offset, width, height, bytes_per_line,
                                                 bits_per_pixel, byte_order, masks))
    if any(shift % 8 for shift in shifts):
        raise ValueError("colour channels must be whole bytes")
    # Each channel is one byte of the pixel; which byte depends on the dump's byte order.
    lanes = [shift // 8 if byte_order == 0 else stride - 1 - shift // 8 for shift in shifts]
    maps = None
    if visual_class == _DIRECT_COLOR:
        maps = _direct_color_maps(data, header_size, ncolors)
    rows = []
    for y in range(height):
        start = offset + y * bytes_per_line
        pixels = data[start:start + stride * width]
        row = bytearray(3 * width)
        for channel, lane in enumerate(lanes):
            values = pixels[lane::stride]
            row[channel::3] = values.translate(maps[channel]) if maps else values
        rows.append(bytes(row))
    return Image(width, height, rows)


def _unfilter(kind, row, previous, stride):
    """Undoes one PNG row filter (None, Sub, Up, Average, Paeth) in place."""
    for i in range(len(row)):
        left = row[i - stride] if i >= stride else 0
        up = previous[i]
        corner = previous[i - stride] if i >= stride else 0
        if kind == 1:
            row[i] = (row[i] + left) & 0xFF
        elif kind == 2:
            row[i] = (row[i] + up) & 0xFF
        elif kind == 3:
            row[i] = (row[i] + ((left + up) >> 1)) & 0xFF
        elif kind == 4:
            p = left + up - corner
            pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
            row[i] = (row[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 0xFF
        elif kind != 0:
            raise ValueError("unknown PNG filter %d" % kind)


def read_png(path):
    """Reads an 8-bit RGB or RGBA PNG without interlacing; alpha is dropped."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(path + ": not a PNG file")
    pos, idat, header = 8, [], None
    while pos < len(data):
        length, kind = struct.unpack_from(">I4s", data, pos)
        payload = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", payload)
        elif kind == b"IDAT":
            idat.append(payload)
        pos += 12 + length
    width, height, depth, colour_type, _, _, interlace = header
    if depth != 8 or colour_type not in (2, 6) or interlace:
        raise ValueError("%s: only 8-bit RGB or RGBA PNG without interlacing" % path)
    stride = 3 if colour_type == 2 else 4
    raw = zlib.decompress(b"".join(idat))
    rows, previous = [], bytearray(width * stride)
    for y in range(height):
        start = y * (width * stride + 1)
        row = bytearray(raw[start + 1:start + 1 + width * stride])
        _unfilter(raw[start], row, previous, stride)
        previous = row
        if stride == 4:
            rgb = bytearray(3 * width)
            for channel in range(3):
                rgb[channel::3] = row[channel::4]
            row = rgb
        rows.append(bytes(row))
    return Image(width, height, rows)


def read_image(path):
    return read_png(path) if path.endswith(".png") else read_xwd(path)


def write_png(image, path):
    def chunk(kind, payload):
        body = kind + payload
        return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\x00" + row for row in image.rows())
    header = struct.pack(">IIBBBBB", image.width, image.height, 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", header))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))
