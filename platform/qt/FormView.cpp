#include "platform/qt/FormView.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QStandardPaths>
#include <cmath>
#include <cstdio>

#include "platform/InputEvent.h"
#include "platform/qt/KeyTable.h"
#include "platform/qt/QtText.h"

namespace plat::qt {

namespace {

QString toQt(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// A caption as the player reads it: the model keeps the original, the form's name is the
// catalog's context for it.
QString shown(const Form& form, const std::u16string& caption) {
    if (caption.empty()) return {};
    return QCoreApplication::translate(form.name.c_str(), toQt(caption).toUtf8().constData());
}

// Rows of a list line up in columns; Japanese names fall back to a font that has them.
QFont rowFont(int scale) {
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(11 * scale);
    return fixed;
}

QColor toQColor(Color c) {
    return QColor::fromRgb(c & 0xFFFFFFu);
}

// Hands a mouse event over a control to the form when the control has a handler for it, and
// says whether it has.
bool forwardMouse(Form& form, Control& c, InputKind kind, int button, const QMouseEvent* event,
                  int scale) {
    const auto& handler = kind == InputKind::MouseDown   ? c.onMouseDown
                          : kind == InputKind::MouseMove ? c.onMouseMove
                                                         : c.onMouseUp;
    if (!handler) return false;
    const QPointF pos = event->position();
    deliver(form, InputEvent::mouse(kind, c, button, shiftMask(event->modifiers()),
                                    toFormPixel(pos.x(), scale), toFormPixel(pos.y(), scale)));
    return true;
}

// A surface's pixels as an image of the same size (a view of them where the layout allows).
QImage imageOf(const Surface& s) {
    if (!s.isMono()) {
        return QImage(reinterpret_cast<const uchar*>(s.data()), s.width(), s.height(),
                      static_cast<qsizetype>(s.width()) * 4, QImage::Format_RGB32);
    }
    QImage image(s.width(), s.height(), QImage::Format_RGB32);
    for (int y = 0; y < s.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < s.width(); ++x)
            line[x] = 0xFF000000u | s.pixel(x, y);
    }
    return image;
}

// <folder>/<name>-YYYYMMDD-HHMMSS.png; a second shot in the same second gets -2, -3, ... so
// that no earlier picture is overwritten.
QString freeShotPath(const QString& folder, const QString& name) {
    const QString stem = name + QLatin1Char('-') +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = folder + QLatin1Char('/') + stem + QStringLiteral(".png");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder + QLatin1Char('/') + stem + QStringLiteral("-%1.png").arg(n);
    return path;
}

} // namespace

float toFormPixel(qreal widgetPos, int scale) {
    // The form pixel under the pointer: a screen pixel inside a zoomed pixel belongs to it.
    return static_cast<float>(scale <= 1 ? widgetPos : std::floor(widgetPos / scale));
}

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

PictureWidget::PictureWidget(Form& form, PictureBox& box, QWidget* parent)
    : QWidget(parent), form_(form), box_(box) {
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
    // An unchanged picture is settled before the region is worked out, which allocates.
    if (!isVisible() || shown_.isCurrent(box_.surface) || visibleRegion().isEmpty()) return;
    bool whole = false;
    const PixelRect r = takePicture(whole);
    if (whole) {
        update();
    } else if (!r.empty()) {
        update(onWidget(r));
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
    if (isVisible() && !r.empty()) update(whole ? rect() : onWidget(r));
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect picture(0, 0, shown_.width() * scale_, shown_.height() * scale_);
    if (picture.width() < width() || picture.height() < height()) {
        painter.fillRect(rect(), toQColor(shown_.backColor()));
    }
    if (image_.isNull()) return;
    // One surface pixel per scale x scale logical pixels; zoom and high-DPI screens repeat
    // pixels, never smooth them. Only the surface pixels under the paint's area are drawn.
    const QRect part = event->rect() & picture;
    if (part.isEmpty()) return;
    const int x0 = part.left() / scale_, y0 = part.top() / scale_;
    const int x1 = (part.right() + scale_) / scale_, y1 = (part.bottom() + scale_) / scale_;
    painter.drawImage(QRect(x0 * scale_, y0 * scale_, (x1 - x0) * scale_, (y1 - y0) * scale_),
                      image_, QRect(x0, y0, x1 - x0, y1 - y0));
}

void PictureWidget::mousePressEvent(QMouseEvent* event) {
    forwardMouse(form_, box_, InputKind::MouseDown, mouseButtonCode(event->button()), event,
                 scale_);
}

void PictureWidget::mouseMoveEvent(QMouseEvent* event) {
    forwardMouse(form_, box_, InputKind::MouseMove, mouseButtonCode(event->buttons()), event,
                 scale_);
}

void PictureWidget::mouseReleaseEvent(QMouseEvent* event) {
    forwardMouse(form_, box_, InputKind::MouseUp, mouseButtonCode(event->button()), event, scale_);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        box_.onClick) {
        deliver(form_, InputEvent::click(box_));
    }
}

FormView::FormView(Form& form, std::function<void()> closeRequested, Display display)
    : QWidget(nullptr), form_(form), closeRequested_(std::move(closeRequested)),
      display_(std::move(display)) {
    display_.zoom = std::clamp(display_.zoom, Display::kMinZoom, Display::kMaxZoom);
    setFont(japaneseFont(12));
    setMouseTracking(true); // moves over the background reach the form with no button held
    titleNoteTimer_.setSingleShot(true);
    connect(&titleNoteTimer_, &QTimer::timeout, this, [this] {
        titleNote_.clear();
        showTitle();
    });
    build();
    for (const Control* c : form_.controls()) {
        if (c->kind == ControlKind::PictureBox && c->name == display_.gameView) gameView_ = c;
    }
    relayout();
    refresh();
}

void FormView::build() {
    items_.reserve(form_.controls().size());
    for (Control* c : form_.controls()) {
        Item item;
        item.control = c;
        item.widget = makeWidget(*c, items_.size());
        items_.push_back(std::move(item));
    }
    // Controls inside a frame are placed relative to it.
    for (Item& item : items_) {
        if (item.control->container == nullptr) continue;
        if (QWidget* parent = widgetFor(*item.control->container)) item.widget->setParent(parent);
    }
}

QWidget* FormView::makeWidget(Control& c, std::size_t at) {
    switch (c.kind) {
    case ControlKind::PictureBox:
        return new PictureWidget(form_, static_cast<PictureBox&>(c), this);
    case ControlKind::Label: return makeLabel(static_cast<const Label&>(c));
    case ControlKind::CheckBox: return makeCheckBox(c, at);
    case ControlKind::OptionButton: return makeOptionButton(c, at);
    case ControlKind::Button: return makeButton(c);
    case ControlKind::TextBox: {
        auto* text = new QPlainTextEdit(this);
        text->setReadOnly(static_cast<const TextBox&>(c).locked);
        text->setFocusPolicy(Qt::NoFocus);
        return text;
    }
    case ControlKind::ListBox: return makeListBox(static_cast<ListBox&>(c), at);
    case ControlKind::Frame: {
        auto* frame = new QGroupBox(this);
        frame->setMouseTracking(true);
        frame->installEventFilter(this);
        return frame;
    }
    }
    return nullptr;
}

QWidget* FormView::makeLabel(const Label& model) {
    auto* label = new QLabel(this);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, toQColor(model.foreColor));
    pal.setColor(QPalette::Window, toQColor(model.backColor));
    label->setPalette(pal);
    label->setAutoFillBackground(!model.transparent);
    label->setMouseTracking(true); // card labels follow the pointer with no button
    label->installEventFilter(this);
    return label;
}

