// Qt key events to virtual-key codes, and the key state they feed.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QWidget>

#include "QtTestApp.h"
#include "platform/qt/KeyTable.h"
#include "platform/qt/QtKeyboard.h"

namespace {

using plat::qt::virtualKeyFor;

struct KeyCase {
    int qtKey;
    bool keypad;
    std::uint32_t keysym;
    int vk;
};

TEST(KeyTable, MapsEveryKeyTheProgramsRead) {
    const KeyCase cases[] = {
        {Qt::Key_Return, false, 0xff0d, 13},  {Qt::Key_Return, false, 0, 13},
        {Qt::Key_Enter, true, 0xff8d, 13},    {Qt::Key_Enter, true, 0, 13},
        {Qt::Key_Space, false, 0x20, 32},     {Qt::Key_Space, false, 0, 32},
        {Qt::Key_Left, false, 0xff51, 37},    {Qt::Key_Up, false, 0xff52, 38},
        {Qt::Key_Right, false, 0, 39},        {Qt::Key_Down, false, 0xff54, 40},
        {Qt::Key_Shift, false, 0xffe1, 16},   {Qt::Key_Shift, false, 0xffe2, 16},
        {Qt::Key_Control, false, 0xffe4, 17}, {Qt::Key_Control, false, 0, 17},
        {Qt::Key_Escape, false, 0xff1b, 27},  {Qt::Key_Escape, false, 0, 27},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(virtualKeyFor(c.qtKey, c.keypad, c.keysym), c.vk) << std::hex << c.qtKey;
    }
}

TEST(KeyTable, KeypadDigitsAreKeypadDigitsWithNumLockOnOrOff) {
    const int numLockOff[10] = {Qt::Key_Insert, Qt::Key_End,   Qt::Key_Down,  Qt::Key_PageDown,
                                Qt::Key_Left,   Qt::Key_Clear, Qt::Key_Right, Qt::Key_Home,
                                Qt::Key_Up,     Qt::Key_PageUp};
    const std::uint32_t offSyms[10] = {0xff9e, 0xff9c, 0xff99, 0xff9b, 0xff96,
                                       0xff9d, 0xff98, 0xff95, 0xff97, 0xff9a};
    for (int d = 0; d < 10; ++d) {
        EXPECT_EQ(virtualKeyFor(Qt::Key_0 + d, true, 0xffb0u + d), 96 + d) << d;
        EXPECT_EQ(virtualKeyFor(Qt::Key_0 + d, true, 0), 96 + d) << d;
        EXPECT_EQ(virtualKeyFor(numLockOff[d], true, offSyms[d]), 96 + d) << d;
        EXPECT_EQ(virtualKeyFor(numLockOff[d], true, 0), 96 + d) << d;
        // The keysym alone decides when a platform forgets the keypad flag.
        EXPECT_EQ(virtualKeyFor(numLockOff[d], false, offSyms[d]), 96 + d) << d;
    }
}

TEST(KeyTable, OtherKeysAreNotRead) {
    EXPECT_EQ(virtualKeyFor(Qt::Key_8, false, '8'), 0) << "the main-row 8 is no keypad key";
    EXPECT_EQ(virtualKeyFor(Qt::Key_A, false, 'a'), 0);
    EXPECT_EQ(virtualKeyFor(Qt::Key_F12, false, 0xffc9), 0);
    EXPECT_EQ(virtualKeyFor(-1, true, 0xffffffffu), 0);
}

void send(QWidget& w, QEvent::Type type, int key, Qt::KeyboardModifiers mods, bool repeat,
          std::uint32_t keysym = 0) {
    QKeyEvent e(type, key, mods, 0, keysym, 0, QString(), repeat);
    QCoreApplication::sendEvent(&w, &e);
}

TEST(QtKeyboard, HoldsUntilReleasedIgnoresRepeatsAndLetsGoOnDeactivation) {
    qtTestApp();
    plat::qt::QtKeyboard keyboard;
    QWidget w;

    send(w, QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, false);
    EXPECT_TRUE(keyboard.isHeld(39));
    // Auto-repeat arrives as release + press pairs; the key stays held throughout.
    send(w, QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, true);
    EXPECT_TRUE(keyboard.isHeld(39));
    send(w, QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, false);
    EXPECT_FALSE(keyboard.isHeld(39));

    send(w, QEvent::KeyPress, Qt::Key_Up, Qt::KeypadModifier, false, 0xff97);
    EXPECT_TRUE(keyboard.isHeld(104));
    EXPECT_FALSE(keyboard.isHeld(38));
    send(w, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier, false);
    EXPECT_TRUE(keyboard.isHeld(16));

    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(&w, &deactivate);
    EXPECT_FALSE(keyboard.isHeld(104));
    EXPECT_FALSE(keyboard.isHeld(16));

    EXPECT_FALSE(keyboard.isHeld(-1));
    EXPECT_FALSE(keyboard.isHeld(100000));
}

} // namespace
