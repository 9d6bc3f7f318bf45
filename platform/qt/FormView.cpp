#include "platform/qt/FormView.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShowEvent>

#include "platform/qt/QtText.h"

namespace plat::qt {

namespace {

QString toQt(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// The programs break lines with CR LF or a lone CR; Qt widgets break on LF.
QString toDisplayText(const std::u16string& text) {
    QString s = toQt(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

QColor toQColor(Color c) {
    return QColor::fromRgb(c & 0xFFFFFFu);
}

void forwardMouse(const std::function<void(int, int, float, float)>& handler, int button,
                  const QMouseEvent* event) {
    if (!handler) return;
    const QPointF pos = event->position();
    handler(button, shiftMask(event->modifiers()), static_cast<float>(pos.x()),
            static_cast<float>(pos.y()));
}

} // namespace

int mouseButtonCode(Qt::MouseButtons buttons) {
    int code = 0;
    if (buttons & Qt::LeftButton) code |= kLeftButton;
    if (buttons & Qt::RightButton) code |= kRightButton;
    if (buttons & Qt::MiddleButton) code |= kMiddleButton;
    return code;
}

int shiftMask(Qt::KeyboardModifiers modifiers) {
    int mask = 0;
    if (modifiers & Qt::ShiftModifier) mask |= 1;
    if (modifiers & Qt::ControlModifier) mask |= 2;
    if (modifiers & Qt::AltModifier) mask |= 4;
    return mask;
}

PictureWidget::PictureWidget(PictureBox& box, QWidget* parent) : QWidget(parent), box_(box) {
    setMouseTracking(true); // moves with no button held still reach the handler
    setAttribute(Qt::WA_OpaquePaintEvent);
}

PixelRect PictureWidget::takePicture(bool& whole) {
    const int oldWidth = shown_.width(), oldHeight = shown_.height();
    const Color oldBack = shown_.backColor();
    const PixelRect r = shown_.take(box_.surface);
    if (r.empty()) return r;
    const auto* bits = reinterpret_cast<const uchar*>(shown_.data());
    if (image_.constBits() != bits || image_.width() != shown_.width() ||
        image_.height() != shown_.height()) {
        image_ = QImage(bits, shown_.width(), shown_.height(),
                        static_cast<qsizetype>(shown_.width()) * 4, QImage::Format_RGB32);
    }
    // The back colour around a smaller picture may change too.
    whole =
        shown_.width() != oldWidth || shown_.height() != oldHeight || shown_.backColor() != oldBack;
    return r;
}

void PictureWidget::present() {
    // A widget hidden, or lying outside its window (the field window's parts beyond its narrow
    // size), takes the picture when it is next painted.
    if (!isVisible() || visibleRegion().isEmpty()) return;
    bool whole = false;
    const PixelRect r = takePicture(whole);
    if (whole) {
        update();
    } else if (!r.empty()) {
        update(QRect(r.x, r.y, r.width, r.height));
    }
}

void PictureWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    present();
}

void PictureWidget::paintEvent(QPaintEvent* event) {
    // The picture shown is the one last presented, straight from the view's copy: one surface
    // pixel per logical pixel; a high-DPI screen repeats pixels, never smooths.
    // A picture changed since it was last presented (a paint before the first presentation, or
    // of a hidden widget) is taken now; what lies outside this paint's area follows.
    bool whole = false;
    const PixelRect r = takePicture(whole);
    if (isVisible() && !r.empty()) update(whole ? rect() : QRect(r.x, r.y, r.width, r.height));
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect picture(0, 0, shown_.width(), shown_.height());
    if (shown_.width() < width() || shown_.height() < height()) {
        painter.fillRect(rect(), toQColor(shown_.backColor()));
    }
    if (image_.isNull()) return;
    const QRect part = event->rect() & picture;
    if (!part.isEmpty()) painter.drawImage(part, image_, part);
}

void PictureWidget::mousePressEvent(QMouseEvent* event) {
    forwardMouse(box_.onMouseDown, mouseButtonCode(event->button()), event);
}

void PictureWidget::mouseMoveEvent(QMouseEvent* event) {
    forwardMouse(box_.onMouseMove, mouseButtonCode(event->buttons()), event);
}

void PictureWidget::mouseReleaseEvent(QMouseEvent* event) {
    forwardMouse(box_.onMouseUp, mouseButtonCode(event->button()), event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        box_.onClick) {
        box_.onClick();
    }
}

FormView::FormView(Form& form, std::function<void()> closeRequested)
    : QWidget(nullptr), form_(form), closeRequested_(std::move(closeRequested)) {
    setFont(japaneseFont(12));
    setMouseTracking(true); // moves over the background reach the form with no button held
    build();
    refresh();
}

void FormView::build() {
    items_.reserve(form_.controls().size());
    for (Control* c : form_.controls()) {
        Item item;
        item.control = c;
        switch (c->kind) {
        case ControlKind::PictureBox:
            item.widget = new PictureWidget(static_cast<PictureBox&>(*c), this);
            break;
        case ControlKind::Label: {
            auto* label = new QLabel(this);
            const auto& model = static_cast<const Label&>(*c);
            QPalette pal = label->palette();
            pal.setColor(QPalette::WindowText, toQColor(model.foreColor));
            pal.setColor(QPalette::Window, toQColor(model.backColor));
            label->setPalette(pal);
            label->setAutoFillBackground(!model.transparent);
            label->setMouseTracking(true); // card labels follow the pointer with no button
            label->installEventFilter(this);
            item.widget = label;
            break;
        }
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(this);
            box->setFocusPolicy(Qt::NoFocus); // Space belongs to the game, not to a box
            connect(box, &QCheckBox::clicked, this, [c, box] {
                static_cast<CheckBox&>(*c).value = box->isChecked() ? 1 : 0;
                if (c->onClick) c->onClick();
            });
            item.widget = box;
            break;
        }
        case ControlKind::OptionButton: {
            auto* option = new QRadioButton(this);
            option->setFocusPolicy(Qt::NoFocus);
            option->setAutoExclusive(false); // the model decides, see refresh
            connect(option, &QRadioButton::clicked, this, [this, c] {
                // Option buttons sharing a container exclude each other.
                for (Control* other : form_.controls()) {
                    if (other->kind == ControlKind::OptionButton &&
                        other->container == c->container) {
                        static_cast<OptionButton&>(*other).value = other == c;
                    }
                }
                if (c->onClick) c->onClick();
                refresh();
            });
            item.widget = option;
            break;
        }
        case ControlKind::Button: {
            auto* button = new QPushButton(this);
            button->setFocusPolicy(Qt::NoFocus);
            connect(button, &QPushButton::clicked, this, [c] {
                if (c->onClick) c->onClick();
            });
            item.widget = button;
            break;
        }
        case ControlKind::TextBox: {
            auto* text = new QPlainTextEdit(this);
            text->setReadOnly(static_cast<const TextBox&>(*c).locked);
            text->setFocusPolicy(Qt::NoFocus);
            item.widget = text;
            break;
        }
        case ControlKind::Frame: {
            auto* frame = new QGroupBox(this);
            frame->setMouseTracking(true);
            frame->installEventFilter(this);
            item.widget = frame;
            break;
        }
        }
        items_.push_back(std::move(item));
    }
    // Controls inside a frame are placed relative to it.
    for (Item& item : items_) {
        if (item.control->container == nullptr) continue;
        if (QWidget* parent = widgetFor(*item.control->container)) item.widget->setParent(parent);
    }
}

QWidget* FormView::widgetFor(const Control& control) const {
    for (const Item& item : items_) {
        if (item.control == &control) return item.widget;
    }
    return nullptr;
}

void FormView::refresh() {
    const int w = std::max(1, form_.scaleWidth());
    const int h = std::max(1, form_.scaleHeight());
    if (w != shownWidth_ || h != shownHeight_) {
        setFixedSize(w, h);
        shownWidth_ = w;
        shownHeight_ = h;
    }
    if (form_.caption != shownCaption_) {
        setWindowTitle(toQt(form_.caption));
        shownCaption_ = form_.caption;
    }
    for (Item& item : items_)
        refreshItem(item);
}

void FormView::refreshItem(Item& item) {
    Control& c = *item.control;
    QWidget* w = item.widget;
    if (c.left != item.left || c.top != item.top || c.width != item.width ||
        c.height != item.height) {
        w->setGeometry(c.left, c.top, std::max(0, c.width), std::max(0, c.height));
        item.left = c.left;
        item.top = c.top;
        item.width = c.width;
        item.height = c.height;
    }
    if (!item.shownOnce || c.visible != item.visible) {
        w->setVisible(c.visible);
        item.visible = c.visible;
        item.shownOnce = true;
    }
    if (c.enabled != item.enabled) {
        w->setEnabled(c.enabled);
        item.enabled = c.enabled;
    }
    if (c.caption != item.caption || !item.captionShown) {
        switch (c.kind) {
        case ControlKind::Label: static_cast<QLabel*>(w)->setText(toQt(c.caption)); break;
        case ControlKind::CheckBox: static_cast<QCheckBox*>(w)->setText(toQt(c.caption)); break;
        case ControlKind::OptionButton:
            static_cast<QRadioButton*>(w)->setText(toQt(c.caption));
            break;
        case ControlKind::Button: static_cast<QPushButton*>(w)->setText(toQt(c.caption)); break;
        case ControlKind::Frame: static_cast<QGroupBox*>(w)->setTitle(toQt(c.caption)); break;
        case ControlKind::TextBox: {
            auto* text = static_cast<QPlainTextEdit*>(w);
            text->setPlainText(toDisplayText(c.caption));
            // The newest line of a message log is the one to see.
            text->verticalScrollBar()->setValue(text->verticalScrollBar()->maximum());
            break;
        }
        case ControlKind::PictureBox: break;
        }
        item.caption = c.caption;
        item.captionShown = true;
    }
    switch (c.kind) {
    case ControlKind::CheckBox: {
        const int v = static_cast<CheckBox&>(c).value;
        if (v != item.value) {
            static_cast<QCheckBox*>(w)->setCheckState(v == 0   ? Qt::Unchecked
                                                      : v == 1 ? Qt::Checked
                                                               : Qt::PartiallyChecked);
            item.value = v;
        }
        break;
    }
    case ControlKind::OptionButton: {
        const int v = static_cast<OptionButton&>(c).value ? 1 : 0;
        if (v != item.value) {
            static_cast<QRadioButton*>(w)->setChecked(v != 0);
            item.value = v;
        }
        break;
    }
    case ControlKind::PictureBox: {
        const std::uint64_t g = static_cast<PictureBox&>(c).surface.generation();
        if (g != item.generation) {
            static_cast<PictureWidget*>(w)->present();
            item.generation = g;
        }
        break;
    }
    default: break;
    }
}

void FormView::repaintBox(const PictureBox& box) {
    for (Item& item : items_) {
        if (item.control == &box) {
            static_cast<PictureWidget*>(item.widget)->present();
            item.generation = box.surface.generation();
        }
    }
}

void FormView::mouseMoveEvent(QMouseEvent* event) {
    if (form_.onMouseMove) {
        const QPointF p = event->position();
        form_.onMouseMove(mouseButtonCode(event->buttons()), shiftMask(event->modifiers()),
                          static_cast<float>(p.x()), static_cast<float>(p.y()));
    }
    QWidget::mouseMoveEvent(event);
}

void FormView::closeEvent(QCloseEvent* event) {
    // The form's close query decides; a granted close hides this view from the window system.
    event->ignore();
    if (closeRequested_) closeRequested_();
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
    for (Item& item : items_) {
        if (item.widget != watched) continue;
        Control& c = *item.control;
        // A control with a handler of its own takes the event: it must not also reach the
        // container underneath (a card label's move is not a move over the stage).
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* m = static_cast<QMouseEvent*>(event);
            forwardMouse(c.onMouseDown, mouseButtonCode(m->button()), m);
            if (c.onMouseDown) return true;
            break;
        }
        case QEvent::MouseMove: {
            const auto* m = static_cast<QMouseEvent*>(event);
            forwardMouse(c.onMouseMove, mouseButtonCode(m->buttons()), m);
            if (c.onMouseMove) return true;
            break;
        }
        case QEvent::MouseButtonRelease: {
            const auto* m = static_cast<QMouseEvent*>(event);
            forwardMouse(c.onMouseUp, mouseButtonCode(m->button()), m);
            if (m->button() == Qt::LeftButton && c.onClick) c.onClick();
            if (c.onMouseUp || c.onClick) return true;
            break;
        }
        default: break;
        }
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace plat::qt
