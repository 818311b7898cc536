#!/usr/bin/env python3
# Generates the keyboard page layout and its drawn keyboard from one description of the keys:
#   scripts/gen-keyboard-page.py skin/XML/DeviceXml/keyboarddevice.xml skin/keyboard/keyboard.svg
# Edit the layout here and run it again; the generated files are what the program loads.
#
# Every logical key 0-125 has a place on a full-size board: the macro column on the left, the
# main block, the navigation block and the number pad. The international keys (K14, K42, K45,
# K56, K131, K132) sit where their layouts put them; K133, K150 and K151 fill the free row of the
# navigation block; the keys without a function are placed but hidden. Each key gets a light
# button "light_N" (the backlight the engine paints) under a key button "key_N" (its cap text
# and clicks), both kept on their spots by the panel's "place" at every DPI.
import importlib.util
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location('mousepage', os.path.join(HERE, 'gen-mouse-page.py'))
m = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(m)
prop, s, size, fixed, num, text, dyn = m.prop, m.s, m.size, m.fixed, m.num, m.text, m.dyn
widget, item, layout, hspacer, vspacer = m.widget, m.item, m.layout, m.hspacer, m.vspacer
label, segment, group, slider, placeholder = m.label, m.segment, m.group, m.slider, m.placeholder

# ---------------------------------------------------------------- the keys
U = 32          # one key unit at 96 DPI, in pixels
GAP = 4         # between two caps
PAD = 10        # case border around the keys
X0 = 1.25       # main block
XN = X0 + 15.25 # navigation block
XP = XN + 3.25  # number pad
ROW = [0, 1.25, 2.25, 3.25, 4.25, 5.25]

# (logical key, name of its key-name text or None, x, y, width, height) in key units
KEYS = []
def key(k, name, x, y, w=1, h=1):
    KEYS.append((k, name, x, y, w, h))
def run(first, names, x, y, w=1):
    for i, name in enumerate(names):
        key(first + i, name, x + i * w, y, w)

# row 0: Esc, F keys, print/scroll/pause, two function keys over the pad
key(0, 'Esc', X0, ROW[0])
run(1, ['F1', 'F2', 'F3', 'F4'], X0 + 2, ROW[0])
run(5, ['F5', 'F6', 'F7', 'F8'], X0 + 6.5, ROW[0])
run(9, ['F9', 'F10', 'F11', 'F12'], X0 + 11, ROW[0])
run(13, ['Print Scr', 'Scroll Lock', 'Pause'], XN, ROW[0])
key(16, 'GM', XP, ROW[0])
key(17, None, XP + 1, ROW[0])
key(103, 'K107', XP + 2, ROW[0])
# row 1
key(21, '`', X0, ROW[1])
run(22, ['1', '2', '3', '4', '5', '6', '7', '8', '9', '0', '-', '='], X0 + 1, ROW[1])
key(101, 'K14', X0 + 13, ROW[1])
key(34, 'BackSpace', X0 + 14, ROW[1])
run(35, ['Insert', 'Home', 'Page Up'], XN, ROW[1])
run(38, ['Num Lock', 'Num /', 'Num *', 'Num -'], XP, ROW[1])
# row 2
key(42, 'Tab', X0, ROW[2], 1.5)
run(43, ['Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', '[', ']'], X0 + 1.5, ROW[2])
key(55, 'xiegang', X0 + 13.5, ROW[2], 1.5)
run(56, ['Delete', 'End', 'Page Down'], XN, ROW[2])
run(59, ['Num 7', 'Num 8', 'Num 9'], XP, ROW[2])
key(119, 'Num +', XP + 3, ROW[2], 1, 2)
# row 3
key(63, 'Caplk', X0, ROW[3], 1.75)
run(64, ['A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', ';', "'"], X0 + 1.75, ROW[3])
key(62, 'K42', X0 + 12.75, ROW[3])
key(75, 'Enter', X0 + 13.75, ROW[3], 1.25)
key(81, 'K151', XN, ROW[3])
key(82, 'K150', XN + 1, ROW[3])
key(83, 'K133', XN + 2, ROW[3])
run(76, ['Num 4', 'Num 5', 'Num 6'], XP, ROW[3])
# row 4
key(84, 'LShift', X0, ROW[4], 1.25)
key(102, 'K45', X0 + 1.25, ROW[4])
run(85, ['Z', 'X', 'C', 'V', 'B', 'N', 'M', '<', '.', '/'], X0 + 2.25, ROW[4])
key(100, 'K56', X0 + 12.25, ROW[4])
key(95, 'RShift', X0 + 13.25, ROW[4], 1.75)
key(96, 'Up', XN + 1, ROW[4])
run(97, ['Num 1', 'Num 2', 'Num 3'], XP, ROW[4])
key(118, 'Num Enter', XP + 3, ROW[4], 1, 2)
# row 5
key(105, 'LCtrl', X0, ROW[5], 1.25)
key(106, 'LWin', X0 + 1.25, ROW[5], 1.25)
key(107, 'LAlt', X0 + 2.5, ROW[5], 1.25)
key(80, 'K131', X0 + 3.75, ROW[5])
key(108, 'Space', X0 + 4.75, ROW[5], 4)
key(79, 'K132', X0 + 8.75, ROW[5])
key(109, 'RAlt', X0 + 9.75, ROW[5])
key(125, 'RWin', X0 + 10.75, ROW[5])
key(110, 'FN', X0 + 11.75, ROW[5])
key(111, 'App', X0 + 12.75, ROW[5])
key(112, 'RCtrl', X0 + 13.75, ROW[5], 1.25)
run(113, ['Left', 'Down', 'Right'], XN, ROW[5])
key(116, 'Num 0', XP, ROW[5], 2)
key(117, 'Decimal', XP + 2, ROW[5])
# the macro column
for i in range(5):
    key(120 + i, f'M{i + 1}', 0, ROW[1 + i])
