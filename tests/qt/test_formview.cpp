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
        add(optA);
        add(optB);
        add(chk);
        add(cmd);
        add(lbl);
        add(txt);
        pic.left = 10;
        pic.top = 10;
        pic.setSize(40, 20);
        frame.caption = u"枠";
        frame.left = 100;
        frame.top = 10;
        frame.width = 150;
        frame.height = 80;
        for (plat::OptionButton* o : {&optA, &optB}) {
            o->container = &frame;
            o->width = 60;
            o->height = 20;
            o->left = 10;
        }
        optA.top = 20;
        optB.top = 45;
        optA.caption = u"攻撃";
        optB.caption = u"防御";
        chk.caption = u"キャラ";
        chk.left = 10;
        chk.top = 100;
        chk.width = 80;
        chk.height = 20;
        cmd.caption = u"＞";
        cmd.left = 10;
        cmd.top = 130;
        cmd.width = 60;
        cmd.height = 25;
        lbl.caption = u"1,2";
        lbl.left = 100;
        lbl.top = 100;
        lbl.width = 50;
        lbl.height = 16;
        txt.caption = u"一行目\r\n二行目";
        txt.left = 100;
        txt.top = 130;
        txt.width = 150;
        txt.height = 60;
        auto record = [this](const char* what) {
            return [this, what](int b, int s, float x, float y) {
                events.push_back({what, b, s, x, y});
            };
        };
        pic.onMouseDown = record("down");
        pic.onMouseMove = record("move");
        pic.onMouseUp = record("up");
        pic.onClick = [this] { events.push_back({"click", 0, 0, 0, 0}); };
        chk.onClick = [this] { ++chkClicks; };
        cmd.onClick = [this] { ++cmdClicks; };
        lbl.onClick = [this] { ++lblClicks; };
    }
    plat::PictureBox pic{"pic"};
    plat::Frame frame{"fra"};
    plat::OptionButton optA{"opt", 0};
    plat::OptionButton optB{"opt", 1};
    plat::CheckBox chk{"chk"};
    plat::Button cmd{"cmd"};
    plat::Label lbl{"lbl"};
    plat::TextBox txt{"txt"};
    std::vector<Event> events;
    int chkClicks = 0, cmdClicks = 0, lblClicks = 0;
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
    EXPECT_EQ(view.widgetFor(f.optB)->parentWidget(), view.widgetFor(f.frame));
    EXPECT_EQ(view.widgetFor(f.optB)->geometry(), QRect(10, 45, 60, 20));
    EXPECT_EQ(as<QRadioButton>(view, f.optA)->text(), QString::fromUtf8("攻撃"));
    EXPECT_EQ(as<QCheckBox>(view, f.chk)->checkState(), Qt::Unchecked);
    EXPECT_EQ(as<QPushButton>(view, f.cmd)->text(), QString::fromUtf8("＞"));
    EXPECT_EQ(as<QLabel>(view, f.lbl)->text(), QStringLiteral("1,2"));
    EXPECT_EQ(as<QPlainTextEdit>(view, f.txt)->toPlainText(), QString::fromUtf8("一行目\n二行目"));

    // Model changes show on the next refresh.
    f.lbl.caption = u"3,4";
    f.chk.value = 1;
    f.optB.value = true;
    f.cmd.visible = false;
    f.widthTwips = (500 + 8) * 15;
    view.refresh();
    EXPECT_EQ(as<QLabel>(view, f.lbl)->text(), QStringLiteral("3,4"));
    EXPECT_EQ(as<QCheckBox>(view, f.chk)->checkState(), Qt::Checked);
    EXPECT_TRUE(as<QRadioButton>(view, f.optB)->isChecked());
    EXPECT_TRUE(view.widgetFor(f.cmd)->isHidden());
    EXPECT_EQ(view.width(), 500);
}

TEST(FormView, ClicksReachTheModel) {
    qtTestApp();
    SampleForm f;
    plat::qt::FormView view(f, {});
    view.show();

    QTest::mouseClick(view.widgetFor(f.chk), Qt::LeftButton);
    EXPECT_EQ(f.chk.value, 1);
    EXPECT_EQ(f.chkClicks, 1);
    QTest::mouseClick(view.widgetFor(f.chk), Qt::LeftButton);
    EXPECT_EQ(f.chk.value, 0);

    QTest::mouseClick(view.widgetFor(f.cmd), Qt::LeftButton);
    EXPECT_EQ(f.cmdClicks, 1);
    QTest::mouseClick(view.widgetFor(f.lbl), Qt::LeftButton);
    EXPECT_EQ(f.lblClicks, 1);
    int labelMoves = 0;
    f.lbl.onMouseMove = [&](int button, int, float, float) {
        EXPECT_EQ(button, 0);
        ++labelMoves;
    };
    QTest::mouseMove(view.widgetFor(f.lbl), QPoint(4, 4));
    EXPECT_EQ(labelMoves, 1) << "labels over a stage follow the pointer with no button";

    QTest::mouseClick(view.widgetFor(f.optA), Qt::LeftButton);
    EXPECT_TRUE(f.optA.value);
    EXPECT_FALSE(f.optB.value);
    QTest::mouseClick(view.widgetFor(f.optB), Qt::LeftButton);
    EXPECT_FALSE(f.optA.value);
    EXPECT_TRUE(f.optB.value);
    EXPECT_FALSE(as<QRadioButton>(view, f.optA)->isChecked());
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
    QTest::mouseClick(view.widgetFor(f.chk), Qt::LeftButton);
    QTest::mouseClick(view.widgetFor(f.optB), Qt::LeftButton);
    QTest::mouseClick(view.widgetFor(f.cmd), Qt::LeftButton);
    QTest::mouseClick(view.widgetFor(f.lbl), Qt::LeftButton);
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
    EXPECT_EQ(f.chk.value, 0);
    EXPECT_FALSE(f.optB.value);
    EXPECT_EQ(f.chkClicks + f.cmdClicks + f.lblClicks, 0);
    EXPECT_TRUE(f.events.empty());
    EXPECT_EQ(as<QCheckBox>(view, f.chk)->checkState(), Qt::Unchecked);
    EXPECT_FALSE(as<QRadioButton>(view, f.optB)->isChecked());
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
