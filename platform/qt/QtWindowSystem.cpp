#include "platform/qt/QtWindowSystem.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <algorithm>

#include "platform/InputEvent.h"
#include "platform/qt/QtKeyboard.h"
#include "platform/qt/QtText.h"

namespace plat::qt {

QtWindowSystem::QtWindowSystem(QtKeyboard* keyboard) : keyboard_(keyboard) {
    wakeUp_.setSingleShot(true);
    wakeUp_.setTimerType(Qt::PreciseTimer);
}

QtWindowSystem::~QtWindowSystem() = default;

void QtWindowSystem::doEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    refreshViews();
}

void QtWindowSystem::waitEvents(std::uint32_t ms) {
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (ms == 0 || dispatcher == nullptr) {
        doEvents();
        return;
    }
    // Blocks until a window event arrives or the timer ends the wait, so an idle game does not
    // poll. Whatever is already queued (the repaint the frame just asked for) is handled at
    // once, without waiting; the caller then looks at the clock and the close flags before
    // waiting again.
    wakeUp_.start(static_cast<int>(std::min<std::uint32_t>(ms, 60000u)));
    dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    wakeUp_.stop();
    refreshViews();
}

void QtWindowSystem::refreshViews() {
    for (auto& [form, view] : views_)
        view->refresh();
}

bool QtWindowSystem::isActive(const Form& form) {
    const FormView* view = viewFor(form);
    return view != nullptr && view->isActiveWindow();
}

int QtWindowSystem::scaleOf(const QWidget* window) const {
    for (const auto& [form, view] : views_)
        if (view.get() == window) return view->scale();
    return display_.zoom;
}

void QtWindowSystem::followZoom(QMessageBox& box, const QWidget* owner) const {
    const int scale = std::max(1, scaleOf(owner));
    if (scale == 1) return;
    QFont font = box.font();
    if (font.pixelSize() > 0) {
        font.setPixelSize(font.pixelSize() * scale);
    } else {
        font.setPointSizeF(font.pointSizeF() * scale);
    }
    box.setFont(font);
}

void QtWindowSystem::showNote(const std::u16string& text, const std::u16string& title, int ms) {
    if (note_) note_->close(); // one note at a time: the newest
    auto* box = new QMessageBox(QApplication::activeWindow());
    note_ = box;
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAttribute(Qt::WA_ShowWithoutActivating); // the keys stay with the game's window
    box->setWindowModality(Qt::NonModal);
    box->setWindowTitle(title.empty() ? QCoreApplication::applicationName()
                                      : QString::fromStdU16String(title));
    box->setTextFormat(Qt::PlainText);
    box->setText(withLineFeeds(text));
    box->setStandardButtons(QMessageBox::NoButton);
    followZoom(*box, QApplication::activeWindow());
    box->show();
    QTimer::singleShot(ms, box, &QWidget::close);
}

MsgResult QtWindowSystem::messageBox(const std::u16string& text, const std::u16string& title,
                                     MsgButtons buttons, MsgIcon icon) {
    QWidget* parent = QApplication::activeWindow();
    QMessageBox box(parent);
    box.setIcon(icon == MsgIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon);
    box.setWindowTitle(title.empty() ? QCoreApplication::applicationName()
                                     : QString::fromStdU16String(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(withLineFeeds(text));
    followZoom(box, parent);
    if (buttons == MsgButtons::YesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
    }
    const QPointer<QWidget> owner = parent;
    box.exec();
    if (keyboard_) keyboard_->releaseAll();
    // As with the desktop's own modal boxes, activation goes back to the window that owned the
    // box, also where no window manager would hand it back (a bare X server).
    if (owner && owner->isVisible()) owner->activateWindow();
    QAbstractButton* clicked = box.clickedButton();
    const QMessageBox::StandardButton answer =
        clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
    switch (answer) {
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    case QMessageBox::Ok: return MsgResult::Ok;
    default: return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Cancel;
    }
}

FormView* QtWindowSystem::viewFor(const Form& form) const {
    const auto it = views_.find(&form);
    return it == views_.end() ? nullptr : it->second.get();
}

void QtWindowSystem::show(Form& form) {
    FormView* view = viewFor(form);
    if (view == nullptr) {
        Display display = display_;
        if (const auto it = gameViews_.find(form.name); it != gameViews_.end()) {
            display.gameView = it->second.first;
            display.gameViewAlone = it->second.second;
        }
        // A window opened later takes the zoom the player chose last.
        display.zoomChanged = [this](int zoom) {
            display_.zoom = zoom;
            if (display_.zoomChanged) display_.zoomChanged(zoom);
        };
        auto made = std::make_unique<FormView>(
            form, [this, &form] { deliver(form, InputEvent::close(), this); }, std::move(display));
        view = made.get();
        views_[&form] = std::move(made);
    }
    if (std::find(open_.begin(), open_.end(), &form) == open_.end()) open_.push_back(&form);
    form.loaded = true;
    form.visible = true;
    view->refresh();
    view->present();
    view->raise();
    view->activateWindow();
}

bool QtWindowSystem::unload(Form& form) {
    if (!form.loaded) return true;
    // A close query that unloads every form reaches this form again: it is already going.
    if (unloading_.count(&form) != 0) return true;
    unloading_.insert(&form);
    bool cancel = false;
    form.queryUnload(cancel);
    unloading_.erase(&form);
    if (cancel) return false;
    if (!form.loaded) return true;

    form.loaded = false;
    form.visible = false;
    open_.erase(std::remove(open_.begin(), open_.end(), &form), open_.end());
    const auto it = views_.find(&form);
    if (it != views_.end()) {
        it->second->hide();
        closed_.push_back(std::move(it->second));
        views_.erase(it);
    }
    form.unloaded();
    return true;
}

void QtWindowSystem::unloadAll() {
    const std::vector<Form*> open = open_;
    for (Form* f : open)
        unload(*f);
}

void QtWindowSystem::repaint(PictureBox& box) {
    for (auto& [form, view] : views_)
        view->repaintBox(box);
}

void QtWindowSystem::setGameView(const std::string& formName, const std::string& pictureName,
                                 bool alone) {
    gameViews_[formName] = {pictureName, alone};
}

void QtWindowSystem::sync(Form& form) {
    if (FormView* view = viewFor(form)) view->refresh();
}

} // namespace plat::qt
