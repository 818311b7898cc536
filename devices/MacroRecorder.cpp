#include "devices/MacroRecorder.h"

#include <algorithm>

namespace q407::devices {
namespace {

constexpr int kMaxDelay = profiles::CMacroLibrary::kMaxDelay;

int SlotOf(int mode) {
    switch (mode) {
    case kHookRecordBefore:
        return 1;
    case kHookRecordAfter:
        return 2;
    case kHookRecordReplace:
        return 3;
    default:
        return 0;
    }
}

} // namespace

int MacroButtonBit(MouseButton button) {
    switch (button) {
    case MouseButton::Left:
        return 0x01;
    case MouseButton::Right:
        return 0x02;
    case MouseButton::Middle:
        return 0x04;
    case MouseButton::Back:
        return 0x08;
    case MouseButton::Forward:
        return 0x10;
    }
    return 0;
}

// --- The event list ------------------------------------------------------------------------------

bool MacroEventList::Full() const {
    return events.size() >= static_cast<std::size_t>(profiles::CMacroLibrary::kMaxEvents);
}

bool MacroEventList::HasSelection() const {
    return selected >= 0 && static_cast<std::size_t>(selected) < events.size();
}

bool MacroEventList::MoveUp() {
    if (!HasSelection() || selected == 0) {
        return false;
    }
    const auto at = static_cast<std::size_t>(selected);
    std::swap(events[at], events[at - 1]);
    --selected;
    return true;
}

bool MacroEventList::MoveDown() {
    if (!HasSelection() || static_cast<std::size_t>(selected) + 1 >= events.size()) {
        return false;
    }
    const auto at = static_cast<std::size_t>(selected);
    std::swap(events[at], events[at + 1]);
    ++selected;
    return true;
}

bool MacroEventList::MoveToTop() {
    if (!HasSelection() || selected == 0) {
        return false;
    }
    const auto at = events.begin() + selected;
    std::rotate(events.begin(), at, at + 1);
    selected = 0;
    return true;
}

bool MacroEventList::MoveToBottom() {
    if (!HasSelection() || static_cast<std::size_t>(selected) + 1 >= events.size()) {
        return false;
    }
    const auto at = events.begin() + selected;
    std::rotate(at, at + 1, events.end());
    selected = static_cast<int>(events.size()) - 1;
    return true;
}

bool MacroEventList::DeleteSelected() {
    if (!HasSelection()) {
        return false;
    }
    events.erase(events.begin() + selected);
    selected = std::min(selected, static_cast<int>(events.size()) - 1);
    return true;
}

void MacroEventList::Clear() {
    events.clear();
    selected = -1;
}

bool MacroEventList::InsertAfterSelection(const MacroEvent& event) {
    if (Full()) {
        return false;
    }
    const int at = events.empty() ? 0 : (HasSelection() ? selected : 0) + 1;
    events.insert(events.begin() + at, event);
    selected = at;
    return true;
}

// --- Recording -----------------------------------------------------------------------------------

void MacroRecorder::Start(MacroTiming timing, int fixedDelay, std::uint64_t nowMs) {
    m_recording = true;
    m_timing = timing;
    m_fixedDelay = std::clamp(fixedDelay, 0, kMaxDelay);
    m_lastEventMs = nowMs;
    m_previousEvent = false;
    m_lastKey.fill(std::nullopt);
    m_lastMouse.reset();
}

std::optional<MacroRecorder::Seen>* MacroRecorder::LastKeyOf(int mode) {
    return &m_lastKey[static_cast<std::size_t>(SlotOf(mode))];
}

bool MacroRecorder::OnKey(int mode, const KeyInput& key, std::uint64_t nowMs,
                          MacroEventList& list) {
    if (!m_recording || !IsRecordingMode(mode)) {
        return false;
    }
    std::optional<Seen>& last = *LastKeyOf(mode);
    if (key.down) {
        if (last && last->scan == key.scan) {
            return false; // the key is held: the keyboard repeats it
        }
        last = Seen{key.scan};
    } else if (last && last->scan == key.scan) {
        last.reset();
    }
    const int index = KeyIndexOfScanCode(key.scan);
    if (index < 0) {
        return false;
    }
    const KeyFunctionCode& code = KeyTable()[static_cast<std::size_t>(index)].code;
    MacroEvent event;
    event.down = key.down;
    if (code.param2 != 0) {
        event.type = macro_type::kKey;
        event.button = code.param2;
    } else {
        event.type = macro_type::kModifier;
        event.button = code.param1;
    }
    return Place(mode, event, nowMs, list);
}

bool MacroRecorder::OnMouse(int mode, const MouseInput& mouse, bool onStopButton,
                            std::uint64_t nowMs, MacroEventList& list) {
    if (!m_recording || !IsRecordingMode(mode)) {
        return false;
    }
    if (mouse.button == MouseButton::Left && onStopButton) {
        return false; // the click that ends the recording
    }
    const std::pair message{mouse.button, mouse.down};
    if (m_lastMouse == message) {
        return false;
    }
    m_lastMouse = message;
    MacroEvent event;
    event.down = mouse.down;
    event.type = macro_type::kMouseButton;
    event.button = MacroButtonBit(mouse.button);
    return Place(mode, event, nowMs, list);
}

bool MacroRecorder::Place(int mode, const MacroEvent& recorded, std::uint64_t nowMs,
                          MacroEventList& list) {
    if (mode == kHookRecordReplace) {
        if (!list.HasSelection()) {
            return false;
        }
        MacroEvent& target = list.events[static_cast<std::size_t>(list.selected)];
        target.type = recorded.type;
        target.button = recorded.button;
        return true;
    }
    if (list.Full()) {
        return false;
    }
    int delay = 0;
    if (m_timing == MacroTiming::RealTime) {
        const std::uint64_t waited = nowMs >= m_lastEventMs ? nowMs - m_lastEventMs : 0;
        delay = static_cast<int>(std::min<std::uint64_t>(waited, kMaxDelay));
        m_lastEventMs = nowMs;
    } else if (m_timing == MacroTiming::FixedDelay) {
        delay = m_fixedDelay;
    }
    const bool first = list.events.empty();
    const int size = static_cast<int>(list.events.size());
    const bool selection = list.HasSelection();
    int at = size;
    if (mode == kHookRecordBefore && selection) {
        at = list.selected;
    } else if (mode == kHookRecordAfter && selection) {
        at = list.selected + 1;
    }
    MacroEvent event = recorded;
    event.delay = !first && m_timing == MacroTiming::FixedDelay ? delay : 0;
    list.events.insert(list.events.begin() + at, event);
    if (!first && m_timing != MacroTiming::FixedDelay && m_previousEvent && at > 0) {
        list.events[static_cast<std::size_t>(at) - 1].delay = delay;
    }
    m_previousEvent = true;
    if (mode == kHookRecordBefore && selection) {
        list.selected = at + 1; // the event the recording goes in front of
    } else {
        list.selected = at;
    }
    return true;
}

} // namespace q407::devices
