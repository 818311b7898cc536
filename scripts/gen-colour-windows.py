#!/usr/bin/env python3
# Generates the layouts of the colour palette window and the music style window:
#   scripts/gen-colour-windows.py skin
# writes skin/XML/PalletDialog.xml and skin/XML/music.xml, and the seven-colour picture
# skin/common/base1.png. Edit the layouts here and run it again; the generated files are what
# the program loads.
import os
import struct
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from skinxml import *  # noqa: E402,F401,F403

POINTER = prop('cursor', '<cursorShape>PointingHandCursor</cursorShape>')

WINDOW_STYLE = STYLE + """
QWidget#root { background: #151b21; border: 1px solid #2b3540; }
QLabel#window_title { font-size: 15px; font-weight: bold; color: #f2f5f7; }
QPushButton[role="swatch"] { border: 2px solid #2e3a45; border-radius: 4px; }
QPushButton[role="swatch"]:checked { border: 2px solid #f2f5f7; }
QPushButton[role="swatch"][filled="false"] { border-style: dashed; }
QPushButton#color_show_btn { border: 1px solid #2e3a45; border-radius: 6px; }
QPushButton#okbtn { background: #19c3a6; color: #0b0f12; border-radius: 4px; padding: 6px 18px; }
QPushButton#laterbtn { background: #2b3540; color: #e8ecef; border-radius: 4px; padding: 6px 18px; }"""

# The preset swatches: reds to violets, then the greys.
PRESETS = ['#FFFF0000', '#FFFF4000', '#FFFF8000', '#FFFFC000', '#FFFFFF00', '#FF80FF00',
           '#FF00FF00', '#FF00FF80', '#FF00FFFF', '#FF0080FF', '#FF0000FF', '#FF4000FF',
           '#FF8000FF', '#FFFF00FF', '#FFFF0080', '#FFFFFFFF', '#FFC0C0C0', '#FF808080',
           '#FF404040', '#FF19C3A6']


def caption_button(name, image, tip, hidden=False):
    body = fixed(30, 30) + POINTER + dyn('tiptextid', tip) + dyn('normalimage', f'common/{image}.png')
    body += dyn('hotimage', f'common/{image}_hot.png')
    if hidden:
        body += prop('visible', '<bool>false</bool>')
    return widget('QPushButton', name, body)


def title_row(title, buttons):
    items = [item(label('window_title', title)), hspacer('title_spacer')]
    items += [item(b) for b in buttons]
    return layout('QHBoxLayout', 'title_row', items, sp=4)


def swatch(name, colour, filled=True):
    body = fixed(26, 26) + POINTER + prop('checkable', '<bool>true</bool>')
    body += prop('autoExclusive', '<bool>true</bool>') + dyn('role', 'swatch') + dyn('bkcolor', colour)
    body += dyn('filled', 'true' if filled else 'false')
    return widget('QPushButton', name, body)


def swatch_grid(name, prefix, colours, filled):
    # One parent for all twenty, so choosing one unselects the others.
    items = [item(swatch(f'{prefix}{i}', c, filled), f' row="{i // 10}" column="{i % 10}"')
             for i, c in enumerate(colours)]
    return widget('QWidget', name, layout('QGridLayout', name + '_grid', items, sp=6))


def edit(name):
    return widget('QLineEdit', name, fixed(56, 26) + prop('maxLength', num(4)))


