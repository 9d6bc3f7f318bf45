#include "platform/qt/KeyTable.h"

#include <Qt>

#include "platform/Seams.h"

namespace plat::qt {

namespace {

struct KeyRow {
    int qtKey;
    bool keypad;          // the row matches only keys Qt marks as keypad keys
    std::uint32_t keysym; // X keysym, 0 when the row has none of its own
    int vk;
};

// Every key the programs read. The keypad rows come twice: NumLock on gives digits, NumLock
// off gives the navigation keys printed on the same keycaps; both are the keypad digit.
constexpr KeyRow kKeys[] = {
    {Qt::Key_Return, false, 0xff0d, vk::Enter},    {Qt::Key_Enter, true, 0xff8d, vk::Enter},
    {Qt::Key_Enter, false, 0, vk::Enter},          {Qt::Key_Space, false, 0x0020, vk::Space},
    {Qt::Key_Shift, false, 0xffe1, vk::Shift},     {Qt::Key_Shift, false, 0xffe2, vk::Shift},
    {Qt::Key_Control, false, 0xffe3, vk::Control}, {Qt::Key_Control, false, 0xffe4, vk::Control},
    {Qt::Key_Left, false, 0xff51, vk::Left},       {Qt::Key_Up, false, 0xff52, vk::Up},
    {Qt::Key_Right, false, 0xff53, vk::Right},     {Qt::Key_Down, false, 0xff54, vk::Down},
    {Qt::Key_0, true, 0xffb0, vk::numpad(0)},      {Qt::Key_1, true, 0xffb1, vk::numpad(1)},
    {Qt::Key_2, true, 0xffb2, vk::numpad(2)},      {Qt::Key_3, true, 0xffb3, vk::numpad(3)},
    {Qt::Key_4, true, 0xffb4, vk::numpad(4)},      {Qt::Key_5, true, 0xffb5, vk::numpad(5)},
    {Qt::Key_6, true, 0xffb6, vk::numpad(6)},      {Qt::Key_7, true, 0xffb7, vk::numpad(7)},
    {Qt::Key_8, true, 0xffb8, vk::numpad(8)},      {Qt::Key_9, true, 0xffb9, vk::numpad(9)},
    {Qt::Key_Insert, true, 0xff9e, vk::numpad(0)}, {Qt::Key_End, true, 0xff9c, vk::numpad(1)},
    {Qt::Key_Down, true, 0xff99, vk::numpad(2)},   {Qt::Key_PageDown, true, 0xff9b, vk::numpad(3)},
    {Qt::Key_Left, true, 0xff96, vk::numpad(4)},   {Qt::Key_Clear, true, 0xff9d, vk::numpad(5)},
    {Qt::Key_Right, true, 0xff98, vk::numpad(6)},  {Qt::Key_Home, true, 0xff95, vk::numpad(7)},
    {Qt::Key_Up, true, 0xff97, vk::numpad(8)},     {Qt::Key_PageUp, true, 0xff9a, vk::numpad(9)},
    {Qt::Key_Escape, false, 0xff1b, vk::Escape},
};

} // namespace

int virtualKeyFor(int qtKey, bool keypad, std::uint32_t nativeKey) {
    if (nativeKey != 0) {
        for (const KeyRow& row : kKeys) {
            if (row.keysym == nativeKey) return row.vk;
        }
    }
    for (const KeyRow& row : kKeys) {
        if (row.qtKey == qtKey && row.keypad == keypad) return row.vk;
    }
    // Some platforms flag Enter or the modifiers as keypad keys; the main-block row serves.
    if (keypad) {
        for (const KeyRow& row : kKeys) {
            if (row.qtKey == qtKey && !row.keypad) return row.vk;
        }
    }
    return 0;
}

} // namespace plat::qt
