// Recording macro events from captured input (a scripted event source, times in milliseconds),
// and editing the event list.

#include "devices/MacroRecorder.h"

#include <gtest/gtest.h>

namespace q407::devices {
namespace {

constexpr ScanCode kA{0x1E, false};
constexpr ScanCode kB{0x30, false};
constexpr ScanCode kRightCtrl{0x1D, true};

// One scripted input: a key or a mouse button at a time.
struct Input {
    std::uint64_t at;
    bool key;
    ScanCode scan;
    MouseButton button;
    bool down;
    bool onStop = false;
};
Input Key(std::uint64_t at, ScanCode scan, bool down) {
    return {at, true, scan, MouseButton::Left, down};
}
Input Click(std::uint64_t at, MouseButton button, bool down, bool onStop = false) {
    return {at, false, {}, button, down, onStop};
}

// Records `inputs` in `mode` into `list`.
void Record(MacroRecorder& recorder, int mode, const std::vector<Input>& inputs,
            MacroEventList& list) {
    for (const Input& in : inputs) {
        if (in.key) {
            recorder.OnKey(mode, {in.down, in.scan}, in.at, list);
        } else {
            recorder.OnMouse(mode, {in.button, in.down, 0, 0}, in.onStop, in.at, list);
        }
    }
}

MacroEvent Ev(bool down, int type, int button, int delay) {
    return {down, type, button, delay};
}

TEST(MacroRecorder, HeldKeysGiveOnePressAndOneRelease) {
    MacroRecorder recorder;
    MacroEventList list;
    recorder.Start(MacroTiming::NoDelay, 0, 0);
    Record(recorder, kHookRecord,
           {Key(0, kA, true), Key(30, kA, true), Key(60, kA, true), Key(90, kA, false),
            Key(100, kRightCtrl, true), Key(110, kRightCtrl, false), Key(120, {0x6F, true}, true)},
           list);
    EXPECT_EQ(list.events, (std::vector<MacroEvent>{Ev(true, 10, 0x04, 0), Ev(false, 10, 0x04, 0),
                                                    Ev(true, 9, 0x10, 0), Ev(false, 9, 0x10, 0)}))
        << "repeats dropped, right Ctrl as its modifier bit, an unknown key ignored";
    EXPECT_EQ(list.selected, 3);
}

TEST(MacroRecorder, RealTimePutsTheWaitOnTheRowBefore) {
    MacroRecorder recorder;
    MacroEventList list;
    recorder.Start(MacroTiming::RealTime, 0, 1000);
    Record(recorder, kHookRecord,
           {Key(1200, kA, true), Key(1250, kA, false), Key(1550, kB, true), Key(1570, kB, false)},
           list);
    EXPECT_EQ(list.events, (std::vector<MacroEvent>{Ev(true, 10, 4, 50), Ev(false, 10, 4, 300),
                                                    Ev(true, 10, 5, 20), Ev(false, 10, 5, 0)}));

    // A wait longer than a delay can hold is held at 65535.
    recorder.Start(MacroTiming::RealTime, 0, 0);
    Record(recorder, kHookRecord, {Key(10, kA, true), Key(100'000, kA, false)}, list);
    EXPECT_EQ(list.events[3].delay, 0) << "the first of a recording gets no wait before it";
    EXPECT_EQ(list.events[4].delay, 65535);
}

TEST(MacroRecorder, FixedDelayGoesOnEveryNewRowButTheFirst) {
    MacroRecorder recorder;
    MacroEventList list;
    recorder.Start(MacroTiming::FixedDelay, 70000, 0);
    EXPECT_EQ(recorder.FixedDelay(), 65535);
    recorder.Start(MacroTiming::FixedDelay, 25, 0);
    Record(recorder, kHookRecord, {Key(5, kA, true), Key(900, kA, false)}, list);
    EXPECT_EQ(list.events, (std::vector<MacroEvent>{Ev(true, 10, 4, 0), Ev(false, 10, 4, 25)}));
}

TEST(MacroRecorder, MouseButtonsSkipTheStopClickAndRepeatedMessages) {
    MacroRecorder recorder;
    MacroEventList list;
    recorder.Start(MacroTiming::NoDelay, 0, 0);
    Record(recorder, kHookRecord,
           {Click(0, MouseButton::Right, true), Click(1, MouseButton::Right, true),
            Click(2, MouseButton::Right, false), Click(3, MouseButton::Forward, true),
            Click(4, MouseButton::Back, true), Click(5, MouseButton::Left, true, true),
            Click(6, MouseButton::Left, false, true), Click(7, MouseButton::Right, true, true)},
           list);
    EXPECT_EQ(list.events, (std::vector<MacroEvent>{Ev(true, 1, 0x02, 0), Ev(false, 1, 0x02, 0),
                                                    Ev(true, 1, 0x10, 0), Ev(true, 1, 0x08, 0),
                                                    Ev(true, 1, 0x02, 0)}))
        << "the left click on the stop button is not recorded; another button there is";
    recorder.Stop();
    EXPECT_FALSE(recorder.OnMouse(kHookRecord, {MouseButton::Left, true, 0, 0}, false, 8, list));
}

TEST(MacroRecorder, RecordingBeforeAndAfterTheSelectedEvent) {
    const MacroEvent x = Ev(true, 10, 0x1B, 7);
    const MacroEvent y = Ev(false, 10, 0x1B, 8);
    MacroRecorder recorder;
    MacroEventList before{{x, y}, 1};
    recorder.Start(MacroTiming::NoDelay, 0, 0);
    Record(recorder, kHookRecordBefore, {Key(0, kA, true), Key(1, kA, false)}, before);
    EXPECT_EQ(before.events,
              (std::vector<MacroEvent>{x, Ev(true, 10, 4, 0), Ev(false, 10, 4, 0), y}))
        << "in order, in front of the selected event";
    EXPECT_EQ(before.selected, 3) << "the selected event stays selected";

    MacroEventList after{{x, y}, 0};
    recorder.Start(MacroTiming::NoDelay, 0, 0);
    Record(recorder, kHookRecordAfter, {Key(0, kB, true), Key(1, kB, false)}, after);
    EXPECT_EQ(after.events,
              (std::vector<MacroEvent>{x, Ev(true, 10, 5, 0), Ev(false, 10, 5, 0), y}));
    EXPECT_EQ(after.selected, 2) << "the newest event is selected";
}

TEST(MacroRecorder, ReplacingKeepsActionAndDelay) {
    MacroRecorder recorder;
    MacroEventList list{{Ev(false, 10, 0x04, 40)}, 0};
    recorder.Start(MacroTiming::NoDelay, 0, 0);
    Record(recorder, kHookRecordReplace, {Key(0, kRightCtrl, true)}, list);
    EXPECT_EQ(list.events, (std::vector<MacroEvent>{Ev(false, 9, 0x10, 40)}));
    Record(recorder, kHookRecordReplace, {Click(1, MouseButton::Middle, true)}, list);
    EXPECT_EQ(list.events, (std::vector<MacroEvent>{Ev(false, 1, 0x04, 40)}));
    EXPECT_EQ(list.selected, 0);
}

TEST(MacroRecorder, NothingIsAddedToAFullList) {
    MacroRecorder recorder;
    MacroEventList list;
    list.events.assign(3999, Ev(true, 10, 4, 0));
    recorder.Start(MacroTiming::NoDelay, 0, 0);
    Record(recorder, kHookRecord, {Key(0, kB, true), Key(1, kB, false)}, list);
    EXPECT_EQ(list.events.size(), 4000u);
    EXPECT_EQ(list.events.back(), Ev(true, 10, 5, 0));
    EXPECT_FALSE(list.InsertAfterSelection(Ev(true, 1, 1, 0)));
}

TEST(MacroEventList, MovesDeletesAndInsertsFollowTheSelection) {
    const MacroEvent a = Ev(true, 10, 1, 1), b = Ev(true, 10, 2, 2), c = Ev(true, 10, 3, 3);
    using Events = std::vector<MacroEvent>;
    struct Case {
        const char* name;
        bool (MacroEventList::*action)();
        int selected;
        Events after;
        int selectedAfter;
        bool changed;
    };
    for (const Case& k : {
             Case{"up", &MacroEventList::MoveUp, 1, {b, a, c}, 0, true},
             Case{"up at the top", &MacroEventList::MoveUp, 0, {a, b, c}, 0, false},
             Case{"down", &MacroEventList::MoveDown, 1, {a, c, b}, 2, true},
             Case{"down at the bottom", &MacroEventList::MoveDown, 2, {a, b, c}, 2, false},
             Case{"to the top", &MacroEventList::MoveToTop, 2, {c, a, b}, 0, true},
             Case{"to the bottom", &MacroEventList::MoveToBottom, 0, {b, c, a}, 2, true},
             Case{"delete", &MacroEventList::DeleteSelected, 1, {a, c}, 1, true},
             Case{"delete the last", &MacroEventList::DeleteSelected, 2, {a, b}, 1, true},
             Case{"nothing selected", &MacroEventList::MoveUp, -1, {a, b, c}, -1, false},
         }) {
        MacroEventList list{{a, b, c}, k.selected};
        EXPECT_EQ((list.*k.action)(), k.changed) << k.name;
        EXPECT_EQ(list.events, k.after) << k.name;
        EXPECT_EQ(list.selected, k.selectedAfter) << k.name;
    }

    MacroEventList list;
    ASSERT_TRUE(list.InsertAfterSelection(a));
    EXPECT_EQ(list.events, Events{a}) << "an empty list takes it as the first";
    list.selected = -1;
    ASSERT_TRUE(list.InsertAfterSelection(b));
    ASSERT_TRUE(list.InsertAfterSelection(c));
    EXPECT_EQ(list.events, (Events{a, b, c})) << "without a selection: after the first";
    EXPECT_EQ(list.selected, 2);
}

} // namespace
} // namespace q407::devices
