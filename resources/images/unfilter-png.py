#!/usr/bin/env python3
# Rewrites 8-bit RGBA PNG files in place with every row unfiltered (filter
# type None), keeping their pixels and all other chunks as they are. The
# pictures decode at every start, and undoing the Paeth and average filters
# was most of that work; unfiltered rows compress about as well here.
import struct
import sys
import zlib

def chunks(data):
    i = 8
    while i < len(data):
        n, t = struct.unpack('>I4s', data[i:i + 8])
        yield t, data[i + 8:i + 8 + n]
        i += 12 + n

def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c

def rewrite(path):
    data = open(path, 'rb').read()
    parts = list(chunks(data))
    w, h, depth, ctype, _, _, interlace = struct.unpack('>IIBBBBB', parts[0][1])
    assert depth == 8 and ctype == 6 and interlace == 0, path
    bpp, stride = 4, w * 4
    raw = zlib.decompress(b''.join(d for t, d in parts if t == b'IDAT'))
    prev = bytearray(stride)
    out = bytearray()
    for r in range(h):
        f = raw[r * (stride + 1)]
        line = bytearray(raw[r * (stride + 1) + 1:(r + 1) * (stride + 1)])
        for x in range(stride):
            a = line[x - bpp] if x >= bpp else 0
            b = prev[x]
            c = prev[x - bpp] if x >= bpp else 0
            line[x] = (line[x] + (0, a, b, (a + b) // 2, paeth(a, b, c))[f]) & 0xFF
        out += b'\0' + line
        prev = line
    idat = zlib.compress(bytes(out), 9)
    result = bytearray(data[:8])
    wrote = False
    for t, d in parts:
        if t == b'IDAT':
            if wrote:
                continue
            d, wrote = idat, True
        result += struct.pack('>I4s', len(d), t) + d + struct.pack('>I', zlib.crc32(t + d) & 0xFFFFFFFF)
    open(path, 'wb').write(bytes(result))

for p in sys.argv[1:]:
    rewrite(p)
