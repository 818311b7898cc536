#!/usr/bin/env python3
# Generates the mouse page layouts from one description, so the two mice share it:
#   scripts/gen-mouse-page.py skin/XML/DeviceXml/mousedevice.xml skin/XML/DeviceXml/mousedevice1.xml
# Edit the layout here and run it again; the generated files are what the program loads.
import sys
from xml.sax.saxutils import escape

def prop(name, inner, std=True):
    extra = '' if std else ' stdset="0"'
    return f'<property name="{name}"{extra}>{inner}</property>'
def s(v): return f'<string>{escape(v)}</string>'
def size(w,h): return f'<size><width>{w}</width><height>{h}</height></size>'
def fixed(w,h): return prop('minimumSize', size(w,h)) + prop('maximumSize', size(w,h))
def num(n): return f'<number>{n}</number>'
def text(t): return prop('text', s(t))
def dyn(name, v): return prop(name, s(v), std=False)
def margins(l,t,r,b,sp=None):
    out=''
    if sp is not None: out+=prop('spacing', num(sp))
    out+=prop('leftMargin',num(l))+prop('topMargin',num(t))+prop('rightMargin',num(r))+prop('bottomMargin',num(b))
    return out

def widget(cls, name, body=''):
    return f'<widget class="{cls}" name="{name}">{body}</widget>'
def item(w, extra=''):
    return f'<item{extra}>{w}</item>'
def layout(cls, name, items, m=(0,0,0,0), sp=6):
    return f'<layout class="{cls}" name="{name}">{margins(*m, sp=sp)}' + ''.join(items) + '</layout>'
def hspacer(name):
    return f'<item><spacer name="{name}"><property name="orientation"><enum>Qt::Horizontal</enum></property>{prop("sizeHint", size(10,10))}</spacer></item>'
def vspacer(name):
    return f'<item><spacer name="{name}"><property name="orientation"><enum>Qt::Vertical</enum></property>{prop("sizeHint", size(10,10))}</spacer></item>'

def label(name, t, role=None, extra=''):
    body = text(t) + (dyn('role', role) if role else '') + extra
    return widget('QLabel', name, body)

def segment(name, t, checked=False):
    body = text(t) + prop('checkable', '<bool>true</bool>') + prop('autoExclusive', '<bool>true</bool>') + dyn('role','segment') + prop('cursor','<cursorShape>PointingHandCursor</cursorShape>')
    return widget('QPushButton', name, body)

def option_group(prefix, labels, container):
    items = [item(segment(f'{prefix}{i}', t)) for i, t in enumerate(labels)]
    items.append(hspacer(container + '_spacer'))
    return widget('QWidget', container, layout('QHBoxLayout', container + '_box', items, sp=6))

def group(name, title, rows):
    # rows: list of (label text id, widget xml)
    items = [item(label(name + '_title', title, 'heading'))]
    for i, (lab, w) in enumerate(rows):
        row = layout('QHBoxLayout', f'{name}_row{i}', [item(label(f'{name}_label{i}', lab, 'field', fixed_width(118))), item(w)], sp=10)
        items.append(f'<item>{row}</item>')
    return widget('QFrame', name, dyn('role','group') + layout('QVBoxLayout', name + '_box', items, m=(14,10,14,12), sp=8))

def fixed_width(w):
    return prop('minimumSize', size(w,0)) + prop('maximumSize', size(w,16777215))

def slider(name, lo, hi, step, page, value, valuelabel=None):
    body = prop('orientation','<enum>Qt::Horizontal</enum>') + prop('minimum',num(lo)) + prop('maximum',num(hi)) + prop('singleStep',num(step)) + prop('pageStep',num(page)) + prop('value',num(value))
    sl = widget('QSlider', name, body)
    if not valuelabel: return sl
    return widget('QWidget', name + '_row', layout('QHBoxLayout', name + '_row_box', [item(sl), item(label(valuelabel, '', 'value', fixed_width(64)))], sp=8))

def combo(name, rows):
    items = ''.join(f'<item>{text(r)}</item>' for r in rows)
    return f'<widget class="QComboBox" name="{name}">{items}</widget>'

def check(name, t):
    return widget('QCheckBox', name, text(t))

