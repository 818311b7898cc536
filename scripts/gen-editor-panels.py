#!/usr/bin/env python3
# Generates the key assignment, macro and recoil panels of the mouse and keyboard pages:
#   scripts/gen-editor-panels.py skin
# writes skin/XML/CustomControlXML/KeySetControl.xml, MacroControl.xml and ShootControl.xml.
# Combos whose rows come from the key function tables are left empty here: the panels fill them.
# Edit the layouts here and run it again; the generated files are what the program loads.
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from skinxml import *  # noqa: E402,F401,F403

POINTER = prop('cursor', '<cursorShape>PointingHandCursor</cursorShape>')

PANEL_STYLE = STYLE + """
QPushButton[role="action"] { background: #222b33; color: #c9d1d8; border: 1px solid #2b3540; border-radius: 6px; padding: 4px 10px; }
QPushButton[role="action"]:hover { border-color: #19c3a6; color: #e8ecef; }
QPushButton[role="action"]:disabled { background: #1a2127; color: #4a5560; border-color: #232b32; }
QPushButton[role="primary"] { background: #19c3a6; color: #0b0f12; border: 1px solid #19c3a6; border-radius: 6px; padding: 4px 12px; font-weight: bold; }
QPushButton[role="primary"]:disabled { background: #1a2127; color: #4a5560; border-color: #232b32; }
QPushButton[role="segment"] { padding: 3px 6px; }
QPushButton[role="bullet"] { background: #1b232b; border: 1px solid #2e3a45; border-radius: 4px; color: #c5ced6; font-size: 11px; }
QPushButton[role="bullet"]:checked { background: #19c3a6; color: #0b0f12; border-color: #19c3a6; font-weight: bold; }
QPushButton[role="record"] { background: #2a1d22; color: #ff8a8a; border: 1px solid #a33a3a; border-radius: 6px; padding: 6px 12px 6px 30px; font-weight: bold; text-align: left; }
QPushButton[role="record"]:hover { border-color: #ff5a5a; }
QListWidget, QTableWidget { background: #11171c; border: 1px solid #2e3a45; border-radius: 6px; color: #e8ecef; outline: none; }
QListWidget::item:selected, QTableWidget::item:selected { background: #19c3a6; color: #0b0f12; }
QTableWidget { gridline-color: #1b232b; }
QLineEdit:read-only { color: #19c3a6; }
QWidget:disabled { color: #56636e; }"""

def action(name, t, role='action'):
    return widget('QPushButton', name, text(t) + dyn('role', role) + POINTER)

def edit(name, width=64, maxlen=6, value=''):
    body = fixed_width(width) + prop('maxLength', num(maxlen)) + prop('alignment', '<set>Qt::AlignCenter</set>')
    if value:
        body += text(value)
    return widget('QLineEdit', name, body)

def row(name, items, sp=8):
    return widget('QWidget', name, layout('QHBoxLayout', name + '_box', items, sp=sp))

def field(name, caption, w, width=110):
    return row(name, [item(label(name + '_caption', caption, 'field', fixed_width(width))), item(w), hspacer(name + '_spacer')])

def group(name, items, m=(14, 10, 14, 12), sp=8):
    return widget('QFrame', name, dyn('role', 'group') + layout('QVBoxLayout', name + '_box', items, m=m, sp=sp))

def page_of(name, items):
    return widget('QWidget', name, layout('QVBoxLayout', name + '_box', items + [vspacer(name + '_spacer')], sp=8))

def document(cls, root):
    return f'<?xml version="1.0" encoding="UTF-8"?>\n<ui version="4.0">\n <class>{cls}</class>\n ' + root + '\n</ui>\n'

def root_frame(name, items):
    return widget('QFrame', name, prop('styleSheet', s(PANEL_STYLE)) + layout('QVBoxLayout', name + '_box', items, sp=10))