// A box or option button ticks itself when clicked; the model decides (a replay keeps the click
// out), and the widget then shows the model's value again.
void FormView::showModelValue(std::size_t at) {
    items_[at].value = -1;
    refresh();
}

QWidget* FormView::makeCheckBox(Control& c, std::size_t at) {
    auto* box = new QCheckBox(this);
    box->setFocusPolicy(Qt::NoFocus); // Space belongs to the game, not to a box
    connect(box, &QCheckBox::clicked, this, [this, &c, box, at] {
        deliver(form_, InputEvent::click(c, box->isChecked() ? 1 : 0));
        showModelValue(at);
    });
    return box;
}

QWidget* FormView::makeOptionButton(Control& c, std::size_t at) {
    auto* option = new QRadioButton(this);
    option->setFocusPolicy(Qt::NoFocus);
    option->setAutoExclusive(false); // the model decides, see refresh
    connect(option, &QRadioButton::clicked, this, [this, &c, at] {
        deliver(form_, InputEvent::click(c));
        showModelValue(at);
    });
    return option;
}

QWidget* FormView::makeButton(Control& c) {
    auto* button = new QPushButton(this);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QPushButton::clicked, this, [this, &c] {
        if (!c.tool) {
            deliver(form_, InputEvent::click(c));
        } else if (c.onClick) {
            c.onClick();
            refresh();
        }
    });
    return button;
}