# ---------------------------------------------------------------- the picture
TITLE = ['page_title_mouse']
def picture():
    kids = []
    # LEDs: two side strips of seven, logo at the palm.
    left = [(0.145, 0.29), (0.130, 0.38), (0.127, 0.47), (0.130, 0.56), (0.140, 0.65), (0.155, 0.73), (0.175, 0.80)]
    for i, (x, y) in enumerate(left):
        kids.append(widget('DeviceKeyButton', f'light_{i}', fixed(16,16) + dyn('place', f'{x},{y}')))
    for i, (x, y) in enumerate(left):
        kids.append(widget('DeviceKeyButton', f'light_{i+7}', fixed(16,16) + dyn('place', f'{1-x:.3f},{y}')))
    kids.append(widget('DeviceKeyButton', 'light_14', fixed(30,30) + dyn('place', '0.5,0.703')))
    keys = [  # (name, x, y, w, h, tooltip text id)
        ('key_0', 0.30, 0.17, 58, 70, 'key_name_left'),
        ('key_1', 0.70, 0.17, 58, 70, 'key_name_right'),
        ('key_2', 0.50, 0.20, 22, 34, 'key_name_wheel'),
        ('key_3', 0.05, 0.36, 18, 34, 'key_name_forward'),
        ('key_4', 0.05, 0.49, 18, 34, 'key_name_back'),
        ('key_5', 0.50, 0.318, 22, 14, 'key_name_dpi'),
        ('key_6', 0.50, 0.41, 22, 14, 'key_name_dpi_down'),
        ('key_7', 0.95, 0.36, 18, 34, 'key_name_side3'),
        ('key_8', 0.95, 0.49, 18, 34, 'key_name_side4'),
        ('key_9', 0.50, 0.10, 22, 14, 'key_name_wheel_up'),
        ('key_10', 0.50, 0.30, 22, 10, 'key_name_wheel_down'),
    ]
    for name, x, y, w, h, tip in keys:
        kids.append(widget('DeviceKeyButton', name, fixed(w,h) + dyn('place', f'{x},{y}') + prop('checkable','<bool>true</bool>') + prop('autoExclusive','<bool>true</bool>') + dyn('tiptextid', tip)))
    panel = widget('SelectPanel', 'mouse_device_key_light', fixed(200,300) + dyn('bkimage', 'mouse/mouse_top.svg') + ''.join(kids))
    column = layout('QVBoxLayout', 'mouse_picture_box', [
        item(label('device_page_title', TITLE[0])),
        item(panel, ' alignment="Qt::AlignHCenter"'),
        item(label('device_tishi_info', '', 'hint', prop('wordWrap','<bool>true</bool>') + prop('alignment','<set>Qt::AlignCenter</set>'))),
        vspacer('mouse_picture_spacer')], sp=8)
    return widget('QWidget', 'mouse_picture_column', column)

# ---------------------------------------------------------------- settings pages
def dpi_page():
    rows = [item(label('dpi_heading', 'dpi_stages_title', 'heading'))]
    for i in range(6):
        row = layout('QHBoxLayout', f'DPI_row_box_{i}', [
            item(widget('QCheckBox', f'DPI_enable_check_{i}', prop('toolTip', s('')) + dyn('tiptextid','dpi_enable_tip'))),
            item(widget('QRadioButton', f'DPI_select_check_{i}', text(f'dpi_stage_{i+1}') + prop('autoExclusive','<bool>false</bool>') + prop('minimumSize', size(80,0)))),
            item(widget('QSlider', f'DPI_slider_{i}', prop('orientation','<enum>Qt::Horizontal</enum>') + prop('minimum',num(50)) + prop('maximum',num(26000)) + prop('singleStep',num(50)) + prop('pageStep',num(400)))),
            item(widget('QLineEdit', f'DPI_edit_{i}', fixed(72,26) + prop('alignment','<set>Qt::AlignCenter</set>'))),
            item(widget('QPushButton', f'DPI_color_option_{i}', fixed(24,24) + dyn('role','swatch') + prop('cursor','<cursorShape>PointingHandCursor</cursorShape>') + dyn('tiptextid','dpi_colour_tip'))),
        ], sp=10)
        rows.append(item(widget('QWidget', f'DPI_layout_{i}', row)))
    rows.append(item(label('dpi_hint', 'dpi_hint_text', 'hint', prop('wordWrap','<bool>true</bool>'))))
    rows.append(vspacer('dpi_spacer'))
    frame = widget('QFrame', 'dpi_group', dyn('role','group') + layout('QVBoxLayout', 'dpi_group_box', rows, m=(14,10,14,12), sp=8))
    return widget('QWidget', 'mouse_seting_page_0', layout('QVBoxLayout', 'mouse_seting_page_0_box', [item(frame)], sp=0))

