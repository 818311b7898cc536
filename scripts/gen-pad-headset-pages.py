#!/usr/bin/env python3
# Generates the mouse pad and headset page layouts and the headset's two panels:
#   scripts/gen-pad-headset-pages.py skin
# writes skin/XML/DeviceXml/mousepaddevice.xml, skin/XML/DeviceXml/hs6533device.xml,
# skin/XML/CustomControlXML/Voice6533Control.xml and skin/XML/CustomControlXML/MagicControl.xml.
# Edit the layouts here and run it again; the generated files are what the program loads.
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from skinxml import *  # noqa: E402,F401,F403

POINTER = prop('cursor', '<cursorShape>PointingHandCursor</cursorShape>')

def light(name, x, y, size_px):
    return widget('DeviceKeyButton', name, fixed(size_px, size_px) + dyn('place', f'{x:.3f},{y:.3f}'))

# ---------------------------------------------------------------- the pictures
# The pad's 15 LEDs run clockwise round its lit edge from the top-left corner, so the marker
# effects travel round it.
def pad_lights():
    top = [0.10, 0.26, 0.42, 0.58, 0.74, 0.90]
    spots = [(x, 0.07) for x in top] + [(0.965, 0.36), (0.965, 0.64)]
    spots += [(x, 0.93) for x in [0.82, 0.66, 0.50, 0.34, 0.18]] + [(0.035, 0.64), (0.035, 0.36)]
    return [light(f'light_{i}', x, y, 12) for i, (x, y) in enumerate(spots)]

# The headset's 13 LEDs ring its ear cups: seven on the left cup, six on the right.
def headset_lights():
    kids = []
    def ring(cx, cy, count, first, start_deg):
        for k in range(count):
            a = math.radians(start_deg + 360 * k / count)
            x = (cx + 31 * math.cos(a)) / 220
            y = (cy + 38 * math.sin(a)) / 264
            kids.append(light(f'light_{first + k}', x, y, 12))
    ring(46, 170, 7, 0, -90)
    ring(174, 170, 6, 7, -90)
    return kids

def picture_column(column, panel_name, svg, w, h, lights, title):
    panel = widget('SelectPanel', panel_name, fixed(w, h) + dyn('bkimage', svg) + ''.join(lights))
    box = layout('QVBoxLayout', column + '_box', [
        item(label('device_page_title', title)),
        item(panel, ' alignment="Qt::AlignHCenter"'),
        item(label('device_tishi_info', '', 'hint', prop('wordWrap', '<bool>true</bool>') + prop('alignment', '<set>Qt::AlignCenter</set>'))),
        vspacer(column + '_spacer')], sp=8)
    return widget('QWidget', column, fixed_width(200) + box)

# ---------------------------------------------------------------- function pages
def blank(name):
    return widget('QWidget', name)

def placeholder(name, textid):
    lab = label(name + '_text', textid, 'hint', prop('wordWrap', '<bool>true</bool>') + prop('alignment', '<set>Qt::AlignCenter</set>'))
    return widget('QWidget', name, layout('QVBoxLayout', name + '_box', [item(lab)], sp=0))

def panel_page(name, cls, control):
    return widget('QWidget', name, layout('QVBoxLayout', name + '_box', [item(widget(cls, control))], sp=0))

def about_page(rows):
    g = group('about_group', 'about_title', [(lab, label(value, '', 'value')) for lab, value in rows])
    return widget('QWidget', 'function_page_5', layout('QVBoxLayout', 'function_page_5_box', [item(g), vspacer('about_spacer')], sp=10))

def function_switch(key_pages, function_page_1, about):
    keyswitch = '<widget class="QStackedWidget" name="device_key_function_switch">' + ''.join(key_pages) + '</widget>'
    pages = [
        widget('QWidget', 'function_page_0', layout('QVBoxLayout', 'function_page_0_box', [item(keyswitch)], sp=0)),
        function_page_1, blank('function_page_2'), blank('function_page_3'), blank('function_page_4'),
        about,
    ]
    return '<widget class="QStackedWidget" name="device_function_switch">' + ''.join(pages) + '</widget>'

def page(cls, column, switch):
    header = layout('QHBoxLayout', 'device_page_header', [item(widget('CDeviceProfileUI', 'DeviceProfileItem'))], sp=12)
    body = layout('QHBoxLayout', 'device_page_body', [item(column), item(switch)], sp=16)
    root = layout('QVBoxLayout', 'device_page_layout', [f'<item>{header}</item>', f'<item>{body}</item>'], m=(20, 14, 20, 14), sp=12)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<ui version="4.0">\n <class>DevicePage</class>\n '
            + widget(cls, 'device_page', prop('styleSheet', s(STYLE)) + root) + '\n</ui>\n')

