#pragma once

// Maps a class name used as an element in a skin layout to a function that creates the control.
// The skin loader asks it before Qt's own widget classes, so layouts can name our controls.

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QWidget;

namespace q407::toolkit {

class ControlFactory {
public:
    using Creator = std::function<QWidget*(QWidget* parent)>;

    static ControlFactory& Instance();

    // Registers (or replaces) the creator of a class name.
    void RegistControl(const QString& className, Creator creator);
    // A new control of that class, or nullptr when the name is not registered.
    QWidget* CreateControl(const QString& className, QWidget* parent) const;
    bool IsRegistered(const QString& className) const;
    // Registered names in registration order.
    QStringList RegisteredNames() const;
    void Clear() { m_entries.clear(); }

private:
    ControlFactory() = default;
    struct Entry {
        QString className;
        Creator creator;
    };
    std::vector<Entry> m_entries;
};

// Registers a default-constructible control class under its class name.
template <typename Control>
void RegistControl(const QString& className) {
    ControlFactory::Instance().RegistControl(className,
                                             [](QWidget* parent) { return new Control(parent); });
}

} // namespace q407::toolkit
