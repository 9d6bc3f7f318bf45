// A script fault in a quest read from a folder, on the real window system: the error box
// shows the report with where the command was written, and the error log names the place too.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

// Before Qt's headers, whose `slots` macro would eat the host table's member of that name.
#include "field/script/ScriptHost.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "QtTestApp.h"
#include "common/Utility.h"
#include "field/ScenarioReader.h"
#include "platform/qt/QtWindowSystem.h"
#include "platform/testing/TestSeams.h"

namespace {

std::string groundMap() {
    std::string text;
    for (int layer = 0; layer < 3; ++layer) {
        text += "layer " + std::to_string(layer) + "\n";
        for (int row = 0; row < 6; ++row)
            text += layer == 0 ? "1,1,1,1,1,1,1,1,1\n" : "0,0,0,0,0,0,0,0,0\n";
    }
    return text;
}

TEST(ScriptFaultOnQt, TheErrorBoxAndTheLogNameTheSourceLine) {
    qtTestApp();
    plat::testing::TestServices ts;
    plat::qt::QtWindowSystem qt;
    plat::Services sv{ts.clock, ts.keyboard, qt, ts.process, ts.text, ts.random};
    const std::string folder = ts.process.folder + "/quest";
    std::filesystem::create_directory(folder);
    std::ofstream(folder + "/map.txt") << groundMap();
    std::ofstream(folder + "/objects.txt") << "; none\n";
    std::ofstream(folder + "/quest.tkl") << "; The opening scene divides by what is left.\n"
                                            "script 2\n"
                                            "    Set R1, 12\n"
                                            "    Set R2, 1\n"
                                            "again:\n"
                                            "    Dec R2\n"
                                            "\n"
                                            "    IntDiv R1, R2     ; R2 is 0 by now\n"
                                            "    End\n";
    field::World world;
    std::vector<field::ScenarioError> errors;
    ASSERT_TRUE(field::readScenarioFolder(folder, world, errors));

    // The frame's pump handles events before the box opens: look until it is there.
    QString shown;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->button(QMessageBox::Cancel)->click();
        }
    });
    answer.start(0);
    field::runFrameScripts(world, sv);
    const std::string place = folder + "/quest.tkl:8:5";
    EXPECT_TRUE(shown.endsWith(QString::fromStdString("Parameter3    : \n\n[Source]\n"
                                                      "Source        : " +
                                                      place +
                                                      "  IntDiv R1, R2\n"
                                                      "Error Name    : division by zero")))
        << shown.toStdString();
    const std::string log = common::errorLogPath(ts.process);
    const std::string line = ts.process.readFile(log.substr(log.rfind('/') + 1));
    EXPECT_EQ(line.substr(line.find(']') + 1),
              "tekkel/runScript:" + place + ": error 1 (division by zero): IntDiv R1, R2\r\n");
    std::cout << "    box: " << shown.toStdString() << "\n    log: " << line;
}

} // namespace