# ---------------------------------------------------------------- key assignment
def keyset_panel():
    def combo_field(name, caption, combo_name):
        return item(field(name, caption, widget('QComboBox', combo_name, prop('minimumSize', size(180, 0)))))

    def motion_page(n, kind):
        return page_of(f'keyset_page_{n}', [
            combo_field(f'keyset_{kind}_direction', 'keyset_direction_label', f'keyset_mouse{kind}_combo'),
            item(field(f'keyset_{kind}_num', 'keyset_count_label', edit(f'keyset_mouse{kind}_num_edit', maxlen=2))),
            item(field(f'keyset_{kind}_delay', 'keyset_delay_label', edit(f'keyset_mouse{kind}_delay_edit', maxlen=2))),
            item(field(f'keyset_{kind}_speed', 'keyset_speed_label', edit(f'keyset_mouse{kind}_speed_edit', maxlen=3))),
        ])

    modifiers = [item(segment(f'key_ComBox_check_{n}', f'keyset_modifier_{n}')) for n in range(5)]
    modifiers.append(hspacer('keyset_modifier_spacer'))
    key_edit = widget('QLineEdit', 'keyset_keyboard_text_edit', prop('readOnly', '<bool>true</bool>') + prop('minimumSize', size(180, 0)) + prop('alignment', '<set>Qt::AlignCenter</set>') + prop('focusPolicy', '<enum>Qt::ClickFocus</enum>'))
    cycle = row('keyset_macro_cycle_layout', [item(label('keyset_macro_cycle_caption', 'keyset_count_label', 'field', fixed_width(110))), item(edit('keyset_macro_cycle_edit', maxlen=3)), hspacer('keyset_macro_cycle_spacer')])
    pages = [
        page_of('keyset_page_0', [item(label('keyset_default_hint', 'keyset_default_hint_text', 'hint', prop('wordWrap', '<bool>true</bool>')))]),
        page_of('keyset_page_1', [combo_field('keyset_mousekey', 'keyset_button_label', 'keyset_mousekey_combo')]),
        motion_page(2, 'swing'),
        motion_page(3, 'wheel'),
        page_of('keyset_page_4', [combo_field('keyset_mousedpi', 'keyset_dpi_label', 'keyset_mousedpi_combo')]),
        page_of('keyset_page_5', [
            item(field('keyset_fire_interval', 'keyset_interval_label', edit('keyset_mousefire_interval_edit', maxlen=3))),
            item(field('keyset_fire_num', 'keyset_count_label', edit('keyset_mousefire_num_edit', maxlen=3))),
        ]),
        page_of('keyset_page_6', [
            item(field('keyset_keyboard', 'keyset_key_label', key_edit)),
            item(label('keyset_keyboard_hint', 'keyset_keyboard_hint_text', 'hint', prop('wordWrap', '<bool>true</bool>'))),
            item(row('keyset_modifier_layout', modifiers, sp=6)),
        ]),
        page_of('keyset_page_7', [combo_field('keyset_media', 'keyset_media_label', 'keyset_media_combo')]),
        page_of('keyset_page_8', [combo_field('keyset_system', 'keyset_system_label', 'keyset_system_combo')]),
        page_of('keyset_page_9', [
            combo_field('keyset_macro', 'keyset_macro_label', 'keyset_macro_combo'),
            combo_field('keyset_macro_over', 'keyset_repeat_label', 'keyset_macro_over_combo'),
            item(cycle),
        ]),
        page_of('keyset_page_10', [combo_field('keyset_gunkey', 'keyset_gun_label', 'keyset_gunkey_combo')]),
        page_of('keyset_page_11', [combo_field('keyset_combokey', 'keyset_shortcut_label', 'keyset_combokey_combo')]),
    ]
    stack = '<widget class="QStackedWidget" name="function_switch_tablayout">' + ''.join(pages) + '</widget>'
    buttons = row('keyset_buttons', [
        item(action('key_butt_keysave', 'keyset_store_text')),
        item(action('key_butt_keycancel', 'keyset_cancel_text')),
        item(action('key_butt_keydefalut', 'keyset_default_text')),
        hspacer('keyset_buttons_spacer'),
        item(action('key_butt_prosave', 'keyset_write_text', 'primary')),
    ])
    body = group('keyset_layout', [
        item(label('keyset_title', 'keyset_title_text', 'heading')),
        item(field('keyset_function', 'keyset_function_label', widget('QComboBox', 'keyset_function_combo', prop('minimumSize', size(180, 0))))),
        item(stack),
        item(buttons),
    ])
    return document('KeySetControl', root_frame('keyset_root', [item(body), vspacer('keyset_root_spacer')]))

