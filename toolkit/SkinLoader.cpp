#include "toolkit/SkinLoader.h"

#include "common/Diag.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/NotifyAdapter.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinAttributes.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QUiLoader>
#include <QVBoxLayout>

namespace q407::toolkit {
namespace {

class SkinUiLoader : public QUiLoader {
public:
    explicit SkinUiLoader(const BuilderCallback& callback) : m_callback(callback) {}

    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override {
        QWidget* widget = ControlFactory::Instance().CreateControl(className, parent);
        if (widget == nullptr && m_callback) {
            widget = m_callback(className, parent);
        }
        if (widget != nullptr) {
            widget->setObjectName(name);
            return widget;
        }
        return QUiLoader::createWidget(className, parent, name);
    }

private:
    const BuilderCallback& m_callback;
};

// The texts a layout gives its controls are text ids (or plain texts), and so are the tool tips
// it names by "tiptextid"; keep them as such so a language switch re-texts them.
void AdoptTextIds(QWidget* root) {
    QList<QWidget*> controls = root->findChildren<QWidget*>();
    controls.prepend(root);
    for (QWidget* control : controls) {
        if (const QVariant tip = control->property("tiptextid"); tip.isValid()) {
            control->setToolTip(ResourceManager::Instance().Text(tip.toString()));
        }
        if (control->property("textid").isValid()) {
            SetControlText(control, control->property("textid").toString());
            continue;
        }
        QString text;
        if (auto* label = qobject_cast<QLabel*>(control)) {
            text = label->text();
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            text = button->text();
        } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
            text = group->title();
        }
        if (!text.isEmpty()) {
            SetControlText(control, text);
        }
    }
}

} // namespace

QWidget* BuildFromSkin(const QString& layout, QWidget* parent, const BuilderCallback& callback) {
    const QString path = ResourceManager::Instance().ResolveFile(layout);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        q407::diag::Line("skin layout missing: " + path.toStdString());
        return nullptr;
    }
    SkinUiLoader loader(callback);
    loader.setWorkingDirectory(QFileInfo(path).absoluteDir());
    QWidget* root = loader.load(&file, parent);
    if (root == nullptr) {
        q407::diag::Line("skin layout unusable: " + path.toStdString() + ": " +
                         loader.errorString().toStdString());
        return nullptr;
    }
    ApplySkinAttributes(root);
    ResourceManager::Instance().ScaleNewControls(root);
    AdoptTextIds(root);
    ConnectNotifications(root);
    return root;
}

QWidget* BuildSubTree(const QString& layout, QWidget* container, const BuilderCallback& callback) {
    if (container == nullptr) {
        return nullptr;
    }
    QWidget* root = BuildFromSkin(layout, container, callback);
    if (root == nullptr) {
        return nullptr;
    }
    QLayout* containerLayout = container->layout();
    if (containerLayout == nullptr) {
        containerLayout = new QVBoxLayout(container);
        containerLayout->setContentsMargins(0, 0, 0, 0);
        containerLayout->setSpacing(0);
    }
    containerLayout->addWidget(root);
    return root;
}

QWidget* FindSubControlByName(const QWidget* parent, const QString& name) {
    if (parent == nullptr || name.isEmpty()) {
        return nullptr;
    }
    return parent->findChild<QWidget*>(name);
}

} // namespace q407::toolkit
