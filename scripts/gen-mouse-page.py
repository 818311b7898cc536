#!/usr/bin/env python3
# Generates the mouse page layouts from one description, so the two mice share it:
#   scripts/gen-mouse-page.py skin/XML/DeviceXml/mousedevice.xml skin/XML/DeviceXml/mousedevice1.xml
# Edit the layout here and run it again; the generated files are what the program loads.
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from skinxml import *  # noqa: E402,F401,F403

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
