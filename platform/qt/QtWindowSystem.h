// The window system on Qt: the message pump, the active window, modal boxes and one real
// window per shown form.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "platform/Seams.h"
#include "platform/qt/FormView.h"

namespace plat::qt {

class QtKeyboard;

class QtWindowSystem : public IWindowSystem {
  public:
    // The keyboard, when given, is cleared after every message box: the key that answered
    // the box must not reach the game as still held.
    explicit QtWindowSystem(QtKeyboard* keyboard = nullptr);
    ~QtWindowSystem() override;

    void doEvents() override;
    void waitEvents(std::uint32_t ms) override;
    bool isActive(const Form& form) override;
    MsgResult messageBox(const std::u16string& text, const std::u16string& title,
                         MsgButtons buttons, MsgIcon icon) override;
    void show(Form& form) override;
    bool unload(Form& form) override;
    void unloadAll() override;
    void repaint(PictureBox& box) override;
    void sync(Form& form) override;

    // The window of a shown form, nullptr when it has none.
    FormView* viewFor(const Form& form) const;

    // How windows shown from now on appear: zoom, fullscreen, where screenshots go.
    void setDisplay(Display display) { display_ = std::move(display); }
    // Names a form's game view: the picture box screenshots save and, when alone is set, the
    // only thing fullscreen shows.
    void setGameView(const std::string& formName, const std::string& pictureName, bool alone);

    // Shows a message box's text for `ms` milliseconds without waiting for an answer.
    void showNote(const std::u16string& text, const std::u16string& title, int ms);

  private:
    void refreshViews();
    // The factor a window is shown at now: its form's, else the zoom chosen last.
    int scaleOf(const QWidget* window) const;
    // A box grows with the window it belongs to, so the story is never the smallest thing on
    // a large screen.
    void followZoom(QMessageBox& box, const QWidget* owner) const;

    Display display_;
    std::map<std::string, std::pair<std::string, bool>> gameViews_;

    QtKeyboard* keyboard_;
    QPointer<QMessageBox> note_; // the message box showNote shows now
    QTimer wakeUp_;
    std::map<const Form*, std::unique_ptr<FormView>> views_;
    std::vector<Form*> open_; // shown forms in the order they were shown
    std::set<const Form*> unloading_;
    // Views of unloaded forms; deleted with the window system, never inside their own events.
    std::vector<std::unique_ptr<FormView>> closed_;
};

} // namespace plat::qt