# ---------------------------------------------------------------- macros
def macro_panel():
    names = group('macro_name_tab', [
        item(label('macro_library_title', 'macro_library_title_text', 'heading')),
        item(widget('QListWidget', 'macro_name_list', prop('minimumSize', size(0, 150)))),
        item(widget('QLineEdit', 'macro_edit_macroname', prop('maxLength', num(32)))),
        item(row('macro_name_buttons', [item(action('macro_btn_name_add', 'macro_new_text')), item(action('macro_btn_name_sub', 'macro_delete_text'))], sp=4)),
        item(row('macro_name_buttons_2', [item(action('macro_btn_name_edit', 'macro_rename_text'))], sp=4)),
        item(row('macro_file_buttons', [item(action('macro_btn_import', 'macro_import_text')), item(action('macro_btn_export', 'macro_export_text'))], sp=4)),
    ])
    # As wide as its buttons' texts in the language shown; the events take the rest.
    table = widget('QTableWidget', 'macro_action_list', prop('minimumSize', size(0, 200)) + prop('showGrid', '<bool>false</bool>') + prop('alternatingRowColors', '<bool>false</bool>'))
    moves = [item(action(n, t)) for n, t in [('macro_btn_up', 'macro_up_text'), ('macro_btn_down', 'macro_down_text'), ('macro_btn_uptop', 'macro_top_text'), ('macro_btn_downbottom', 'macro_bottom_text'), ('macro_btn_delete', 'macro_delete_event_text'), ('macro_btn_deleteall', 'macro_delete_all_text')]]
    events = group('macro_action_layout', [
        item(label('macro_events_title', 'macro_events_title_text', 'heading')),
        item(table),
        # The recording hint sits under the rows it speaks of, where it has the width to read.
        item(label('macro_record_hint', 'macro_record_hint_text', 'hint', prop('wordWrap', '<bool>true</bool>'))),
        # Two rows of three, so the panel fits under the keyboard's wide picture too.
        item(row('macro_event_buttons', moves[:3], sp=4)),
        item(row('macro_event_buttons_2', moves[3:], sp=4)),
        item(row('macro_save_buttons', [hspacer('macro_save_spacer'), item(action('macro_btn_cancel', 'macro_cancel_text')), item(action('macro_btn_save', 'macro_save_text', 'primary'))], sp=4)),
    ])
    record_button = lambda name, t, visible: widget('CRedioMacroButtonUI', name, text(t) + dyn('role', 'record') + dyn('redioimage', "file='macro/record_dot.svg' dest='10,9,22,21'") + POINTER + ('' if visible else prop('visible', '<bool>false</bool>')))
    # The timing settings are locked while recording; the stop button beside them is not.
    timing = widget('QWidget', 'macro_tab_macrodelay_edit', layout('QVBoxLayout', 'macro_tab_macrodelay_edit_box', [
        item(widget('QCheckBox', 'macro_check_time', text('macro_fixed_delay_text'))),
        item(row('macro_fixed_row', [item(edit('macro_fixed_time_edit', 70, 7, '50')), item(label('macro_fixed_unit', 'unit_ms', 'field')), hspacer('macro_fixed_spacer')])),
    ], sp=8))
    record = group('macro_record_group', [
        item(label('macro_record_title', 'macro_record_title_text', 'heading')),
        item(record_button('macro_btn_starredio', 'macro_record_start_text', True)),
        item(record_button('macro_btn_stopredio', 'macro_record_stop_text', False)),
        item(timing),
    ])
    def move_row(button, t, e):
        return item(row(button + '_row', [item(action(button, t)), item(edit(e, 52, 3, '10'))], sp=6))
    inserts = group('macro_tab_macroaction_edit', [
        item(label('macro_insert_title', 'macro_insert_title_text', 'heading', prop('wordWrap', '<bool>true</bool>'))),
        item(widget('QWidget', 'mouse_move_layout', layout('QVBoxLayout', 'mouse_move_layout_box', [
            move_row('macro_inset_moveleftkey_btn', 'mouse_move_to_left_text', 'mouse_x_left_edit'),
            move_row('macro_inset_moverightkey_btn', 'mouse_move_to_right_text', 'mouse_x_right_edit'),
            move_row('macro_inset_moveupkey_btn', 'mouse_move_to_up_text', 'mouse_y_up_edit'),
            move_row('macro_inset_movedownkey_btn', 'mouse_move_to_down_text', 'mouse_y_down_edit'),
        ], sp=4))),
    ])
    side = widget('QWidget', 'macro_side_column', fixed_width(160) + layout('QVBoxLayout', 'macro_side_column_box', [item(record), item(inserts), vspacer('macro_side_spacer')], sp=10))
    columns = layout('QHBoxLayout', 'macro_columns', [item(names), item(events), item(side)], sp=8)
    root = widget('QFrame', 'macro_root', prop('styleSheet', s(PANEL_STYLE)) + columns)
    return document('MacroControl', root)

