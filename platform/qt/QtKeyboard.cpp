#include "platform/qt/QtKeyboard.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/qt/KeyTable.h"

namespace plat::qt {

QtKeyboard::QtKeyboard() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

QtKeyboard::~QtKeyboard() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool QtKeyboard::isHeld(int virtualKey) {
    if (virtualKey < 0 || virtualKey >= static_cast<int>(held_.size())) return false;
    return held_[static_cast<std::size_t>(virtualKey)];
}

void QtKeyboard::set(int virtualKey, bool down) {
    if (virtualKey <= 0 || virtualKey >= static_cast<int>(held_.size())) return;
    held_[static_cast<std::size_t>(virtualKey)] = down;
}

bool QtKeyboard::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat()) break;
        const int code = virtualKeyFor(key->key(), key->modifiers().testFlag(Qt::KeypadModifier),
                                       key->nativeVirtualKey());
        set(code, event->type() == QEvent::KeyPress);
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            set(vk::LButton, event->type() == QEvent::MouseButtonPress);
        }
        break;
    }
    case QEvent::WindowDeactivate:
    case QEvent::ApplicationDeactivate: releaseAll(); break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace plat::qt
