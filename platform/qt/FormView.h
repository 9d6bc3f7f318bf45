// A real window built from any form model: picture boxes are shown pixel for pixel (scaled
// nearest-neighbour only), the other controls are real Qt widgets, and the widgets' events go
// to the model's handlers through plat::deliver. The model stays the truth: the view copies it on every refresh.
// The whole window can be shown at a whole zoom factor or fullscreen; the handlers always
// receive positions in the form's own pixels.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "platform/Form.h"
#include "platform/ShownPicture.h"

namespace plat::qt {

// How a window is shown on the desktop: its zoom, fullscreen, and where screenshots go.
struct Display {
    static constexpr int kMinZoom = 1, kMaxZoom = 4;
    int zoom = 1;            // whole factor of the windowed view
    bool fullScreen = false; // fullscreen: the largest whole factor that fits the screen
    // The picture box that is the game view (screenshots; alone in fullscreen when
    // gameViewAlone), by control name; empty when the form has none.
    std::string gameView;
    bool gameViewAlone = false;
    QString picturesFolder; // screenshots go to <picturesFolder>/<title>/<name>-<time>.png
    QString programName;    // "haruvel"
    QString programTitle;   // "Haruvel"
    std::function<void(int zoom)> zoomChanged; // the player changed the zoom
};

// Shows one picture box's surface and forwards the mouse.
class PictureWidget : public QWidget {
  public:
    PictureWidget(Form& form, PictureBox& box, QWidget* parent);
    PictureBox& box() { return box_; }
    void setScale(int scale) {
        scale_ = scale;
        update();
    }
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

    Form& form_;
    PictureBox& box_;
    QRect onWidget(const PixelRect& r) const {
        return QRect(r.x * scale_, r.y * scale_, r.width * scale_, r.height * scale_);
    }

    int scale_ = 1;
    ShownPicture shown_;
    QImage image_; // over shown_'s pixels, remade only when they move
};

class FormView : public QWidget {
  public:
    // closeRequested runs when the user asks the window to close; the window system decides.
    FormView(Form& form, std::function<void()> closeRequested, Display display = {});

    Form& form() { return form_; }
    // Copies the model's sizes, captions, values and visibility; repaints changed pictures.
    void refresh();
    // Repaints one picture box now that its surface changed.
    void repaintBox(const PictureBox& box);
    // The widget that shows a control, nullptr if it has none.
    QWidget* widgetFor(const Control& control) const;

    // Shows the window, fullscreen or not as the display says.
    void present();
    // The factor the form's pixels are shown at now, and where the form's (0, 0) lies.
    int scale() const { return scale_; }
    QPoint origin() const { return origin_; }
    const Display& display() const { return display_; }
    // Whole zoom factor of the windowed view, clamped to 1..4.
    void setZoom(int zoom);
    void setFullScreenMode(bool on);
    // Saves the game view as a PNG; returns its path, empty (and says why on stderr) on failure.
    QString saveScreenshot();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
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
    QWidget* makeWidget(Control& c, std::size_t at);
    QWidget* makeLabel(const Label& model);
    QWidget* makeCheckBox(Control& c, std::size_t at);
    QWidget* makeOptionButton(Control& c, std::size_t at);
    QWidget* makeButton(Control& c);
    QWidget* makeListBox(ListBox& c, std::size_t at);
    void showRows(const ListBox& model, Item& item);
    void showModelValue(std::size_t at);
    void refreshItem(Item& item);
    void placeItem(Item& item) const;
    static void showCaption(const Control& c, QWidget* w, const QString& text);
    void showValue(Item& item);
    void showHighlight(QWidget* button, bool on) const;
    // Works out the factor and origin for the window or the screen; re-places every control.
    void relayout();
    bool shownAtAll(const Control& c) const;
    void showTitle();

    Form& form_;
    std::function<void()> closeRequested_;
    Display display_;
    const Control* gameView_ = nullptr;
    std::vector<Item> items_;
    int shownWidth_ = -1, shownHeight_ = -1, shownScale_ = -1;
    int scale_ = 1;
    QPoint origin_;
    std::u16string shownCaption_;
    QString titleNote_; // shown after the caption for a short while (the screenshot's path)
    QTimer titleNoteTimer_;
};

// Where a pointer position over a widget shown at a whole factor lands in the form's pixels.
float toFormPixel(qreal widgetPos, int scale);

// Button codes and shift mask as the form handlers receive them.
int mouseButtonCode(Qt::MouseButtons buttons);
int shiftMask(Qt::KeyboardModifiers modifiers);

} // namespace plat::qt