// A list box is a tool's control: its clicks go to the handler straight (Control::tool).
QWidget* FormView::makeListBox(ListBox& c, std::size_t at) {
    auto* list = new QListWidget(this);
    list->setFocusPolicy(Qt::NoFocus);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    list->setFont(rowFont(scale_));
    connect(list, &QListWidget::itemClicked, this, [this, &c, list, at](QListWidgetItem* item) {
        if (c.onRowClick) c.onRowClick(list->row(item));
        showModelValue(at); // the model's selection stands, not the clicked row
    });
    return list;
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
        shownWidth_ = w;
        shownHeight_ = h;
        relayout(); // the window's size follows the form's at the current factor
    }
    if (form_.caption != shownCaption_) {
        shownCaption_ = form_.caption;
        showTitle();
    }
    for (Item& item : items_)
        refreshItem(item);
}

void FormView::showTitle() {
    QString title = shown(form_, form_.caption);
    if (!titleNote_.isEmpty()) title += QStringLiteral(" - ") + titleNote_;
    setWindowTitle(title);
}

void FormView::relayout() {
    const int w = std::max(1, form_.scaleWidth());
    const int h = std::max(1, form_.scaleHeight());
    if (!display_.fullScreen) {
        scale_ = display_.zoom;
        origin_ = QPoint(0, 0);
        setFixedSize(w * scale_, h * scale_);
    } else {
        // The largest whole factor at which the shown part fits the screen, centred.
        const QRect part =
            gameView_ != nullptr && display_.gameViewAlone
                ? QRect(gameView_->left, gameView_->top, std::max(1, gameView_->width),
                        std::max(1, gameView_->height))
                : QRect(0, 0, w, h);
        QSize room = size();
        if (QScreen* s = screen()) room = s->size();
        scale_ = std::max(1, std::min(room.width() / part.width(), room.height() / part.height()));
        origin_ = QPoint((room.width() - part.width() * scale_) / 2 - part.left() * scale_,
                         (room.height() - part.height() * scale_) / 2 - part.top() * scale_);
    }
    if (scale_ != shownScale_) {
        setFont(japaneseFont(12 * scale_)); // controls and texts grow with the pictures
        shownScale_ = scale_;
    }
    for (Item& item : items_) {
        item.left = item.top = item.width = item.height = -1; // placed again below
        item.shownOnce = false;
        if (auto* pic = dynamic_cast<PictureWidget*>(item.widget)) pic->setScale(scale_);
        if (auto* list = qobject_cast<QListWidget*>(item.widget)) list->setFont(rowFont(scale_));
        refreshItem(item);
    }
    update();
}

bool FormView::shownAtAll(const Control& c) const {
    if (!display_.fullScreen || !display_.gameViewAlone || gameView_ == nullptr) return true;
    for (const Control* p = &c; p != nullptr; p = p->container) {
        if (p == gameView_) return true;
    }
    return false;
}

void FormView::refreshItem(Item& item) {
    placeItem(item);
    const Control& c = *item.control;
    const bool visible = c.visible && shownAtAll(c);
    if (!item.shownOnce || visible != item.visible) {
        item.widget->setVisible(visible);
        item.visible = visible;
        item.shownOnce = true;
    }
    if (c.enabled != item.enabled) {
        item.widget->setEnabled(c.enabled);
        item.enabled = c.enabled;
    }
    if (c.caption != item.caption || !item.captionShown) {
        showCaption(c, item.widget, shown(form_, c.caption));
        item.caption = c.caption;
        item.captionShown = true;
    }
    showValue(item);
}

void FormView::placeItem(Item& item) const {
    const Control& c = *item.control;
    if (c.left == item.left && c.top == item.top && c.width == item.width &&
        c.height == item.height) {
        return;
    }
    // Controls inside a frame are placed relative to it; the others from the origin.
    const QPoint at = c.container != nullptr ? QPoint(0, 0) : origin_;
    item.widget->setGeometry(at.x() + c.left * scale_, at.y() + c.top * scale_,
                             std::max(0, c.width) * scale_, std::max(0, c.height) * scale_);
    item.left = c.left;
    item.top = c.top;
    item.width = c.width;
    item.height = c.height;
}

