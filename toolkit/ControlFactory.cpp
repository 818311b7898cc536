#include "toolkit/ControlFactory.h"

#include <algorithm>

namespace q407::toolkit {

ControlFactory& ControlFactory::Instance() {
    static ControlFactory factory;
    return factory;
}

void ControlFactory::RegistControl(const QString& className, Creator creator) {
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [&](const Entry& entry) { return entry.className == className; });
    if (it != m_entries.end()) {
        it->creator = std::move(creator);
    } else {
        m_entries.push_back({className, std::move(creator)});
    }
}

QWidget* ControlFactory::CreateControl(const QString& className, QWidget* parent) const {
    for (const Entry& entry : m_entries) {
        if (entry.className == className) {
            return entry.creator(parent);
        }
    }
    return nullptr;
}

bool ControlFactory::IsRegistered(const QString& className) const {
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [&](const Entry& entry) { return entry.className == className; });
}

QStringList ControlFactory::RegisteredNames() const {
    QStringList names;
    for (const Entry& entry : m_entries) {
        names << entry.className;
    }
    return names;
}

} // namespace q407::toolkit
