// The window on a desktop: command line, whole-factor zoom, fullscreen and the F12 screenshot.
// Whatever the factor, the form's handlers see the form's own pixels.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "QtTestApp.h"
#include "platform/Seams.h"
#include "platform/qt/CommandLine.h"
#include "platform/qt/FormView.h"

namespace {

using plat::qt::parseCommandLine;

constexpr plat::qt::ProgramInfo kInfo{
    "haruvel", "Haruvel", "1.2.3", "A field demo.", "Keys:\n  F12  screenshot\n", true};

struct CommandLineCase {
    QStringList args;
    int exitCode;
    const char* out; // expected part of standard output
    int scale;
    bool fullScreen;
    std::optional<std::uint64_t> seed;
};
const CommandLineCase kCommandLines[] = {
    {{}, -1, "", 0, false, {}},
    {{"--scale", "3", "--fullscreen"}, -1, "", 3, true, {}},
    {{"--seed", "18446744073709551615"}, -1, "", 0, false, 18446744073709551615ull},
    {{"--help"}, 0, "Usage: haruvel [options]", 0, false, {}},
    {{"-h"}, 0, "F12  screenshot", 0, false, {}},
    {{"--version"}, 0, "haruvel 1.2.3\n", 0, false, {}},
    {{"--frobnicate"}, 2, "", 0, false, {}},
    {{"--scale", "0"}, 2, "", 0, false, {}},
    {{"--scale", "5"}, 2, "", 0, false, {}},
    {{"--scale", "2x"}, 2, "", 0, false, {}},
    {{"--scale"}, 2, "", 0, false, {}},
    {{"--seed", "-1"}, 2, "", 0, false, {}},
    {{"map.txt"}, 2, "", 0, false, {}},
    {{"--check"}, 2, "", 0, false, {}}, // nothing to check
    {{"--scenario"}, 2, "", 0, false, {}},
    {{"--record", "a.rec", "--seed", "5"}, -1, "", 0, false, 5},
    {{"--replay", "a.rec", "--headless"}, -1, "", 0, false, {}},
    {{"--help"}, 0, "--replay <FILE>", 0, false, {}},
    {{"--record", "a.rec", "--replay", "a.rec"}, 2, "", 0, false, {}},
    {{"--headless"}, 2, "", 0, false, {}},
    {{"--record", "a.rec", "--headless"}, 2, "", 0, false, {}},
    {{"--replay", "a.rec", "--scenario", "quest"}, 2, "", 0, false, {}},
    {{"--replay", "a.rec", "--seed", "5"}, 2, "", 0, false, {}},
    {{"--replay", ""}, 2, "", 0, false, {}},
    {{"--record"}, 2, "", 0, false, {}},
    {{"--scenario", "quest", "--check", "--record", "a.rec"}, 2, "", 0, false, {}},
};

void expectParsed(const CommandLineCase& c) {
    const auto r = parseCommandLine(QStringList{"/usr/bin/haruvel"} + c.args, kInfo);
    const std::string what = c.args.join(' ').toStdString();
    EXPECT_EQ(r.exitCode, c.exitCode) << what;
    EXPECT_NE(r.out.find(c.out), std::string::npos) << what << ": " << r.out;
    if (c.exitCode == 2) {
        // One line on standard error, nothing on standard output.
        EXPECT_TRUE(r.out.empty()) << what;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << what << r.err;
        EXPECT_EQ(r.err.rfind("haruvel: ", 0), 0u) << what << r.err;
    }
    if (c.exitCode != -1) return;
    EXPECT_EQ(r.options.scale, c.scale) << what;
    EXPECT_EQ(r.options.fullScreen, c.fullScreen) << what;
    EXPECT_EQ(r.options.seed, c.seed) << what;
}

TEST(CommandLine, OptionsHelpVersionAndRefusals) {
    for (const CommandLineCase& c : kCommandLines)
        expectParsed(c);
    const auto r = parseCommandLine({"haruvel", "--scenario", "quest", "--check"}, kInfo);
    EXPECT_EQ(r.exitCode, -1);
    EXPECT_EQ(r.options.scenario, "quest");
    EXPECT_TRUE(r.options.check);
    const auto w =
        parseCommandLine({"haruvel", "--scenario", "q", "--watch", "--trace", "t"}, kInfo);
    EXPECT_TRUE(w.options.watch);
    EXPECT_EQ(w.options.trace, "t");
    const auto b =
        parseCommandLine({"haruvel", "--break", "scripts.tkl:12", "--break", "d/a:b.tkl:3"}, kInfo);
    EXPECT_EQ(b.options.breaks,
              (std::vector<std::pair<std::string, int>>{{"scripts.tkl", 12}, {"d/a:b.tkl", 3}}));
    plat::qt::ProgramInfo noScenario = kInfo;
    noScenario.takesScenario = false;
    EXPECT_EQ(parseCommandLine({"kardovan", "--scenario", "quest"}, noScenario).exitCode, 2);
}

// Each refusal names what was wrong in its own words; the order of the checks decides which
// one a command line with several faults gets.
TEST(CommandLine, RefusalTexts) {
    const std::pair<QStringList, std::string> cases[] = {
        {{"--scale", "9"}, "--scale takes a whole number from 1 to 4, not '9'."},
        {{"--seed", "x"}, "--seed takes a whole number from 0 to 18446744073709551615, not 'x'."},
        {{"--check"}, "--check needs --scenario DIR."},
        {{"--check", "--record", ""}, "--check needs --scenario DIR."},
        {{"--record", ""}, "--record and --replay take a file name."},
        {{"--record", "a", "--replay", "b"}, "--record and --replay do not go together."},
        {{"--headless"}, "--headless needs --replay FILE."},
        {{"--replay", "a", "--seed", "1"}, "--replay takes no --seed: the recording has it."},
        {{"--replay", "a", "--scenario", "q"},
         "--replay takes no --scenario: the recording has it."},
        {{"--scenario", "q", "--check", "--record", "a"}, "--check plays nothing to record."},
        {{"extra"}, "unexpected argument 'extra'."},
        {{"--watch"}, "--watch needs --scenario DIR to play."},
        {{"--scenario", "q", "--check", "--watch"}, "--watch needs --scenario DIR to play."},
        {{"--scenario", "q", "--watch", "--record", "a"},
         "--watch and --record do not go together."},
        {{"--trace", ""}, "--trace takes a file name."},
        {{"--break", "scripts.tkl"},
         "--break takes FILE:LINE (e.g. scripts.tkl:12), not "
         "'scripts.tkl'."},
        {{"--replay", "a", "--headless", "--break", "s:1"},
         "--break needs a window: it does not go with --headless."},
    };
    for (const auto& [args, why] : cases) {
        const auto r = parseCommandLine(QStringList{"haruvel"} + args, kInfo);
        EXPECT_EQ(r.err, "haruvel: " + why + " (see haruvel --help)\n")
            << args.join(' ').toStdString();
    }
}

TEST(Random, AFixedSeedLeavesTheClockOut) {
    plat::Random fixed[2], free[2] = {plat::Random(42), plat::Random(42)};
    for (plat::Random& r : fixed)
        r.fixSeed(42);
    for (std::uint32_t tick = 1000; tick < 1010; ++tick) {
        fixed[0].mix(tick), fixed[1].mix(tick * 7919u), free[0].mix(tick), free[1].mix(tick * 7);
        ASSERT_EQ(fixed[0].next32(), fixed[1].next32());
        EXPECT_NE(free[0].next32(), free[1].next32()) << "without a fixed seed the clock counts";
    }
}

// A game view with a control beside it, recording what reaches the handlers.
class DeskForm : public plat::Form {
  public:
    DeskForm() : plat::Form("frmDesk") {
        caption = u"Desk";
        widthTwips = (120 + 8) * 15;
        heightTwips = (80 + 23 + 8) * 15;
        add(view).setSize(40, 20);
        view.left = view.top = 10;
        for (int i = 0; i < 40 * 20; ++i)
            view.surface.setPixel(i % 40, i / 40, plat::rgb(i * 6, i / 40 * 12, i * 7));
        add(cmd);
        cmd.left = 60, cmd.top = 50, cmd.width = 50, cmd.height = 20;
        view.onMouseMove = [this](int, int, float x, float y) { moves.push_back({x, y}); };
        onMouseMove = [this](int, int, float x, float y) { backgroundMoves.push_back({x, y}); };
        onKeyDown = [this](int key, int) {
            keys.push_back(key);
            if (key != plat::vk::Escape || !menuOpen) return false;
            menuOpen = false;
            return true;
        };
    }
    plat::PictureBox view{"picView"};
    plat::Button cmd{"cmd"};
    std::vector<QPointF> moves, backgroundMoves;
    std::vector<int> keys;
    bool menuOpen = false;
};

plat::qt::Display display(int zoom, std::vector<int>* zooms) {
    return {zoom, false,     "picView", true,
            {},   "haruvel", "Haruvel", [zooms](int z) { zooms->push_back(z); }};
}

TEST(Desktop, ZoomScalesTheWholeWindowAndKeepsFormPixels) {
    qtTestApp();
    DeskForm f;
    std::vector<int> zooms;
    plat::qt::FormView view(f, {}, display(3, &zooms));
    view.present();
    EXPECT_EQ(view.size(), QSize(360, 240));
    EXPECT_EQ(view.widgetFor(f.view)->geometry(), QRect(30, 30, 120, 60));
    EXPECT_EQ(view.widgetFor(f.cmd)->geometry(), QRect(180, 150, 150, 60));
    // Every screen pixel of a zoomed pixel hands on that one form pixel.
    QTest::mouseMove(view.widgetFor(f.view), QPoint(8, 5));
    QTest::mouseMove(view.widgetFor(f.view), QPoint(119, 59));
    QTest::mouseMove(&view, QPoint(200, 10));
    ASSERT_EQ(f.moves.size(), 2u);
    EXPECT_EQ(f.moves[0], QPointF(2, 1));
    EXPECT_EQ(f.moves[1], QPointF(39, 19));
    ASSERT_EQ(f.backgroundMoves.size(), 1u);
    EXPECT_EQ(f.backgroundMoves[0], QPointF(66, 3));

    // Ctrl+Plus / Ctrl+Minus step within 1..4, Ctrl+0 goes back to 1; each change is reported.
    for (auto [key, mods] : {std::pair{Qt::Key_Plus, Qt::ControlModifier},
                             {Qt::Key_Plus, Qt::ControlModifier},
                             {Qt::Key_0, Qt::ControlModifier},
                             {Qt::Key_Minus, Qt::ControlModifier},
                             {Qt::Key_Equal, Qt::ControlModifier}}) {
        QTest::keyClick(&view, key, mods);
    }
    EXPECT_EQ(zooms, (std::vector<int>{4, 1, 2}));
    EXPECT_EQ(view.size(), QSize(240, 160));
    // The model's own size changes (Haruvel's enlarge button) keep the factor.
    f.widthTwips = (200 + 8) * 15;
    view.refresh();
    EXPECT_EQ(view.size(), QSize(400, 160));
    for (int key : f.keys)
        EXPECT_EQ(key, plat::vk::Control) << "zoom keys never reach the game, only Ctrl itself";
}

TEST(Desktop, FullscreenShowsTheGameViewAloneCentredAndEscLeavesIt) {
    qtTestApp();
    DeskForm f;
    std::vector<int> zooms;
    plat::qt::FormView view(f, {}, display(2, &zooms));
    view.present();
    QTest::keyClick(&view, Qt::Key_F11);
    ASSERT_TRUE(view.display().fullScreen);
    const QSize screen = view.screen()->size();
    const int k = std::min(screen.width() / 40, screen.height() / 20);
    EXPECT_EQ(view.scale(), k);
    const QRect shown = view.widgetFor(f.view)->geometry();
    EXPECT_EQ(shown.size(), QSize(40 * k, 20 * k));
    EXPECT_EQ(shown.center(), QRect(QPoint(0, 0), screen).center());
    EXPECT_TRUE(view.widgetFor(f.cmd)->isHidden());
    // The middle of a zoomed pixel: the offscreen platform places a fullscreen window's
    // pointer a frame's width off.
    QTest::mouseMove(view.widgetFor(f.view), QPoint(5 * k + k / 2, 7 * k + k / 2));
    ASSERT_FALSE(f.moves.empty());
    EXPECT_EQ(f.moves.back(), QPointF(5, 7));

    // Esc goes to the game first: a menu it closes keeps fullscreen; the next Esc leaves.
    f.menuOpen = true;
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_TRUE(view.display().fullScreen);
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_FALSE(view.display().fullScreen);
    EXPECT_EQ(f.keys, (std::vector<int>{plat::vk::Escape, plat::vk::Escape}))
        << "F11 never reaches the game";
    EXPECT_EQ(view.size(), QSize(240, 160));
    EXPECT_FALSE(view.widgetFor(f.cmd)->isHidden());
    view.close();
}

TEST(Desktop, F12SavesTheGameViewPixelForPixelWithoutOverwriting) {
    qtTestApp();
    QTemporaryDir pictures;
    ASSERT_TRUE(pictures.isValid());
    DeskForm f;
    std::vector<int> zooms;
    plat::qt::Display d = display(2, &zooms);
    d.picturesFolder = pictures.path();
    plat::qt::FormView view(f, {}, d);
    QTest::keyClick(&view, Qt::Key_F12);
    QTest::keyClick(&view, Qt::Key_F12);
    const QStringList shots =
        QDir(pictures.path() + "/Haruvel").entryList({"haruvel-*.png"}, QDir::Files, QDir::Name);
    ASSERT_EQ(shots.size(), 2) << "two shots in one second are two files";
    EXPECT_TRUE(QRegularExpression("^haruvel-\\d{8}-\\d{6}\\.png$").match(shots[1]).hasMatch())
        << shots[1].toStdString();
    EXPECT_TRUE(view.windowTitle().startsWith("Desk - " + pictures.path() + "/Haruvel/haruvel-"));
    for (const QString& name : shots) {
        const QImage png(pictures.path() + "/Haruvel/" + name);
        ASSERT_EQ(png.size(), QSize(40, 20)) << "the view's own size, not the zoomed one";
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(png.pixel(x, y) & 0xFFFFFFu, f.view.surface.pixel(x, y)) << x << "," << y;
        }
    }
    EXPECT_TRUE(f.keys.empty());
}

} // namespace
