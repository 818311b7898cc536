# Helpers that write Qt Designer layouts (the skin's .xml files) for the page generators in this
# folder: properties, widgets, layouts, and the controls the device pages share. The generated
# files are what the program loads.
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
    # rows: list of (label text id, widget xml). The labels share a column as wide as the
    # longest of them in the shown language, so no translation is cut off.
    cells = []
    for i, (lab, w) in enumerate(rows):
        cells.append(f'<item row="{i}" column="0">{label(f"{name}_label{i}", lab, "field", min_width(118))}</item>')
        cells.append(f'<item row="{i}" column="1">{w}</item>')
    grid = (f'<layout class="QGridLayout" name="{name}_grid">' + prop('horizontalSpacing', num(10))
            + prop('verticalSpacing', num(8)) + ''.join(cells) + '</layout>')
    items = [item(label(name + '_title', title, 'heading')), f'<item>{grid}</item>']
    return widget('QFrame', name, dyn('role','group') + layout('QVBoxLayout', name + '_box', items, m=(14,10,14,12), sp=8))

def fixed_width(w):
    return prop('minimumSize', size(w,0)) + prop('maximumSize', size(w,16777215))

# At least `w` wide, wider where a translation needs it.
def min_width(w):
    return prop('minimumSize', size(w,0))

def slider(name, lo, hi, step, page, value, valuelabel=None):
    body = prop('orientation','<enum>Qt::Horizontal</enum>') + prop('minimum',num(lo)) + prop('maximum',num(hi)) + prop('singleStep',num(step)) + prop('pageStep',num(page)) + prop('value',num(value))
    sl = widget('QSlider', name, body)
    if not valuelabel: return sl
    return widget('QWidget', name + '_row', layout('QHBoxLayout', name + '_row_box', [item(sl), item(label(valuelabel, '', 'value', min_width(64)))], sp=8))

def combo(name, rows):
    items = ''.join(f'<item>{text(r)}</item>' for r in rows)
    return f'<widget class="QComboBox" name="{name}">{items}</widget>'

def check(name, t):
    return widget('QCheckBox', name, text(t))

# The look every device page shares.
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
QPushButton[role="segment"]:checked { background: #19c3a6; color: #0b0f12; border-color: #19c3a6; }
QPushButton[role="segment"]:disabled { color: #56636e; border-color: #242d35; }
QPushButton[role="link"] { color: #19c3a6; background: transparent; border: 1px solid #19c3a6; border-radius: 6px; padding: 5px 12px; }
QPushButton[role="swatch"] { border: 2px solid #2e3a45; border-radius: 12px; }
QSlider::groove:horizontal { height: 4px; background: #2b3640; border-radius: 2px; }
QSlider::sub-page:horizontal { background: #19c3a6; border-radius: 2px; }
QSlider::handle:horizontal { width: 16px; margin: -6px 0; border-radius: 8px; background: #e8ecef; }
QSlider[active="true"]::handle:horizontal { background: #06ff00; }
QLineEdit, QComboBox { background: #11171c; border: 1px solid #2e3a45; border-radius: 4px; padding: 2px 6px; color: #e8ecef; }
QRadioButton, QCheckBox { spacing: 6px; }"""