void FormView::showCaption(const Control& c, QWidget* w, const QString& text) {
    switch (c.kind) {
    case ControlKind::Label: static_cast<QLabel*>(w)->setText(text); break;
    case ControlKind::CheckBox: static_cast<QCheckBox*>(w)->setText(text); break;
    case ControlKind::OptionButton: static_cast<QRadioButton*>(w)->setText(text); break;
    case ControlKind::Button: static_cast<QPushButton*>(w)->setText(text); break;
    case ControlKind::Frame: static_cast<QGroupBox*>(w)->setTitle(text); break;
    case ControlKind::TextBox: {
        // A text box shows what the program wrote into it, already in the player's language.
        auto* text = static_cast<QPlainTextEdit*>(w);
        text->setPlainText(withLineFeeds(c.caption));
        // The newest line of a message log is the one to see.
        text->verticalScrollBar()->setValue(text->verticalScrollBar()->maximum());
        break;
    }
    case ControlKind::PictureBox:
    case ControlKind::ListBox: break;
    }
}

void FormView::showValue(Item& item) {
    Control& c = *item.control;
    QWidget* w = item.widget;
    switch (c.kind) {
    case ControlKind::CheckBox: {
        const int v = static_cast<CheckBox&>(c).value;
        if (v == item.value) break;
        static_cast<QCheckBox*>(w)->setCheckState(v == 0   ? Qt::Unchecked
                                                  : v == 1 ? Qt::Checked
                                                           : Qt::PartiallyChecked);
        item.value = v;
        break;
    }
    case ControlKind::OptionButton: {
        const int v = static_cast<OptionButton&>(c).value ? 1 : 0;
        if (v == item.value) break;
        static_cast<QRadioButton*>(w)->setChecked(v != 0);
        item.value = v;
        break;
    }
    case ControlKind::Button: {
        const int v = static_cast<Button&>(c).highlighted ? 1 : 0;
        if (v == item.value) break;
        showHighlight(w, v != 0);
        item.value = v;
        break;
    }
    case ControlKind::ListBox: showRows(static_cast<const ListBox&>(c), item); break;
    case ControlKind::PictureBox: {
        const std::uint64_t g = static_cast<PictureBox&>(c).surface.generation();
        if (g == item.generation) break;
        static_cast<PictureWidget*>(w)->present();
        item.generation = g;
        break;
    }
    default: break;
    }
}

// Only rows whose text changed are set again: a list repaints what it is told to.
void FormView::showRows(const ListBox& model, Item& item) {
    auto* list = static_cast<QListWidget*>(item.widget);
    if (model.version() != item.generation) {
        const auto& rows = model.rows();
        const int count = static_cast<int>(rows.size());
        while (list->count() > count)
            delete list->takeItem(list->count() - 1);
        for (int k = 0; k < count; ++k) {
            const QString text = toQt(rows[static_cast<std::size_t>(k)]);
            if (k >= list->count()) {
                list->addItem(text);
            } else if (list->item(k)->text() != text) {
                list->item(k)->setText(text);
            }
        }
        item.generation = model.version();
        item.value = -2; // the selection's row may hold another line now
    }
    if (model.selected == item.value) return;
    if (model.selected >= 0 && model.selected < list->count()) {
        list->setCurrentRow(model.selected);
        list->scrollToItem(list->item(model.selected), QAbstractItemView::PositionAtCenter);
    } else {
        list->clearSelection();
    }
    item.value = model.selected;
}

// The button the keyboard cursor rests on wears the selection colours.
void FormView::showHighlight(QWidget* button, bool on) const {
    QPalette pal = palette();
    if (on) {
        pal.setColor(QPalette::Button, pal.color(QPalette::Highlight));
        pal.setColor(QPalette::ButtonText, pal.color(QPalette::HighlightedText));
    }
    button->setPalette(pal);
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
        const QPointF p = event->position() - QPointF(origin_);
        deliver(form_, InputEvent::formMouseMove(
                           mouseButtonCode(event->buttons()), shiftMask(event->modifiers()),
                           toFormPixel(p.x(), scale_), toFormPixel(p.y(), scale_)));
    }
    QWidget::mouseMoveEvent(event);
}

void FormView::present() {
    if (display_.fullScreen) {
        showFullScreen();
    } else {
        showNormal();
    }
    relayout();
}