def pad_page():
    column = picture_column('mousepad_picture_column', 'mousepad_device_key_light', 'mousepad/mousepad_top.svg', 200, 140, pad_lights(), 'page_title_mousepad')
    keys = [panel_page('key_page_0', 'CLightControlUI', 'LightControlItem'), blank('key_page_1'), blank('key_page_2')]
    about = about_page([('about_product_label', 'about_product_value'), ('about_connection_label', 'about_connection_value'), ('about_firmware_label', 'about_firmware_value')])
    return page('CKestravaMousePadDevice', column, function_switch(keys, blank('function_page_1'), about))

def headset_page():
    column = picture_column('hs6533_picture_column', 'hs6533_device_key_light', 'headset/headset_front.svg', 200, 240, headset_lights(), 'page_title_headset')
    keys = [panel_page('key_page_0', 'CLightControlUI', 'LightControlItem'),
            panel_page('key_page_1', 'CVoice6533ControlUI', 'Voice6533ControlItem'),
            panel_page('key_page_2', 'CMagicControlUI', 'MagicControlItem')]
    about = about_page([('about_product_label', 'about_product_value'), ('about_connection_label', 'about_connection_value'), ('about_sound_card_label', 'about_sound_card_value')])
    return page('CKestravaHS6533Device', column, function_switch(keys, placeholder('function_page_1', 'virtual_surround_pending'), about))

# ---------------------------------------------------------------- the headset's panels
PANEL_STYLE = STYLE + """
QPushButton[role="switch"] { background: #1b232b; border: 1px solid #2e3a45; border-radius: 11px; padding: 3px 12px; color: #8b98a3; }
QPushButton[role="switch"]:checked { background: #19c3a6; color: #0b0f12; border-color: #19c3a6; font-weight: bold; }
QPushButton[role="switch"]:disabled, QSlider:disabled { color: #56636e; }
QPushButton[role="action"] { background: #222b33; color: #c9d1d8; border: 1px solid #2b3540; border-radius: 6px; padding: 4px 12px; }
QPushButton[role="action"]:hover { border-color: #19c3a6; color: #e8ecef; }
QPushButton[role="segment"] { padding: 3px 6px; }
QSlider::groove:vertical { width: 4px; background: #2b3640; border-radius: 2px; }
QSlider::add-page:vertical { background: #19c3a6; border-radius: 2px; }
QSlider::handle:vertical { height: 14px; margin: 0 -6px; border-radius: 7px; background: #e8ecef; }
QLabel[role="band"] { color: #8b98a3; font-size: 11px; }
QLabel[role="bandvalue"] { color: #e8ecef; font-size: 11px; font-weight: bold; }
QLabel:disabled { color: #56636e; }"""

BANDS = ['31', '62', '125', '250', '500', '1K', '2K', '4K', '8K', '16K']
PRESETS = [f'eq_preset_{n}' for n in range(1, 13)] + ['eq_preset_custom']

def switch_button(name, t):
    return widget('QPushButton', name, text(t) + prop('checkable', '<bool>true</bool>') + dyn('role', 'switch') + POINTER)

def action(name, t):
    return widget('QPushButton', name, text(t) + dyn('role', 'action') + POINTER)