def performance_page():
    g1 = group('report_group', 'report_rate_title', [
        ('report_rate_label', option_group('polling_rate_option_', ['rate_125','rate_250','rate_500','rate_1000','rate_2000','rate_4000'], 'polling_rate_layout')),
    ])
    g2 = group('sensor_group', 'sensor_title', [
        ('lift_off_label', option_group('Silent_Altitude_option_', ['lift_low','lift_mid','lift_high'], 'Silent_Altitude_layout')),
        ('motion_sync_label', option_group('motion_sync_option_', ['switch_off','switch_on'], 'motion_sync_layout')),
        ('angle_snap_label', option_group('Linear_Calibration_option_', ['switch_off','switch_on'], 'Linear_Calibration_layout')),
        ('sensor_lift_label', option_group('sensor_lif_option_', ['switch_off','switch_on'], 'sensor_lif_layout')),
    ])
    return widget('QWidget', 'mouse_seting_page_1', layout('QVBoxLayout', 'mouse_seting_page_1_box', [item(g1), item(g2), vspacer('perf_spacer')], sp=10))

def power_page():
    g1 = group('power_group', 'power_title', [
        ('dormancy_label', slider('Dormancy_slider', 1, 30, 1, 5, 10, 'Dormancy_value')),
        ('deep_sleep_label', option_group('deep_sleep_option_', ['switch_on','switch_off'], 'deep_sleep_layout')),
    ])
    g2 = group('button_group', 'button_title', [
        ('debounce_label', slider('Key_Delay_slider', 0, 20, 1, 2, 4, 'Key_Delay_value')),
        ('anti_shake_label', combo('Anti_Shake_combo_timeSelect', ['anti_shake_off','anti_shake_low','anti_shake_mid','anti_shake_high'])),
    ])
    return widget('QWidget', 'mouse_seting_page_2', layout('QVBoxLayout', 'mouse_seting_page_2_box', [item(g1), item(g2), vspacer('power_spacer')], sp=10))

def settings_page():
    tabs = [item(segment(f'mouse_device_seting_option_{i}', t)) for i, t in enumerate(['settings_tab_dpi','settings_tab_performance','settings_tab_power'])]
    tabs.append(hspacer('mouse_option_spacer'))
    tabs.append(item(widget('QPushButton', 'default_btn', text('restore_defaults_text') + dyn('role','link') + prop('cursor','<cursorShape>PointingHandCursor</cursorShape>'))))
    opts = widget('QWidget', 'mouse_option_layout', layout('QHBoxLayout', 'mouse_option_box', tabs, sp=6))
    stack = '<widget class="QStackedWidget" name="mouse_device_seting_layout">' + dpi_page() + performance_page() + power_page() + '</widget>'
    return widget('QWidget', 'function_page_4', layout('QVBoxLayout', 'function_page_4_box', [item(opts), item(stack)], sp=10))

def pointer_page():
    g = group('pointer_group', 'pointer_title', [
        ('pointer_speed_label', slider('pointer_speed_slider', 0, 10, 1, 1, 5, 'pointer_speed_value')),
        ('pointer_precision_label', check('pointer_precision_check', 'pointer_precision_text')),
        ('scroll_speed_label', slider('scroll_speed_slider', 1, 20, 1, 3, 3, 'scroll_speed_value')),
        ('scroll_page_label', check('scrolls_page_check', 'scroll_page_text')),
        ('double_click_label', slider('double_click_slider', 200, 900, 10, 100, 500, 'double_click_value')),
    ])
    desk = widget('QPushButton', 'windowdeviceset_1', text('open_desktop_mouse_settings') + dyn('role','link'))
    note = label('pointer_hint', 'pointer_hint_text', 'hint', prop('wordWrap','<bool>true</bool>'))
    return widget('QWidget', 'function_page_2', layout('QVBoxLayout', 'function_page_2_box', [item(g), item(note), item(desk, ' alignment="Qt::AlignLeft"'), vspacer('pointer_spacer')], sp=10))