# keys without a function: placed, never shown
HIDDEN = {18, 19, 20, 104}
key(18, None, X0 + 1, ROW[0])
key(19, None, XN, ROW[4])
key(20, None, XN + 2, ROW[4])
key(104, None, XP + 3, ROW[0])

assert sorted(k for k, *_ in KEYS) == list(range(126)), 'every logical key once'

WIDTH_U = XP + 4
HEIGHT_U = ROW[5] + 1
PANEL_W = round(WIDTH_U * U + 2 * PAD)
PANEL_H = round(HEIGHT_U * U + 2 * PAD)

def cap_rect(x, y, w, h):
    # pixel rectangle of a cap at 96 DPI inside the panel
    return (PAD + x * U + GAP / 2, PAD + y * U + GAP / 2, w * U - GAP, h * U - GAP)

# ---------------------------------------------------------------- the drawn keyboard
def svg():
    scale = 2  # drawn at twice the 96-DPI size, so it stays sharp at 144 DPI
    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{PANEL_W * scale}" height="{PANEL_H * scale}" '
           f'viewBox="0 0 {PANEL_W} {PANEL_H}">',
           '<defs>',
           '<linearGradient id="case" x1="0" y1="0" x2="0" y2="1">'
           '<stop offset="0" stop-color="#262d34"/><stop offset="1" stop-color="#14181c"/></linearGradient>',
           '<linearGradient id="cap" x1="0" y1="0" x2="0" y2="1">'
           '<stop offset="0" stop-color="#2b323a"/><stop offset="1" stop-color="#1b2026"/></linearGradient>',
           '<linearGradient id="rim" x1="0" y1="0" x2="0" y2="1">'
           '<stop offset="0" stop-color="#3b444d"/><stop offset="1" stop-color="#161a1e"/></linearGradient>',
           '</defs>',
           f'<rect x="1" y="1" width="{PANEL_W - 2}" height="{PANEL_H - 2}" rx="14" fill="url(#case)" '
           'stroke="#333c45" stroke-width="1.5"/>',
           f'<rect x="5" y="5" width="{PANEL_W - 10}" height="{PANEL_H - 10}" rx="10" fill="none" '
           'stroke="#0d1013" stroke-width="1"/>']
    for k, name, x, y, w, h in KEYS:
        if k in HIDDEN:
            continue
        cx, cy, cw, ch = cap_rect(x, y, w, h)
        out.append(f'<rect x="{cx:.1f}" y="{cy:.1f}" width="{cw:.1f}" height="{ch:.1f}" rx="5" '
                   'fill="url(#rim)"/>')
        out.append(f'<rect x="{cx + 2:.1f}" y="{cy + 1.5:.1f}" width="{cw - 4:.1f}" height="{ch - 5:.1f}" '
                   'rx="4" fill="url(#cap)" stroke="#39424b" stroke-width="0.6"/>')
    out.append('</svg>')
    return '\n'.join(out) + '\n'

