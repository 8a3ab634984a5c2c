#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Vignetta developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the seed corpus of the fuzz targets into corpus/<target>/ beside this script.

Each seed is a small input that means something to its target; the input formats are described
at the top of each target's source. Run again after changing a format.
"""
import os
import struct

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'corpus')

def put(target, name, data):
    d = os.path.join(root, target); os.makedirs(d, exist_ok=True)
    if isinstance(data, str): data = data.encode('utf-8')
    open(os.path.join(d, name), 'wb').write(data)


# numericValue: the text itself (read as UTF-8 and as UTF-16)
nv = {
 'integer': '150', 'blanks-and-unit': '  150px', 'blanks-inside': '1 5 0',
 'negative-fraction': '-1.5', 'plus-leading-point': '+.5', 'trailing-point': '5.',
 'exponent-not-read': '1e3', 'sign-then-blank': '- 5', 'two-signs': '--3',
 'second-point': '1.2.3', 'tab-is-not-blank': '\t5', 'arabic-digit': '1\u0663',
 'overflow': '9' * 400, 'negative-overflow': '-' + '9' * 400,
 'underflow': '0.' + '0' * 400 + '1', 'subnormal': '0.' + '0' * 309 + '1',
 'many-digits-exact': '0' * 100 + '42', 'long-fraction': '3.14159265358979323846264338327950288',
 'utf16-digits': '1\x002\x00.\x005\x00',
}
for k, v in nv.items(): put('fuzz_numeric_value', k, v)

# htmlColor: 32-bit values, lowest byte first
for k, vals in {'black-white': [0, 0xFFFFFF], 'one-each': [0x0000FF, 0x00FF00, 0xFF0000],
                'high-byte-set': [0xFF123456, 0x80ABCDEF], 'mixed': [0x00123456, 0x0ABCDEF0]}.items():
    put('fuzz_html_color', k, b''.join(struct.pack('<I', v) for v in vals))

# renderPage: flags, then width, height, columns, thickness, fore, back, file name, names
US = '\x1f'
def page(flags, fields, names, utf16=False):
    text = US.join(fields + names)
    body = text.encode('utf-16-le', 'surrogatepass') if utf16 else text.encode('utf-8')
    return bytes([flags | (1 if utf16 else 0)]) + body
std = ['150', '150', '2', '2', '#000000', '#FFFFFF', 'Vignetta.html']
put('fuzz_page_render', 'three-in-rows-of-two', page(8, std, ['a.jpg', 'b.gif', 'c.bmp']))
put('fuzz_page_render', 'typed-sizes-half-columns',
    page(8, ['150px', '80', '2.5', '', '#ABCDEF', '#0000FF', 'x.html'],
         ['IMG_1.jpg', 'IMG_2.jpg', 'IMG_10.jpg', 'my & your.gif', 'Z.BMP']))
put('fuzz_page_render', 'names-needing-care',
    page(0, ['64', '48', '5', '0', '#000000', '#FFFFFF', 'p.html'],
         ['100%.jpg', '09:10:11.jpg', 'a#1.jpg', '"q" <b>.gif', 'été.jpg', 'why?.png', 'a>b.jpg']))
put('fuzz_page_render', 'no-images', page(8, ['150', '150', '1', '2', '#000000', '#FFFFFF', 'p.html'], []))
put('fuzz_page_render', 'columns-below-one', page(8, ['1', '1', '0.5', '1', '', '', ''], ['a', 'b', 'c']))
put('fuzz_page_render', 'columns-huge', page(8, ['1', '1', '9' * 40, '1', '', '', ''], ['a', 'b', 'c']))
put('fuzz_page_render', 'utf16-pair-and-blanks',
    page(0, std, ['\U0001F600.jpg', 'my photo.jpg', 'Photo 1 & 2.JPG', 'caf\u00e9.Jpg'], utf16=True))
def fnv(b):
    h = 2166136261
    for x in b: h = ((h ^ x) * 16777619) & 0xFFFFFFFF
    return h
def blown(mode, flags, fields, names):
    # vary the file name (unused by the page) until the hash picks this blow-up
    for i in range(10**7):
        f = list(fields); f[6] = 'big%d.html' % i
        data = page(flags, f, names)
        h = fnv(data)
        if (h & 0xFF) == 0xB5 and (h >> 8 & 3) == mode:
            return data
put('fuzz_page_render', 'many-names', blown(0, 8, std, ['a.jpg', 'b"c.jpg', 'd.gif']))
put('fuzz_page_render', 'long-name', blown(1, 0, std, ['x<y%z.jpg']))
put('fuzz_page_render', 'long-sizes', blown(2, 8, ['12', '34', '3', '1', '', '', ''], ['a.jpg', 'b.jpg']))
put('fuzz_page_render', 'many-names-one-row', blown(3, 0, ['1', '1', '7', '5', '', '', ''], ['q.jpg', 'r&s.jpg']))
# Names a page once got wrong: line breaks, backslashes and half surrogate pairs; and names
# written as they are although a browser may read them differently.
put('fuzz_page_render', 'line-break-in-name', page(8, std, ['a\r\nb.jpg', 'c\nd.jpg', 'e\rf.jpg']))
put('fuzz_page_render', 'reference-in-name', page(8, std, ['&amp;.jpg', '&copy.jpg', '&#65;.jpg', '&lt;b&gt;.jpg']))
put('fuzz_page_render', 'blanks-at-ends', page(8, std, [' lead.jpg', 'trail.jpg ', 'tab\there.jpg']))
put('fuzz_page_render', 'backslash', page(8, std, ['back\\slash.jpg']))
put('fuzz_page_render', 'half-surrogate', page(8, std, ['a\ud800', '\udc00b.jpg', 'c\ud801', 'd.jpg'], utf16=True))

# moves: flags, names separated by U+001F, 0x1E, one byte per move
def moves(flags, names, ops, utf16=False, raw=False):
    if raw:  # names as bytes, in any encoding
        return bytes([(flags & ~3) | 2]) + b'\x1f'.join(names) + b'\x1e' + bytes(ops)
    text = US.join(names)
    body = text.encode('utf-16-le', 'surrogatepass') if utf16 else text.encode('utf-8')
    return bytes([flags | (1 if utf16 else 0)]) + body + b'\x1e' + bytes(ops)
put('fuzz_name_moves', 'numbers-and-case',
    moves(0x10, ['IMG_1.jpg', 'IMG_2.jpg', 'IMG_10.jpg', 'img_2.JPG', 'Z.BMP', 'a.gif'], [0x00, 0x01, 0x3C, 0x3D, 0x02, 0x03, 0x20]))
put('fuzz_name_moves', 'leading-zeros',
    moves(0x22, ['a9', 'a09', 'a009', 'a10', 'a0', 'a00', 'a', 'b0', 'a9b'], [0x40, 0x41, 0x80, 0x81, 0xC0]))
put('fuzz_name_moves', 'accents',
    moves(0x44, ['\u00c9t\u00e9.jpg', 'ete.jpg', '\u00c9T\u00c9.JPG', 'e\u0301te.jpg', 'Ete2.jpg', '\u00bd.jpg', '\uff11\uff12.jpg'],
          [0x02, 0x1D, 0x5C, 0x03, 0xFC]))
put('fuzz_name_moves', 'everything-back-and-forth', moves(0x08, ['c', 'b', 'a', 'B', 'A', 'C'], [0x02, 0x03, 0x02, 0x03]))
put('fuzz_name_moves', 'utf16-surrogates',
    moves(0x30, ['\U0001F600', 'x\ud800', '\udc00', 'Z', 'z'], [0x10, 0x11, 0x12], utf16=True))
put('fuzz_name_moves', 'take-none-and-all', moves(0x55, ['n%d' % i for i in range(20)], [0x00, 0xFC, 0x01, 0xFD, 0x3C]))
put('fuzz_name_moves', 'latin-1-bytes',
    moves(0x40, [b'caf\xe9.jpg', b'caf\xc3\xa9.jpg', b'CAF\xc9.JPG', b'\xff\xfe.gif', b'a\x80', b'IMG_10\xe9', b'IMG_9\xe9',
                 b'\xed\xa0\x80.jpg', b'\xc0\xaf'], [0x00, 0x41, 0x02, 0x03, 0x80], raw=True))
put('fuzz_name_moves', 'long-shared-prefixes',
    moves(0x18, ['Holiday_2023_%03d%s.jpg' % (i, 'abc'[i % 3]) for i in range(40)] + ['holiday_2023_007a.jpg', 'HOLIDAY_2023_7A.JPG'],
          [0x21, 0x02, 0x41, 0x03, 0x61]))
