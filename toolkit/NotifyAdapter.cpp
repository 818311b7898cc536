#include "toolkit/NotifyAdapter.h"

#include "toolkit/Notify.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>

namespace q407::toolkit {
namespace {

const char* const kConnectedProperty = "_q407_notify_connected";

// One filter object serves every widget: it only translates events into notifications.
class EventNotifier : public QObject {
public:
    static EventNotifier& Instance() {
        static EventNotifier notifier;
        return notifier;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr) {
            return false;
        }
        switch (event->type()) {
        case QEvent::FocusIn:
            SendNotify(widget, QStringLiteral("setfocus"));
            break;
        case QEvent::FocusOut:
            SendNotify(widget, QStringLiteral("killfocus"));
            break;
        case QEvent::Enter:
            SendNotify(widget, QStringLiteral("msenter"));
            break;
        case QEvent::Leave:
            SendNotify(widget, QStringLiteral("msleave"));
            break;
        case QEvent::MouseButtonDblClick:
            SendNotify(widget, QStringLiteral("dbclick"));
            break;
        case QEvent::ContextMenu:
            SendNotify(widget, QStringLiteral("menu"));
            break;
        case QEvent::Resize:
            if (widget->isWindow() || widget->objectName() == QLatin1String("root")) {
                SendNotify(widget, QStringLiteral("windowsize"));
            }
            break;
        default:
            break;
        }
        return false;
    }
};

void ConnectButton(QAbstractButton* button) {
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [button] { SendNotify(button, QStringLiteral("click")); });
    if (button->isCheckable()) {
        QObject::connect(button, &QAbstractButton::toggled, button, [button](bool checked) {
            SendNotify(button, QStringLiteral("selectchanged"), checked ? 1 : 0);
        });
    }
}

void ConnectCombo(QComboBox* combo) {
    combo->setProperty("_q407_previous_index", combo->currentIndex());
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [combo](int index) {
        const int previous = combo->property("_q407_previous_index").toInt();
        combo->setProperty("_q407_previous_index", index);
        SendNotify(combo, QStringLiteral("itemselect"), index, previous);
    });
    if (combo->isEditable() && combo->lineEdit() != nullptr) {
        QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, combo,
                         [combo] { SendNotify(combo, QStringLiteral("textchanged")); });
    }
}

void ConnectItemView(QAbstractItemView* view) {
    QObject::connect(view, &QAbstractItemView::clicked, view, [view](const QModelIndex& index) {
        SendNotify(view, QStringLiteral("itemclick"), index.row());
    });
    QObject::connect(view, &QAbstractItemView::activated, view, [view](const QModelIndex& index) {
        SendNotify(view, QStringLiteral("itemactivate"), index.row());
    });
    QObject::connect(view, &QAbstractItemView::doubleClicked, view,
                     [view](const QModelIndex& index) {
                         SendNotify(view, QStringLiteral("dbclick"), index.row());
                     });
    if (auto* list = qobject_cast<QListWidget*>(view)) {
        QObject::connect(list, &QListWidget::currentRowChanged, list,
                         [list](int row) { SendNotify(list, QStringLiteral("itemselect"), row); });
    }
}

void ConnectSlider(QAbstractSlider* slider) {
    QObject::connect(slider, &QAbstractSlider::valueChanged, slider, [slider](int value) {
        if (!slider->isSliderDown()) {
            SendNotify(slider, QStringLiteral("valuechanged"), value);
        }
    });
    QObject::connect(slider, &QAbstractSlider::sliderMoved, slider, [slider](int value) {
        SendNotify(slider, QStringLiteral("movevaluechanged"), value);
    });
    QObject::connect(slider, &QAbstractSlider::sliderReleased, slider, [slider] {
        SendNotify(slider, QStringLiteral("valuechanged"), slider->value());
    });
}

void ConnectWidget(QWidget* widget) {
    if (widget->objectName().isEmpty() || widget->property(kConnectedProperty).toBool()) {
        return;
    }
    widget->setProperty(kConnectedProperty, true);
    widget->installEventFilter(&EventNotifier::Instance());

    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        ConnectButton(button);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        ConnectCombo(combo);
    } else if (auto* view = qobject_cast<QAbstractItemView*>(widget)) {
        ConnectItemView(view);
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(widget)) {
        ConnectSlider(slider);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        QObject::connect(edit, &QLineEdit::textChanged, edit,
                         [edit] { SendNotify(edit, QStringLiteral("textchanged")); });
        QObject::connect(edit, &QLineEdit::returnPressed, edit,
                         [edit] { SendNotify(edit, QStringLiteral("return")); });
    } else if (auto* text = qobject_cast<QTextEdit*>(widget)) {
        QObject::connect(text, &QTextEdit::textChanged, text,
                         [text] { SendNotify(text, QStringLiteral("textchanged")); });
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
        QObject::connect(plain, &QPlainTextEdit::textChanged, plain,
                         [plain] { SendNotify(plain, QStringLiteral("textchanged")); });
    } else if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [tabs](int page) {
            SendNotify(tabs, QStringLiteral("selectchanged"), page);
        });
    } else if (auto* stack = qobject_cast<QStackedWidget*>(widget)) {
        QObject::connect(stack, &QStackedWidget::currentChanged, stack, [stack](int page) {
            SendNotify(stack, QStringLiteral("selectchanged"), page);
        });
    }
}

} // namespace

void ConnectNotifications(QWidget* root) {
    if (root == nullptr) {
        return;
    }
    ConnectWidget(root);
    const auto children = root->findChildren<QWidget*>();
    for (QWidget* child : children) {
        ConnectWidget(child);
    }
}

} // namespace q407::toolkit