# ---------------------------------------------------------------- the picture in the layout
def picture():
    kids = []
    for k, name, x, y, w, h in sorted(KEYS):
        cx, cy, cw, ch = cap_rect(x, y, w, h)
        place = f'{(cx + cw / 2) / PANEL_W:.4f},{(cy + ch / 2) / PANEL_H:.4f}'
        hidden = prop('visible', '<bool>false</bool>') if k in HIDDEN else ''
        kids.append(widget('DeviceKeyButton', f'light_{k}', fixed(round(cw), round(ch)) + dyn('place', place)
                           + dyn('lightshape', 'key') + hidden))
        cap = text(f'keyboard_key_{name}') if name else ''
        kids.append(widget('DeviceKeyButton', f'key_{k}', fixed(round(cw), round(ch)) + dyn('place', place)
                           + cap + hidden))
    panel = widget('SelectPanel', 'device_key_light', fixed(PANEL_W, PANEL_H)
                   + dyn('bkimage', 'keyboard/keyboard.svg')
                   + prop('paintskeys', '<bool>true</bool>', std=False) + ''.join(kids))
    box = layout('QHBoxLayout', 'keyboard_device_key_light_box', [item(panel, ' alignment="Qt::AlignHCenter"')], sp=0)
    return widget('QWidget', 'keyboard_device_key_light', box)

# ---------------------------------------------------------------- feature pages
def kgroup(name, title, rows, label_width=72):
    # A settings group whose field labels leave room for the keyboard's option rows.
    items = [item(label(name + '_title', title, 'heading'))]
    for i, (lab, w) in enumerate(rows):
        cell = label(f'{name}_label{i}', lab, 'field', prop('minimumSize', size(label_width, 0)) + prop('maximumSize', size(label_width, 16777215)))
        row = layout('QHBoxLayout', f'{name}_row{i}', [item(cell), item(w)], sp=8)
        items.append(f'<item>{row}</item>')
    return widget('QFrame', name, dyn('role', 'group') + layout('QVBoxLayout', name + '_box', items, m=(12, 8, 12, 10), sp=6))

def check(name, t):
    return widget('QCheckBox', name, text(t) + prop('cursor', '<cursorShape>PointingHandCursor</cursorShape>'))

def options(prefix, labels, container, enabled=True):
    items = []
    for i, t in enumerate(labels):
        body = text(t) + prop('checkable', '<bool>true</bool>') + prop('autoExclusive', '<bool>true</bool>') \
            + dyn('role', 'segment')
        body += prop('cursor', '<cursorShape>PointingHandCursor</cursorShape>') if enabled else prop('enabled', '<bool>false</bool>')
        items.append(item(widget('QPushButton', f'{prefix}{i}', body)))
    items.append(hspacer(container + '_spacer'))
    return widget('QWidget', container, layout('QHBoxLayout', container + '_box', items, sp=6))

def system_page():
    switches = kgroup('keyboard_switch_group', 'keyboard_switches_title', [
        ('winlock_label', check('winlockflag_option', 'winlock_text')),
        ('wflag_label', check('wflag_option', 'wflag_text')),
        ('key6_label', check('6flag_option', 'key6_text')),
    ])
    rate = kgroup('keyboard_rate_group', 'keyboard_report_rate_title', [
        ('report_rate_label', options('polling_rate_option_', ['rate_125', 'rate_250', 'rate_500', 'rate_1000', 'rate_2000'],
                                      'keyboard_polling_rate_layout', enabled=False)),
    ])
    left = widget('QWidget', 'keyboard_system_left', layout('QVBoxLayout', 'keyboard_system_left_box',
                                                            [item(switches), item(rate), vspacer('keyboard_system_left_spacer')], sp=10))
    delay = widget('QWidget', 'repeat_delay_row', layout('QVBoxLayout', 'repeat_delay_row_box', [
        item(options('repeat_delay_check_', ['repeat_delay_0', 'repeat_delay_1', 'repeat_delay_2', 'repeat_delay_3'],
                     'repeat_delay_layout')),
        item(label('repeat_delay_time_label1', '', 'hint')),
    ], sp=4))
    test = widget('QWidget', 'repeat_test_row', layout('QHBoxLayout', 'repeat_test_row_box', [
        item(widget('QLineEdit', 'repeat_input_richedit', prop('minimumSize', size(0, 28)))),
        item(widget('QPushButton', 'reset_repeat_btn', text('repeat_reset_text') + dyn('role', 'link')
                    + prop('cursor', '<cursorShape>PointingHandCursor</cursorShape>'))),
    ], sp=8))
    repeat = kgroup('keyboard_repeat_group', 'keyboard_repeat_title', [
        ('repeat_delay_label', delay),
        ('repeat_rate_label', slider('repeat_rate_slider', 0, 31, 1, 4, 0, 'repeat_rate_value')),
        ('repeat_test_label', test),
    ])
    right = widget('QWidget', 'keyboard_system_right', layout('QVBoxLayout', 'keyboard_system_right_box',
                                                              [item(repeat), vspacer('keyboard_system_right_spacer')], sp=10))
    return widget('QWidget', 'function_page_4', layout('QHBoxLayout', 'function_page_4_box', [item(left), item(right)], sp=12))