def voice_panel():
    grid = []
    for i, t in enumerate(PRESETS):
        grid.append(f'<item row="{i // 7}" column="{i % 7}">{segment(f"6533_eq_option_{i + 1}", t)}</item>')
    presets = f'<layout class="QGridLayout" name="eq_preset_grid">{prop("spacing", num(6))}' + ''.join(grid) + '</layout>'
    bands = []
    for i, hz in enumerate(BANDS):
        column = layout('QVBoxLayout', f'eq_band_box_{i}', [
            item(label(f'6533_eq_hz_value_{i}', '0', 'bandvalue', prop('alignment', '<set>Qt::AlignCenter</set>')), ' alignment="Qt::AlignHCenter"'),
            item(widget('QSlider', f'6533_eq_hz_slider_{i}', prop('orientation', '<enum>Qt::Vertical</enum>') + prop('minimum', num(-20)) + prop('maximum', num(20)) + prop('singleStep', num(1)) + prop('pageStep', num(2)) + prop('minimumSize', size(22, 110))), ' alignment="Qt::AlignHCenter"'),
            item(label(f'eq_band_label_{i}', hz, 'band', prop('alignment', '<set>Qt::AlignCenter</set>')), ' alignment="Qt::AlignHCenter"'),
        ], sp=4)
        bands.append(f'<item>{column}</item>')
    band_row = layout('QHBoxLayout', 'eq_band_row', bands, sp=6)
    custom = widget('QWidget', 'custom_eq_option_layout', layout('QHBoxLayout', 'custom_eq_option_box', [
        item(label('custom_eq_caption', 'eq_custom_label', 'field')),
        item(widget('QComboBox', 'custom_eq_name_combo', prop('minimumSize', size(130, 0)))),
        item(widget('QLineEdit', 'custom_eq_name_edit', prop('maxLength', num(32)) + prop('minimumSize', size(110, 0)))),
        item(action('hs_EQ_btn_save', 'eq_save_text')),
        item(action('hs_EQ_btn_delete', 'eq_delete_text')),
    ], sp=8))
    eq_items = [item(label('eq_group_title', 'eq_title', 'heading')), f'<item>{presets}</item>', f'<item>{band_row}</item>', item(custom)]
    eq_group = widget('QFrame', 'eq_group', dyn('role', 'group') + layout('QVBoxLayout', 'eq_group_box', eq_items, m=(14, 10, 14, 12), sp=8))

    def level_row(name, caption, option, option_text, slider_name, value_name):
        row = layout('QHBoxLayout', name + '_box', [
            item(label(name + '_caption', caption, 'field', fixed_width(96))),
            item(switch_button(option, option_text)),
            item(widget('QSlider', slider_name, prop('orientation', '<enum>Qt::Horizontal</enum>') + prop('minimum', num(0)) + prop('maximum', num(100)) + prop('singleStep', num(1)) + prop('pageStep', num(10)))),
            item(label(value_name, '0', 'value', fixed_width(36))),
        ], sp=10)
        return widget('QWidget', name, row)
    mic_items = [item(label('mic_group_title', 'microphone_title', 'heading')),
                 item(level_row('mic_row', 'mic_label', '6533_MicIn_option', 'mic_on_text', '6533_MicIn_slider', '6533_MicIn_value')),
                 item(level_row('monitor_row', 'monitor_label', '6533_MicMoniter_option', 'monitor_on_text', '6533_MicMoniter_slider', '6533_MicMoniter_value'))]
    mic_group = widget('QFrame', 'mic_group', dyn('role', 'group') + layout('QVBoxLayout', 'mic_group_box', mic_items, m=(14, 10, 14, 12), sp=8))
    root = widget('QFrame', 'voice6533_root', prop('styleSheet', s(PANEL_STYLE)) + layout('QVBoxLayout', 'voice6533_root_box', [item(eq_group), item(mic_group), vspacer('voice6533_spacer')], sp=10))
    return '<?xml version="1.0" encoding="UTF-8"?>\n<ui version="4.0">\n <class>Voice6533Control</class>\n ' + root + '\n</ui>\n'

def magic_panel():
    voices = [item(segment(f'magic_option_{n}', f'magic_voice_{n}')) for n in range(1, 5)]
    voices.append(hspacer('magic_option_spacer'))
    options = widget('QWidget', 'magic_option_layout', layout('QHBoxLayout', 'magic_option_box', voices, sp=8))
    items = [item(label('magic_group_title', 'voice_changer_title', 'heading')),
             item(switch_button('magic_enable_option', 'voice_changer_on'), ' alignment="Qt::AlignLeft"'),
             item(options)]
    g = widget('QFrame', 'magic_group', dyn('role', 'group') + layout('QVBoxLayout', 'magic_group_box', items, m=(14, 10, 14, 12), sp=10))
    root = widget('QFrame', 'magic_root', prop('styleSheet', s(PANEL_STYLE)) + layout('QVBoxLayout', 'magic_root_box', [item(g), vspacer('magic_spacer')], sp=10))
    return '<?xml version="1.0" encoding="UTF-8"?>\n<ui version="4.0">\n <class>MagicControl</class>\n ' + root + '\n</ui>\n'

skin = sys.argv[1]
outputs = {
    'XML/DeviceXml/mousepaddevice.xml': pad_page(),
    'XML/DeviceXml/hs6533device.xml': headset_page(),
    'XML/CustomControlXML/Voice6533Control.xml': voice_panel(),
    'XML/CustomControlXML/MagicControl.xml': magic_panel(),
}
for path, content in outputs.items():
    with open(os.path.join(skin, path), 'w') as f:
        f.write(content)