void FormView::setZoom(int zoom) {
    zoom = std::clamp(zoom, Display::kMinZoom, Display::kMaxZoom);
    if (zoom == display_.zoom) return;
    display_.zoom = zoom;
    if (display_.zoomChanged) display_.zoomChanged(zoom);
    if (!display_.fullScreen) relayout();
}

void FormView::setFullScreenMode(bool on) {
    if (on == display_.fullScreen) return;
    display_.fullScreen = on;
    if (on) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    if (isVisible()) {
        present();
    } else {
        relayout();
    }
}

void FormView::paintEvent(QPaintEvent*) {
    if (!display_.fullScreen) return; // the window's own background
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (display_.gameViewAlone && gameView_ != nullptr) return;
    // The whole window: its own background inside the black border.
    painter.fillRect(QRect(origin_, QSize(form_.scaleWidth(), form_.scaleHeight()) * scale_),
                     palette().color(QPalette::Window));
}

void FormView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (display_.fullScreen) relayout();
}

void FormView::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    const int key = event->key();
    if (ctrl && (key == Qt::Key_Plus || key == Qt::Key_Equal)) {
        setZoom(display_.zoom + 1);
    } else if (ctrl && key == Qt::Key_Minus) {
        setZoom(display_.zoom - 1);
    } else if (ctrl && key == Qt::Key_0) {
        setZoom(1);
    } else if (key == Qt::Key_F11 && !event->isAutoRepeat()) {
        setFullScreenMode(!display_.fullScreen);
    } else if (key == Qt::Key_F12 && !event->isAutoRepeat()) {
        saveScreenshot();
    } else if (key >= Qt::Key_F1 && key <= Qt::Key_F10) {
        // A tool's key: never the game's input, so it is not delivered as one.
        if (!event->isAutoRepeat() && form_.onFunctionKey &&
            form_.onFunctionKey(key - Qt::Key_F1 + 1))
            refresh();
    } else {
        const int code = virtualKeyFor(key, event->modifiers().testFlag(Qt::KeypadModifier),
                                       event->nativeVirtualKey());
        // A held key's repeats stay with the window: Enter held down must not both open a
        // menu and choose from it.
        const bool used = code != 0 && !event->isAutoRepeat() && form_.onKeyDown &&
                          deliver(form_, InputEvent::keyDown(code, shiftMask(event->modifiers())));
        // Esc leaves fullscreen unless the form had a use for it (closing a menu).
        if (!used && key == Qt::Key_Escape && display_.fullScreen) {
            setFullScreenMode(false);
        } else if (!used) {
            QWidget::keyPressEvent(event);
        }
        if (used) refresh();
    }
}

QString FormView::saveScreenshot() {
    const auto* box = static_cast<const PictureBox*>(gameView_);
    QString folder = display_.picturesFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    folder += QLatin1Char('/') + display_.programTitle;
    QString path;
    QString why;
    if (box == nullptr || box->surface.isNull()) {
        why = QStringLiteral("this window has no game view");
    } else if (!QDir().mkpath(folder)) {
        why = QStringLiteral("cannot create ") + folder;
    } else {
        path = freeShotPath(folder, display_.programName);
        if (!imageOf(box->surface).save(path, "PNG")) {
            why = QStringLiteral("cannot write ") + path;
            path.clear();
        }
    }
    if (path.isEmpty()) {
        std::fprintf(stderr, "%s: screenshot failed: %s\n", qPrintable(display_.programName),
                     qPrintable(why));
        titleNote_ = QStringLiteral("screenshot failed");
    } else {
        std::printf("%s\n", qPrintable(path));
        std::fflush(stdout);
        titleNote_ = path;
    }
    showTitle();
    titleNoteTimer_.start(2000);
    return path;
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
            if (forwardMouse(form_, c, InputKind::MouseDown, mouseButtonCode(m->button()), m,
                             scale_))
                return true;
            break;
        }
        case QEvent::MouseMove: {
            const auto* m = static_cast<QMouseEvent*>(event);
            if (forwardMouse(form_, c, InputKind::MouseMove, mouseButtonCode(m->buttons()), m,
                             scale_))
                return true;
            break;
        }
        case QEvent::MouseButtonRelease: {
            const auto* m = static_cast<QMouseEvent*>(event);
            const bool up =
                forwardMouse(form_, c, InputKind::MouseUp, mouseButtonCode(m->button()), m, scale_);
            if (m->button() == Qt::LeftButton && c.onClick) deliver(form_, InputEvent::click(c));
            if (up || c.onClick) return true;
            break;
        }
        default: break;
        }
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace plat::qt