def about_page():
    g = kgroup('about_group', 'about_title', [
        ('about_product_label', label('about_product_value', '', 'value')),
        ('about_connection_label', label('about_connection_value', '', 'value')),
        ('about_firmware_label', label('about_firmware_value', '', 'value')),
        ('about_keys_label', label('about_keys_value', '', 'value')),
    ])
    return widget('QWidget', 'function_page_5', layout('QVBoxLayout', 'function_page_5_box', [item(g), vspacer('about_spacer')], sp=10))

def pending(name, textid):
    # A panel that a later version fills: its place and name are kept so it plugs in.
    return placeholder(name, textid)

def function_switch():
    keyswitch = ('<widget class="QStackedWidget" name="device_key_function_switch">'
                 + widget('QWidget', 'key_page_0', layout('QVBoxLayout', 'key_page_0_box', [item(widget('CLightControlUI', 'LightControlItem'))], sp=0))
                 + widget('QWidget', 'key_page_1', layout('QVBoxLayout', 'key_page_1_box', [item(pending('KeySetControlItem', 'key_assign_pending'))], sp=0))
                 + placeholder('key_page_2', 'feature_not_on_keyboard')
                 + '</widget>')
    pages = [
        widget('QWidget', 'function_page_0', layout('QVBoxLayout', 'function_page_0_box', [item(keyswitch)], sp=0)),
        widget('QWidget', 'function_page_1', layout('QVBoxLayout', 'function_page_1_box', [item(pending('MacroControlItem', 'macro_pending'))], sp=0)),
        placeholder('function_page_2', 'feature_not_on_keyboard'),
        placeholder('function_page_3', 'feature_not_on_keyboard'),
        system_page(),
        about_page(),
    ]
    return '<widget class="QStackedWidget" name="device_function_switch">' + ''.join(pages) + '</widget>'

STYLE = m.STYLE + """
QWidget#keyboard_device_key_light { background: transparent; }
QScrollArea#device_function_scroll, QWidget#device_function_scroll_contents { background: transparent; }
QPushButton[role="segment"]:checked:disabled { background: #1f4f47; color: #cfe9e4; border-color: #2c6a60; }
QCheckBox::indicator { width: 16px; height: 16px; }
q407--pages--CDeviceKeyButtonUI { color: #dfe5ea; font-size: 9px; }"""

def page():
    header = layout('QHBoxLayout', 'device_page_header', [
        item(label('device_page_title', 'page_title_keyboard')),
        item(widget('CDeviceProfileUI', 'DeviceProfileItem')),
        item(label('text_test', '', None, prop('visible', '<bool>false</bool>'))),
    ], sp=12)
    hint = label('device_tishi_info', '', 'hint', prop('alignment', '<set>Qt::AlignCenter</set>'))
    # The feature pages scroll rather than grow the window when a mode shows more settings than
    # the room under the picture holds.
    scroll = widget('QScrollArea', 'device_function_scroll',
                    prop('frameShape', '<enum>QFrame::NoFrame</enum>') + prop('widgetResizable', '<bool>true</bool>')
                                        + widget('QWidget', 'device_function_scroll_contents',
                             layout('QVBoxLayout', 'device_function_scroll_box', [item(function_switch())], sp=0)))
    root = layout('QVBoxLayout', 'device_page_layout', [f'<item>{header}</item>', item(picture()), item(hint),
                                                         item(scroll)], m=(16, 10, 16, 10), sp=8)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<ui version="4.0">\n <class>DevicePage</class>\n '
            + widget('CKestravaKeyboardDevice', 'device_page', prop('styleSheet', s(STYLE)) + root) + '\n</ui>\n')

if __name__ == '__main__':
    open(sys.argv[1], 'w').write(page())
    os.makedirs(os.path.dirname(sys.argv[2]), exist_ok=True)
    open(sys.argv[2], 'w').write(svg())
