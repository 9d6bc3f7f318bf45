// The script inspector on the real window, on the virtual clock: a breakpoint set by clicking a
// line of the runaway's script stops the game there with that run selected, and Step Command
// moves the marked line on by one command with the register it wrote shown anew.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "QtTestApp.h"
#include "field/MainLoop.h"
#include "field/MainWindow.h"
#include "field/ScriptDebugger.h"
#include "platform/PausableClock.h"

namespace {

QListWidget* listOf(plat::qt::FormView& view, const plat::ListBox& box) {
    return static_cast<QListWidget*>(view.widgetFor(box));
}

// The first row holding `text`, -1 when none does.
int rowWith(QListWidget* list, const QString& text) {
    for (int k = 0; k < list->count(); ++k) {
        if (list->item(k)->text().contains(text)) return k;
    }
    return -1;
}

void clickRow(QListWidget* list, int row) {
    ASSERT_GE(row, 0);
    const QRect at = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at.center());
}

QString currentText(QListWidget* list) {
    return list->currentItem() ? list->currentItem()->text() : QString();
}

// The built-in demo in a real window on the virtual clock, with a debugger and the panel.
struct InspectedDemo {
    bool app = (qtTestApp(), true); // the application before any window
    plat::testing::TestServices ts;
    plat::qt::QtWindowSystem qt;
    VirtualTimeWindows windows{qt, ts.clock};
    plat::PausableClock clock{ts.clock, windows};
    plat::Services sv{clock, ts.keyboard, windows, ts.process, ts.text, ts.random};
    field::MainWindow form{sv};
    field::World world;
    field::ScriptDebugger debugger{sv};
    field::PlayAids aids;
    InspectedDemo() {
        sv.pause = &clock;
        aids.debugger = &debugger;
        field::inspectPlay(form, debugger, aids);
        field::startUp(form, world, sv);
    }
};

TEST(InspectorPanel, APauseOpensTheClosedPanel) {
    InspectedDemo demo;
    field::FieldLoop loop(demo.form, demo.world, demo.sv, demo.aids);
    ASSERT_TRUE(loop.runOneFrame());
    ASSERT_FALSE(demo.form.inspector.isOpen());
    bool openWhenPaused = false;
    auto shown = demo.debugger.onPaused;
    demo.debugger.onPaused = [&] {
        shown();
        openWhenPaused = demo.form.inspector.isOpen();
        demo.debugger.resume();
    };
    demo.debugger.pause();
    loop.runFrames(2);
    EXPECT_TRUE(openWhenPaused);
    loop.finish();
}

TEST(InspectorPanel, BreakpointByClickThenStepCommand) {
    InspectedDemo demo;
    auto& [app, ts, qt, windows, clock, sv, form, world, debugger, aids] = demo;
    plat::qt::FormView& view = *qt.viewFor(form);
    field::FieldLoop loop(form, world, sv, aids);
    ASSERT_TRUE(loop.runOneFrame());
    QTest::mouseClick(view.widgetFor(form.enlargeButton), Qt::LeftButton);
    view.refresh();

    QListWidget* runs = listOf(view, form.inspector.runList);
    QListWidget* script = listOf(view, form.inspector.scriptText);
    QListWidget* registers = listOf(view, form.inspector.registerList);
    EXPECT_TRUE(currentText(runs).startsWith("system"));
    clickRow(runs, rowWith(runs, "object 11"));
    view.refresh();
    clickRow(script, rowWith(script, "72  AddValue R1, 2"));
    view.refresh();
    EXPECT_TRUE(script->item(rowWith(script, "AddValue R1, 2"))->text().startsWith(" ●"));

    // Paused: the runaway is selected on its line; one command later R1 has grown by two.
    std::vector<QString> lines, firstRegister;
    auto shown = debugger.onPaused;
    debugger.onPaused = [&] {
        shown();
        view.refresh();
        lines.push_back(currentText(script));
        firstRegister.push_back(registers->item(0)->text());
        if (lines.size() == 1) {
            EXPECT_TRUE(currentText(runs).startsWith("object 11"))
                << currentText(runs).toStdString();
            QTest::mouseClick(view.widgetFor(form.inspector.stepCommandButton), Qt::LeftButton);
        } else if (lines.size() == 2) {
            clickRow(script, rowWith(script, "72  AddValue R1, 2")); // the breakpoint goes
            QTest::mouseClick(view.widgetFor(form.inspector.pauseButton), Qt::LeftButton);
        }
    };
    loop.runFrames(600);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].toStdString(), "▶●  72  AddValue R1, 2");
    EXPECT_EQ(lines[1].toStdString(), "▶   73  IntDivValue R1, 4");
    // FacePlayerDir left R1 at 3 (the 32-bit integer the text form writes as 3L).
    EXPECT_EQ(firstRegister[0].toStdString(), "R1 = 3L");
    EXPECT_EQ(firstRegister[1].toStdString(), "R1 = 5L");
    EXPECT_FALSE(debugger.paused());
    EXPECT_TRUE(debugger.breakpoints().empty());
    loop.finish();
}

} // namespace
