// A form model shown as a real window: widgets mirror the model, events reach its handlers.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "QtTestApp.h"
#include "platform/InputEvent.h"
#include "platform/Seams.h"
#include "platform/qt/FormView.h"

namespace {

struct Event {
    std::string what;
    int button, shift;
    float x, y;
};

class SampleForm : public plat::Form {
  public:
    SampleForm() : plat::Form("frmSample") {
        caption = u"見本";
        widthTwips = (300 + 8) * 15;
        heightTwips = (200 + 23 + 8) * 15;
        add(pic);
        add(frame);
        add(attackOption);
        add(defendOption);
        add(characterBox);
        add(enlargeButton);
        add(positionLabel);
        add(messageLog);
        placeControls();
        recordEvents();
    }
    void placeControls() {
        pic.left = 10;
        pic.top = 10;
        pic.setSize(40, 20);
        frame.caption = u"枠";
        plat::place(frame, 100, 10, 150, 80);
        for (plat::OptionButton* o : {&attackOption, &defendOption})
            o->container = &frame;
        plat::place(attackOption, 10, 20, 60, 20);
        plat::place(defendOption, 10, 45, 60, 20);
        attackOption.caption = u"攻撃";
        defendOption.caption = u"防御";
        characterBox.caption = u"キャラ";
        plat::place(characterBox, 10, 100, 80, 20);
        enlargeButton.caption = u"＞";
        plat::place(enlargeButton, 10, 130, 60, 25);
        positionLabel.caption = u"1,2";
        plat::place(positionLabel, 100, 100, 50, 16);
        messageLog.caption = u"一行目\r\n二行目";
        plat::place(messageLog, 100, 130, 150, 60);
    }
    void recordEvents() {
        auto record = [this](const char* what) {
            return [this, what](int b, int s, float x, float y) {
                events.push_back({what, b, s, x, y});
            };
        };
        pic.onMouseDown = record("down");
        pic.onMouseMove = record("move");
        pic.onMouseUp = record("up");
        pic.onClick = [this] { events.push_back({"click", 0, 0, 0, 0}); };
        characterBox.onClick = [this] { ++boxClicks; };
        enlargeButton.onClick = [this] { ++buttonClicks; };
        positionLabel.onClick = [this] { ++labelClicks; };
    }
    plat::PictureBox pic{"pic"};
    plat::Frame frame{"fra"};
    plat::OptionButton attackOption{"opt", 0};
    plat::OptionButton defendOption{"opt", 1};
    plat::CheckBox characterBox{"chk"};
    plat::Button enlargeButton{"cmd"};
    plat::Label positionLabel{"lbl"};
    plat::TextBox messageLog{"txt"};
    std::vector<Event> events;
    int boxClicks = 0, buttonClicks = 0, labelClicks = 0;
};

template <typename W> W* as(plat::qt::FormView& v, const plat::Control& c) {
    W* w = dynamic_cast<W*>(v.widgetFor(c));
    EXPECT_NE(w, nullptr) << c.name;
    return w;
}

TEST(FormView, MirrorsEveryControlOfTheModel) {
    qtTestApp();
    SampleForm f;
    plat::qt::FormView view(f, {});
    EXPECT_EQ(view.size(), QSize(300, 200));
    EXPECT_EQ(view.windowTitle(), QString::fromUtf8("見本"));
    EXPECT_EQ(view.widgetFor(f.pic)->geometry(), QRect(10, 10, 40, 20));
    EXPECT_EQ(as<QGroupBox>(view, f.frame)->title(), QString::fromUtf8("枠"));
    EXPECT_EQ(view.widgetFor(f.defendOption)->parentWidget(), view.widgetFor(f.frame));
    EXPECT_EQ(view.widgetFor(f.defendOption)->geometry(), QRect(10, 45, 60, 20));
    EXPECT_EQ(as<QRadioButton>(view, f.attackOption)->text(), QString::fromUtf8("攻撃"));
    EXPECT_EQ(as<QCheckBox>(view, f.characterBox)->checkState(), Qt::Unchecked);
    EXPECT_EQ(as<QPushButton>(view, f.enlargeButton)->text(), QString::fromUtf8("＞"));
    EXPECT_EQ(as<QLabel>(view, f.positionLabel)->text(), QStringLiteral("1,2"));
    EXPECT_EQ(as<QPlainTextEdit>(view, f.messageLog)->toPlainText(),
              QString::fromUtf8("一行目\n二行目"));

    // Model changes show on the next refresh.
    f.positionLabel.caption = u"3,4";
    f.characterBox.value = 1;
    f.defendOption.value = true;
    f.enlargeButton.visible = false;
    f.widthTwips = (500 + 8) * 15;
    view.refresh();
    EXPECT_EQ(as<QLabel>(view, f.positionLabel)->text(), QStringLiteral("3,4"));
    EXPECT_EQ(as<QCheckBox>(view, f.characterBox)->checkState(), Qt::Checked);
    EXPECT_TRUE(as<QRadioButton>(view, f.defendOption)->isChecked());
    EXPECT_TRUE(view.widgetFor(f.enlargeButton)->isHidden());
    EXPECT_EQ(view.width(), 500);
}

TEST(FormView, ClicksReachTheModel) {
    qtTestApp();
    SampleForm f;
    plat::qt::FormView view(f, {});
    view.show();

    QTest::mouseClick(view.widgetFor(f.characterBox), Qt::LeftButton);
    EXPECT_EQ(f.characterBox.value, 1);
    EXPECT_EQ(f.boxClicks, 1);
    QTest::mouseClick(view.widgetFor(f.characterBox), Qt::LeftButton);
    EXPECT_EQ(f.characterBox.value, 0);

    QTest::mouseClick(view.widgetFor(f.enlargeButton), Qt::LeftButton);
    EXPECT_EQ(f.buttonClicks, 1);
    QTest::mouseClick(view.widgetFor(f.positionLabel), Qt::LeftButton);
    EXPECT_EQ(f.labelClicks, 1);
    int labelMoves = 0;
    f.positionLabel.onMouseMove = [&](int button, int, float, float) {
        EXPECT_EQ(button, 0);
        ++labelMoves;
    };
    QTest::mouseMove(view.widgetFor(f.positionLabel), QPoint(4, 4));
    EXPECT_EQ(labelMoves, 1) << "labels over a stage follow the pointer with no button";

    QTest::mouseClick(view.widgetFor(f.attackOption), Qt::LeftButton);
    EXPECT_TRUE(f.attackOption.value);
    EXPECT_FALSE(f.defendOption.value);
    QTest::mouseClick(view.widgetFor(f.defendOption), Qt::LeftButton);
    EXPECT_FALSE(f.attackOption.value);
    EXPECT_TRUE(f.defendOption.value);
    EXPECT_FALSE(as<QRadioButton>(view, f.attackOption)->isChecked());
}

// Every event of the window passes the one door a recording taps and a replay shuts.
TEST(FormView, EveryEventPassesTheTapWhichMayKeepItOut) {
    qtTestApp();
    SampleForm f;
    f.onKeyDown = [](int, int) { return true; };
    plat::qt::FormView view(f, [&] { plat::deliver(f, plat::InputEvent::close()); });
    view.show();
    struct Shut : plat::InputTap {
        std::vector<plat::InputEvent> seen;
        bool passes(plat::Form&, const plat::InputEvent& e) override {
            seen.push_back(e);
            return false;
        }
    } tap;
    plat::InputTap* const before = plat::setInputTap(&tap);
    QTest::mouseClick(view.widgetFor(f.characterBox), Qt::LeftButton);
    QTest::mouseClick(view.widgetFor(f.defendOption), Qt::LeftButton);
    QTest::mouseClick(view.widgetFor(f.enlargeButton), Qt::LeftButton);
    QTest::mouseClick(view.widgetFor(f.positionLabel), Qt::LeftButton);
    QTest::mouseClick(view.widgetFor(f.pic), Qt::LeftButton, {}, QPoint(3, 4));
    QTest::keyClick(&view, Qt::Key_Left);
    view.close();
    plat::setInputTap(before);

    using K = plat::InputKind;
    const std::vector<std::pair<K, std::string>> expected = {
        {K::Click, "chk"}, {K::Click, "opt"},     {K::Click, "cmd"},
        {K::Click, "lbl"}, {K::MouseDown, "pic"}, {K::MouseUp, "pic"},
        {K::Click, "pic"}, {K::KeyDown, ""},      {K::Close, ""}};
    std::vector<std::pair<K, std::string>> seen;
    for (const plat::InputEvent& e : tap.seen)
        seen.emplace_back(e.kind, e.control);
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(tap.seen[0].value, 1);
    EXPECT_EQ(tap.seen[1].index, 1);
    EXPECT_EQ(tap.seen[7].button, plat::vk::Left);
    // None reached the model, and the widgets show the model's values again.
    EXPECT_EQ(f.characterBox.value, 0);
    EXPECT_FALSE(f.defendOption.value);
    EXPECT_EQ(f.boxClicks + f.buttonClicks + f.labelClicks, 0);
    EXPECT_TRUE(f.events.empty());
    EXPECT_EQ(as<QCheckBox>(view, f.characterBox)->checkState(), Qt::Unchecked);
    EXPECT_FALSE(as<QRadioButton>(view, f.defendOption)->isChecked());
}

TEST(FormView, PictureMouseEventsCarryButtonShiftAndPosition) {
    qtTestApp();
    SampleForm f;
    plat::qt::FormView view(f, {});
    view.show();
    QWidget* pic = view.widgetFor(f.pic);

    QTest::mousePress(pic, Qt::RightButton, Qt::ShiftModifier, QPoint(5, 6));
    QTest::mouseRelease(pic, Qt::RightButton, Qt::ShiftModifier, QPoint(5, 6));
    QTest::mouseMove(pic, QPoint(12, 7));
    QTest::mouseClick(pic, Qt::LeftButton, Qt::ControlModifier, QPoint(3, 4));

    std::vector<std::string> order;
    for (const Event& e : f.events)
        order.push_back(e.what);
    const std::vector<std::string> expected = {"down", "up", "move", "down", "up", "click"};
    ASSERT_EQ(order, expected);
    EXPECT_EQ(f.events[0].button, plat::kRightButton);
    EXPECT_EQ(f.events[0].shift, 1);
    EXPECT_FLOAT_EQ(f.events[0].x, 5);
    EXPECT_FLOAT_EQ(f.events[0].y, 6);
    EXPECT_EQ(f.events[2].button, 0) << "a move with no button held still arrives";
    EXPECT_FLOAT_EQ(f.events[2].x, 12);
    EXPECT_EQ(f.events[3].button, plat::kLeftButton);
    EXPECT_EQ(f.events[3].shift, 2);
}

TEST(FormView, PicturesAreScaledByRepeatingPixelsNeverSmoothed) {
    qtTestApp();
    SampleForm f;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) {
            f.pic.surface.setPixel(x, y, (x + y) % 2 ? plat::rgb(255, 0, 0) : plat::rgb(0, 0, 255));
        }
    }
    plat::qt::FormView view(f, {});
    QWidget* pic = view.widgetFor(f.pic);
    QImage image(80, 40, QImage::Format_RGB32);
    image.setDevicePixelRatio(2.0);
    pic->render(&image);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 80; ++x) {
            const QRgb expected = ((x / 2 + y / 2) % 2) ? qRgb(255, 0, 0) : qRgb(0, 0, 255);
            ASSERT_EQ(image.pixel(x, y), expected) << x << "," << y;
        }
    }
}

} // namespace