def about_page():
    g = group('about_group', 'about_title', [
        ('about_product_label', label('about_product_value', '', 'value')),
        ('about_connection_label', label('about_connection_value', '', 'value')),
        ('about_firmware_label', label('about_firmware_value', '', 'value')),
        ('about_sensor_label', label('about_sensor_value', '', 'value')),
    ])
    return widget('QWidget', 'function_page_5', layout('QVBoxLayout', 'function_page_5_box', [item(g), vspacer('about_spacer')], sp=10))

def placeholder(name, textid):
    lab = label(name + '_text', textid, 'hint', prop('wordWrap','<bool>true</bool>') + prop('alignment','<set>Qt::AlignCenter</set>'))
    return widget('QWidget', name, layout('QVBoxLayout', name + '_box', [item(lab)], sp=0))

def function_switch():
    keyswitch = ('<widget class="QStackedWidget" name="device_key_function_switch">'
                 + widget('QWidget', 'key_page_0', layout('QVBoxLayout', 'key_page_0_box', [item(widget('CLightControlUI', 'LightControlItem'))], sp=0))
                 + placeholder('key_page_1', 'key_assign_pending')
                 + placeholder('key_page_2', 'feature_not_on_mouse')
                 + '</widget>')
    pages = [
        widget('QWidget', 'function_page_0', layout('QVBoxLayout', 'function_page_0_box', [item(keyswitch)], sp=0)),
        placeholder('function_page_1', 'macro_pending'),
        pointer_page(),
        placeholder('function_page_3', 'feature_not_on_mouse'),
        settings_page(),
        about_page(),
    ]
    return '<widget class="QStackedWidget" name="device_function_switch">' + ''.join(pages) + '</widget>'

STYLE = """QWidget { color: #e8ecef; font-size: 13px; }
QLabel[role="heading"] { font-size: 15px; font-weight: bold; color: #f2f5f7; }
QLabel[role="field"] { color: #aab6c0; }
QLabel[role="value"] { color: #e8ecef; font-weight: bold; }
QLabel[role="hint"] { color: #8b98a3; }
QLabel#device_page_title { font-size: 20px; font-weight: bold; }
QFrame[role="group"] { background: rgba(24, 31, 38, 210); border: 1px solid #2b3640; border-radius: 10px; }
QFrame[role="group"] QLabel { background: transparent; border: none; }
QFrame[role="group"] > QWidget { background: transparent; }
QPushButton[role="segment"] { background: #1b232b; border: 1px solid #2e3a45; border-radius: 6px; padding: 4px 8px; color: #c5ced6; }
QPushButton[role="segment"]:hover { border-color: #19c3a6; }
QPushButton[role="segment"]:checked { background: #19c3a6; color: #0b0f12; border-color: #19c3a6; font-weight: bold; }
QPushButton[role="segment"]:disabled { color: #56636e; border-color: #242d35; }
QPushButton[role="link"] { color: #19c3a6; background: transparent; border: 1px solid #19c3a6; border-radius: 6px; padding: 5px 12px; }
QPushButton[role="swatch"] { border: 2px solid #2e3a45; border-radius: 12px; }
QSlider::groove:horizontal { height: 4px; background: #2b3640; border-radius: 2px; }
QSlider::sub-page:horizontal { background: #19c3a6; border-radius: 2px; }
QSlider::handle:horizontal { width: 16px; margin: -6px 0; border-radius: 8px; background: #e8ecef; }
QSlider[active="true"]::handle:horizontal { background: #06ff00; }
QLineEdit, QComboBox { background: #11171c; border: 1px solid #2e3a45; border-radius: 4px; padding: 2px 6px; color: #e8ecef; }
QRadioButton, QCheckBox { spacing: 6px; }"""

def page(title):
    TITLE[0] = title
    header = layout('QHBoxLayout', 'device_page_header', [
        item(widget('CDeviceProfileUI', 'DeviceProfileItem')),
    ], sp=12)
    body = layout('QHBoxLayout', 'device_page_body', [item(picture()), item(function_switch())], sp=16)
    root = layout('QVBoxLayout', 'device_page_layout', [f'<item>{header}</item>', f'<item>{body}</item>'], m=(20,14,20,14), sp=12)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<ui version="4.0">\n <class>DevicePage</class>\n '
            + widget('CKestravaMouseDevice', 'device_page', prop('styleSheet', s(STYLE)) + root) + '\n</ui>\n')

if __name__ == '__main__':
    open(sys.argv[1], 'w').write(page('page_title_mouse'))
    open(sys.argv[2], 'w').write(page('page_title_mouse_b'))