# ---------------------------------------------------------------- recoil
def shoot_panel():
    guns = [item(segment(f'shoot_gun_op_{n}', f'keyset_gun_{n + 1}')) for n in range(4)]
    guns.append(hspacer('shoot_gun_spacer'))
    pictures = ''.join(widget('QWidget', f'shoot_image_page_{n}', layout('QVBoxLayout', f'shoot_image_page_{n}_box', [item(widget('QLabel', f'shoot_image_{n}', fixed(260, 104) + dyn('bkimage', f'shoot/gun_{n}.svg')))], sp=0)) for n in range(4))
    picture = f'<widget class="QStackedWidget" name="shoot_image_display_switch">{fixed(260, 104)}{pictures}</widget>'
    cells = []
    for n in range(30):
        button = widget('QPushButton', f'bullet_op_{n}', text(str(n + 1)) + fixed(34, 24) + prop('checkable', '<bool>true</bool>') + prop('autoExclusive', '<bool>true</bool>') + dyn('role', 'bullet') + POINTER)
        cells.append(f'<item row="{n // 10}" column="{n % 10}">{button}</item>')
    grid = f'<layout class="QGridLayout" name="bullet_grid">{prop("spacing", num(4))}' + ''.join(cells) + '</layout>'
    stepper = row('bullet_stepper', [
        item(action('bullet_selected_prev', 'bullet_prev_text')),
        item(label('bullet_caption', 'bullet_caption_text', 'field')),
        item(label('bullet_select_index', '1', 'value', fixed_width(28) + prop('alignment', '<set>Qt::AlignCenter</set>'))),
        item(action('bullet_selected_next', 'bullet_next_text')),
        hspacer('bullet_stepper_spacer'),
    ], sp=6)
    def direction(name, t):
        return widget('QPushButton', name, text(t) + prop('checkable', '<bool>true</bool>') + dyn('role', 'segment') + fixed_width(90) + POINTER)
    edits = group('bullet_edit_layout', [
        item(row('bullet_x_row', [item(label('bullet_x_caption', 'bullet_x_label', 'field', fixed_width(110))), item(direction('bullet_x_check', 'mouse_move_to_right_text')), item(edit('bullet_x_eidt', maxlen=10)), hspacer('bullet_x_spacer')])),
        item(row('bullet_y_row', [item(label('bullet_y_caption', 'bullet_y_label', 'field', fixed_width(110))), item(direction('bullet_y_check', 'mouse_move_to_down_text')), item(edit('bullet_y_eidt', maxlen=10)), hspacer('bullet_y_spacer')])),
        item(row('bullet_delay_row', [item(label('bullet_delay_caption', 'bullet_delay_label', 'field', fixed_width(110))), item(edit('bullet_delay_eidt', 90, 10)), item(label('bullet_delay_unit', 'unit_ms', 'field')), hspacer('bullet_delay_spacer')])),
        item(label('bullet_limit_hint', 'bullet_limit_hint_text', 'hint', prop('wordWrap', '<bool>true</bool>'))),
    ], m=(12, 8, 12, 8), sp=6)
    top = layout('QHBoxLayout', 'shoot_top', [item(picture), f'<item>{grid}</item>', hspacer('shoot_top_spacer')], sp=14)
    buttons = row('shoot_buttons', [
        item(action('shootdate_reset_btn', 'shoot_reset_text')),
        item(action('shootdate_import_btn', 'shoot_import_text')),
        item(action('shootdate_export_btn', 'shoot_export_text')),
        hspacer('shoot_buttons_spacer'),
        item(action('shootdate_save_btn', 'shoot_write_text', 'primary')),
    ])
    body = group('shoot_group', [
        item(label('shoot_title', 'shoot_title_text', 'heading')),
        item(row('shoot_gun_layout', guns, sp=6)),
        f'<item>{top}</item>',
        item(stepper),
        item(edits),
        item(buttons),
    ])
    return document('ShootControl', root_frame('shoot_root', [item(body), vspacer('shoot_root_spacer')]))

skin = sys.argv[1]
outputs = {
    'XML/CustomControlXML/KeySetControl.xml': keyset_panel(),
    'XML/CustomControlXML/MacroControl.xml': macro_panel(),
    'XML/CustomControlXML/ShootControl.xml': shoot_panel(),
}
for path, content in outputs.items():
    with open(os.path.join(skin, path), 'w') as f:
        f.write(content)
