// The Qt window system: forms shown and unloaded through their close query, modal boxes,
// waits, and the field window's close handshake on a real window.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "QtTestApp.h"
#include "field/MainLoop.h"
#include "field/MainWindow.h"
#include "platform/qt/QtWindowSystem.h"
#include "platform/testing/TestSeams.h"

namespace {

class AskingForm : public plat::Form {
  public:
    AskingForm() : plat::Form("frmAsk") {
        widthTwips = 200 * 15;
        heightTwips = 150 * 15;
    }
    void queryUnload(bool& cancel) override {
        ++queries;
        cancel = refuse;
    }
    void unloaded() override { ++unloads; }
    bool refuse = true;
    int queries = 0, unloads = 0;
};

TEST(QtWindowSystem, CloseAsksTheFormAndAGrantedCloseHidesTheWindow) {
    qtTestApp();
    plat::qt::QtWindowSystem ws;
    AskingForm form;
    ws.show(form);
    plat::qt::FormView* view = ws.viewFor(form);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(form.loaded);
    EXPECT_TRUE(view->isVisible());

    view->close();
    EXPECT_EQ(form.queries, 1);
    EXPECT_TRUE(form.loaded);
    EXPECT_TRUE(view->isVisible());

    form.refuse = false;
    view->close();
    EXPECT_FALSE(form.loaded);
    EXPECT_EQ(form.unloads, 1);
    EXPECT_EQ(ws.viewFor(form), nullptr);
    EXPECT_TRUE(ws.unload(form)) << "unloading an unloaded form is harmless";
    EXPECT_EQ(form.queries, 2);
}

TEST(QtWindowSystem, MessageBoxesShowTheirTextAndReturnTheAnswer) {
    qtTestApp();
    plat::qt::QtWindowSystem ws;
    QString seenText;
    bool critical = false;
    int buttonCount = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seenText = box->text();
        critical = box->icon() == QMessageBox::Critical;
        buttonCount = static_cast<int>(box->buttons().size());
        box->button(QMessageBox::No)->click();
    });
    const auto answer = ws.messageBox(u"一行目\r\r二行目", u"", plat::MsgButtons::YesNoCancel,
                                      plat::MsgIcon::Critical);
    EXPECT_EQ(answer, plat::MsgResult::No);
    EXPECT_EQ(seenText, QString::fromUtf8("一行目\n\n二行目"));
    EXPECT_TRUE(critical);
    EXPECT_EQ(buttonCount, 3);

    QTimer::singleShot(0, [] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            QTest::keyClick(box, Qt::Key_Escape);
        }
    });
    EXPECT_EQ(ws.messageBox(u"x", u"t", plat::MsgButtons::YesNoCancel, plat::MsgIcon::None),
              plat::MsgResult::Cancel);
}

TEST(QtWindowSystem, WaitEndsWhenAnEventArrives) {
    qtTestApp();
    plat::qt::QtWindowSystem ws;
    bool delivered = false;
    QTimer::singleShot(0, [&] { delivered = true; });
    ws.waitEvents(600000);
    EXPECT_TRUE(delivered);
}

TEST(FieldWindowOnQt, CloseButtonEndsTheProgramAfterTheFrameAndEnlargeShowsEverything) {
    qtTestApp();
    plat::testing::TestServices ts;
    plat::qt::QtWindowSystem qt;
    VirtualTimeWindows windows(qt, ts.clock);
    plat::Services sv{ts.clock, ts.keyboard, windows, ts.process, ts.text, ts.random};
    field::MainWindow form(sv);
    field::World world;
    field::startUp(form, world, sv);
    plat::qt::FormView* view = qt.viewFor(form);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->size(), QSize(533, 239));

    field::FieldLoop loop(form, world, sv);
    ASSERT_TRUE(loop.runOneFrame());
    QTest::mouseClick(view->widgetFor(form.enlargeButton), Qt::LeftButton);
    EXPECT_EQ(view->size(), QSize(form.scaleWidth(), form.scaleHeight()));
    EXPECT_GT(view->width(), 800);

    // The user clicks close twice; both requests wait in the queue for the frame's waits.
    QCoreApplication::postEvent(view, new QCloseEvent);
    QCoreApplication::postEvent(view, new QCloseEvent);
    EXPECT_FALSE(loop.runOneFrame());
    EXPECT_TRUE(form.loaded);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(form.closeState, field::kCloseRequested);

    loop.finish();
    EXPECT_FALSE(form.loaded);
    EXPECT_EQ(qt.viewFor(form), nullptr);
    EXPECT_FALSE(view->isVisible());
    EXPECT_EQ(form.closeState, field::kFormsUnloaded);
}

} // namespace