def palette_dialog():
    left = widget('CColorPaletteUI', 'Pallet', fixed(360, 240))
    edits = []
    for c, n in (('r', 'R'), ('g', 'G'), ('b', 'B')):
        edits.append(item(label(f'color_edit_{c}_caption', f'light_colour_{c}_text', 'field')))
        edits.append(item(edit(f'color_edit_{c}')))
    edit_row = widget('QWidget', 'color_edit_row', layout('QHBoxLayout', 'color_edit_row_box', edits, sp=6))
    seven = widget('QWidget', '7color_layout', layout(
        'QHBoxLayout', '7color_layout_box', [item(check('7color', 'palette_seven_colour_text'))], sp=6))
    right = layout('QVBoxLayout', 'palette_right', [
        item(label('color_show_caption', 'palette_chosen_text', 'field')),
        item(widget('QPushButton', 'color_show_btn', fixed(150, 70) + dyn('bkcolor', '#FFFF0000'))),
        item(edit_row), item(seven), vspacer('palette_right_spacer')], sp=10)
    top = layout('QHBoxLayout', 'palette_top', [item(left), f'<item>{right}</item>'], sp=20)
    body = [
        f'<item>{title_row("palette_title_text", [caption_button("menubtn", "skin", "tip_menu", True), caption_button("minbtn", "min", "tip_minimise"), caption_button("maxbtn", "max", "tip_maximise"), caption_button("restorebtn", "restore", "tip_restore", True), caption_button("closebtn", "close", "tip_close")])}</item>',
        f'<item>{top}</item>',
        item(label('preset_caption', 'palette_preset_text', 'field')),
        item(swatch_grid('preset_swatches', 'color_option_', PRESETS, True)),
        item(label('collect_caption', 'palette_collect_text', 'field')),
        item(swatch_grid('collect_swatches', 'collect_color_option_', ['#FFFFFFFF'] * 20, False)),
        vspacer('palette_spacer'),
        f'<item>{layout("QHBoxLayout", "palette_buttons", [hspacer("palette_buttons_spacer"), item(widget("QPushButton", "laterbtn", text("palette_cancel_text") + POINTER)), item(widget("QPushButton", "okbtn", text("palette_ok_text") + POINTER))], sp=10)}</item>',
    ]
    return window('PalletDialog', 800, 572, body)


def music_window():
    rows = []
    for i in range(1, 5):
        tab = widget('QPushButton', f'audio_select_tab{i}', text(f'music_style_{i}_text') + POINTER +
                     prop('checkable', '<bool>true</bool>') + prop('autoExclusive', '<bool>true</bool>') +
                     dyn('role', 'segment') + fixed(90, 26))
        name = widget('QLineEdit', f'audio_edit_name{i}', prop('maxLength', num(16)))
        rows.append(item(tab, f' row="{i - 1}" column="0"'))
        rows.append(item(name, f' row="{i - 1}" column="1"'))
    tabs = widget('QWidget', 'music_styles', layout('QGridLayout', 'music_styles_grid', rows, sp=6))
    sliders = []
    for c, n in (('r', 'R'), ('g', 'G'), ('b', 'B')):
        sliders.append(f'<item>{layout("QHBoxLayout", f"audio_{c}_row", [item(label(f"audio_{c}_caption", f"light_colour_{c}_text", "field", fixed_width(20))), item(slider(f"audio_{c}_slider", 0, 9, 1, 1, 0))], sp=8)}</item>')
    body = [
        f'<item>{title_row("music_title_text", [caption_button("closebtn", "close", "tip_close")])}</item>',
        item(tabs),
        *sliders,
        vspacer('music_spacer'),
        f'<item>{layout("QHBoxLayout", "music_buttons", [hspacer("music_buttons_spacer"), item(widget("QPushButton", "okbtn", text("palette_ok_text") + POINTER))], sp=10)}</item>',
    ]
    return window('MusicWnd', 369, 276, body)


def window(cls, width, height, items):
    geometry = prop('geometry', f'<rect><x>0</x><y>0</y><width>{width}</width><height>{height}</height></rect>')
    root = widget('QWidget', 'root', geometry + prop('styleSheet', s(WINDOW_STYLE)) +
                  layout('QVBoxLayout', 'root_box', items, m=(16, 10, 10, 16), sp=10))
    return f'<?xml version="1.0" encoding="UTF-8"?>\n<ui version="4.0">\n <class>{cls}</class>\n {root}\n</ui>\n'


def rainbow_png(width=64, height=24):
    # The seven-colour mode's picture: the hue wheel from left to right.
    def hue(x):
        h = 6.0 * x / width
        i, f = int(h) % 6, h - int(h)
        up, down = int(255 * f), int(255 * (1 - f))
        return [(255, up, 0), (down, 255, 0), (0, 255, up), (0, down, 255), (up, 0, 255), (255, 0, down)][i]
    rows = b''.join(b'\x00' + bytes(c for x in range(width) for c in hue(x)) for _ in range(height))
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)
    header = struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(rows, 9)) + chunk(b'IEND', b'')


def main():
    skin = sys.argv[1] if len(sys.argv) > 1 else 'skin'
    with open(os.path.join(skin, 'XML', 'PalletDialog.xml'), 'w', encoding='utf-8') as f:
        f.write(palette_dialog())
    with open(os.path.join(skin, 'XML', 'music.xml'), 'w', encoding='utf-8') as f:
        f.write(music_window())
    with open(os.path.join(skin, 'common', 'base1.png'), 'wb') as f:
        f.write(rainbow_png())


if __name__ == '__main__':
    main()
