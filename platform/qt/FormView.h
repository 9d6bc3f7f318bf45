// A real window built from any form model: picture boxes are shown pixel for pixel (scaled
// nearest-neighbour only), the other controls are real Qt widgets, and the widgets' events go
// to the model's handlers. The model stays the truth: the view copies it on every refresh.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <vector>

#include "platform/Form.h"
#include "platform/ShownPicture.h"

namespace plat::qt {

// Shows one picture box's surface and forwards the mouse.
class PictureWidget : public QWidget {
  public:
    PictureWidget(PictureBox& box, QWidget* parent);
    PictureBox& box() { return box_; }
    // Hands the surface's picture to the window: only what differs from the picture shown is
    // repainted, and a bit-identical picture not at all. A hidden widget takes it when shown.
    void present();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // Takes the surface's picture as the one shown; `whole` when the widget needs repainting
    // all over. Answers the rectangle that changed.
    PixelRect takePicture(bool& whole);

    PictureBox& box_;
    ShownPicture shown_;
    QImage image_; // over shown_'s pixels, remade only when they move
};

class FormView : public QWidget {
  public:
    // closeRequested runs when the user asks the window to close; the window system decides.
    FormView(Form& form, std::function<void()> closeRequested);

    Form& form() { return form_; }
    // Copies the model's sizes, captions, values and visibility; repaints changed pictures.
    void refresh();
    // Repaints one picture box now that its surface changed.
    void repaintBox(const PictureBox& box);
    // The widget that shows a control, nullptr if it has none.
    QWidget* widgetFor(const Control& control) const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // Mouse and click events of labels and frames, which have no signals of their own.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Item {
        Control* control = nullptr;
        QWidget* widget = nullptr;
        // What the widget shows now, to touch Qt only when the model changed.
        int left = -1, top = -1, width = -1, height = -1;
        bool visible = false, enabled = true, shownOnce = false, captionShown = false;
        std::u16string caption;
        int value = -1;
        std::uint64_t generation = 0;
    };
    void build();
    void refreshItem(Item& item);

    Form& form_;
    std::function<void()> closeRequested_;
    std::vector<Item> items_;
    int shownWidth_ = -1, shownHeight_ = -1;
    std::u16string shownCaption_;
};

// Button codes and shift mask as the form handlers receive them.
int mouseButtonCode(Qt::MouseButtons buttons);
int shiftMask(Qt::KeyboardModifiers modifiers);

} // namespace plat::qt
