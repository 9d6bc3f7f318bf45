// The field window's start-up, layout, close handshake, mouse handlers and frame timing,
// driven frame by frame on the virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "field/MainLoop.h"
#include "field/MainWindow.h"
#include "platform/ShownPicture.h"
#include "platform/testing/TestSeams.h"
#include "tekkel/Assembler.h"

namespace {

using field::MainWindow;
using plat::testing::TestServices;

// Text drawing that costs virtual time and remembers when each frame drew its rate text. Each
// character is a pixel of its own colour: a changed rate changes the picture.
class TimedText : public plat::ITextRenderer {
  public:
    explicit TimedText(plat::testing::VirtualClock& clock) : clock_(clock) {}
    int textOut(plat::Surface& s, int x, int y, std::string_view utf8) override {
        for (std::size_t i = 0; i < utf8.size(); ++i)
            s.setPixel(x + static_cast<int>(i), y + 3, plat::rgb(utf8[i], 9, 200));
        times.push_back(clock_.timeGetTime());
        texts.emplace_back(utf8);
        if (!costs.empty()) {
            clock_.advance(costs.front());
            costs.erase(costs.begin());
        }
        return 1;
    }
    std::vector<std::uint32_t> times;
    std::vector<std::string> texts;
    std::vector<std::uint32_t> costs; // virtual ms spent by the next draws

  private:
    plat::testing::VirtualClock& clock_;
};

// A window system whose waits wake `lateMs` after the requested time, like a 1 ms timer.
class LateWindows : public plat::testing::ScriptedWindowSystem {
  public:
    void waitEvents(std::uint32_t ms) override {
        if (clock) clock->sleep(ms + lateMs);
        doEvents();
    }
    std::uint32_t lateMs = 1;
};

// Start-up with the ordinary scripted window system.
struct Started {
    TestServices ts;
    TimedText text{ts.clock};
    plat::Services sv{ts.clock, ts.keyboard, ts.windows, ts.process, text, ts.random};
    MainWindow form{sv};
    field::World world;
    Started() { field::startUp(form, world, sv); }
};

TEST(FieldStartUp, ShrinksToTheGameViewAndTheEnlargeButtonRestoresTheDesignSize) {
    Started s;
    EXPECT_EQ(s.form.scaleWidth(), 533);
    EXPECT_EQ(s.form.scaleHeight(), 239);
    EXPECT_EQ(s.form.primarySurface.surface.width(), 514);
    EXPECT_EQ(s.form.primarySurface.surface.height(), 258);
    EXPECT_EQ(s.form.primarySurface.backColor(), plat::rgb(150, 150, 255));
    EXPECT_EQ(s.form.gameView.surface.width(), 386);
    EXPECT_EQ(s.form.gameView.surface.height(), 194);

    // In the shrunk window only the view, the position frame and the button are whole.
    auto inside = [&](const plat::Control& c, int w, int h) {
        return c.left + c.width <= w && c.top + c.height <= h;
    };
    for (const plat::Control* c : s.form.controls()) {
        if (c->container) continue;
        const bool shownSmall = c == &s.form.gameView || c == &s.form.positionFrame ||
                                c == &s.form.enlargeButton || c == &s.form.gameViewLabel;
        EXPECT_EQ(inside(*c, 533, 239), shownSmall) << c->name;
    }

    s.form.enlargeButton.onClick();
    EXPECT_EQ(s.form.widthTwips, s.form.fullWidth);
    EXPECT_EQ(s.form.heightTwips, s.form.fullHeight);
    for (const plat::Control* c : s.form.controls()) {
        if (!c->container) {
            EXPECT_TRUE(inside(*c, s.form.scaleWidth(), s.form.scaleHeight())) << c->name;
        } else {
            EXPECT_TRUE(inside(*c, c->container->width, c->container->height)) << c->name;
        }
    }
    EXPECT_EQ(s.ts.windows.syncs[&s.form], 1);
}

TEST(FieldStartUp, ShrinkHoldsForAnyBorderAndTitleTheWindowSystemReports) {
    TestServices ts;
    MainWindow form(ts.services);
    form.borderWidth = 1;
    form.titleHeight = 31;
    form.widthTwips = (900 + 2) * 15;
    form.heightTwips = (860 + 31 + 2) * 15;
    form.layout();
    EXPECT_EQ(form.scaleWidth(), 533);
    EXPECT_EQ(form.scaleHeight(), 239);
}

TEST(FieldStartUp, ControlsCarryTheirCaptionsAndAllLayerBoxesStartTicked) {
    TestServices ts;
    MainWindow form(ts.services);
    EXPECT_EQ(form.enlargeButton.caption, u"＞");
    EXPECT_EQ(form.layerFrame.caption, u"レイヤ");
    EXPECT_EQ(form.positionFrame.caption, u"x,y座標");
    const std::u16string planes[4] = {u"マップ", u"ベース", u"キャラ", u"ｱﾊﾞｰﾌﾞ"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(form.planeBoxes[i].caption, planes[i]);
        EXPECT_EQ(form.planeBoxes[i].value, 1);
        EXPECT_EQ(form.planeBoxes[i].index, i);
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(form.layerBoxes[i].caption, std::u16string(1, char16_t(u'0' + i)));
        EXPECT_EQ(form.layerBoxes[i].value, 1);
    }
    EXPECT_EQ(form.gameViewLabel.caption, u"メイン窓");
    EXPECT_EQ(form.primarySurfaceLabel.caption, u"初期描画用窓");
    EXPECT_EQ(form.mapChipsLabel.caption, u"マップバックバッファ窓");
    EXPECT_EQ(form.characterChipsLabel.caption, u"キャラバックバッファ窓");
    EXPECT_EQ(form.eventChipsLabel.caption, u"イベントバックバッファ窓");
    EXPECT_EQ(form.backFieldLabel.caption, u"キャラクタ動作確認窓");
}

TEST(FieldStartUp, PlayerStartsAtItsPlaceAndTheWindowIsShown) {
    Started s;
    const field::CharState& p = s.world.player;
    EXPECT_EQ(p.x, 1);
    EXPECT_EQ(p.y, 2);
    EXPECT_EQ(p.layer, 0);
    EXPECT_EQ(p.plane, 2);
    EXPECT_EQ(p.facing, 3);
    EXPECT_EQ(p.animColumn, 1);
    EXPECT_EQ(p.chipWidth, 64);
    EXPECT_NE(p.visible, 0);
    EXPECT_TRUE(s.form.loaded);
    EXPECT_TRUE(s.form.visible);
    EXPECT_EQ(s.form.closeState, field::kRunning);
}

TEST(FieldLoop, FirstCloseOnlyAsksAndTheWindowGoesAfterTheFrame) {
    Started s;
    field::FieldLoop loop(s.form, s.world, s.sv);
    ASSERT_TRUE(loop.runOneFrame());

    // Two close clicks inside one frame: both are cancelled, the window stays.
    std::vector<bool> answers;
    s.ts.windows.onEvents = [&] {
        if (answers.empty()) {
            answers.push_back(s.ts.windows.unload(s.form));
            answers.push_back(s.ts.windows.unload(s.form));
        }
    };
    EXPECT_FALSE(loop.runOneFrame());
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_FALSE(answers[0]);
    EXPECT_FALSE(answers[1]);
    EXPECT_TRUE(s.form.loaded);
    EXPECT_EQ(s.form.closeState, field::kCloseRequested);
    EXPECT_EQ(loop.framesRun(), 2);

    EXPECT_FALSE(loop.runOneFrame()) << "no frame after the close request";
    loop.finish();
    EXPECT_FALSE(s.form.loaded);
    EXPECT_EQ(s.form.closeState, field::kFormsUnloaded);
    EXPECT_EQ(std::count(s.ts.windows.unloaded.begin(), s.ts.windows.unloaded.end(), &s.form), 1);
    EXPECT_EQ(s.ts.clock.periodDepth, 0);
}

TEST(FieldLoop, WholeProgramEndsAfterACloseClick) {
    TestServices ts;
    MainWindow form(ts.services);
    int pumps = 0;
    ts.windows.onEvents = [&] {
        if (++pumps == 200) ts.windows.unload(form);
    };
    field::runBuiltInDemo(form, ts.services);
    EXPECT_FALSE(form.loaded);
    EXPECT_EQ(form.closeState, field::kFormsUnloaded);
    EXPECT_EQ(ts.clock.periodDepth, 0);
    EXPECT_GT(ts.text.calls.size(), 2u);
}

TEST(FieldLoop, NothingAdvancesWhileInactive) {
    Started s;
    field::FieldLoop loop(s.form, s.world, s.sv);
    ASSERT_TRUE(loop.runOneFrame());
    s.ts.windows.active = false;
    const std::uint32_t before = s.ts.clock.timeGetTime();
    int pumps = 0;
    int inactivePumpsAfterDrawing = 0;
    s.ts.windows.onEvents = [&] {
        if (++pumps == 100) s.ts.windows.active = true;
        if (!s.ts.windows.active && s.text.texts.size() == 2) ++inactivePumpsAfterDrawing;
    };
    ASSERT_TRUE(loop.runOneFrame());
    EXPECT_EQ(s.text.texts.size(), 2u) << "a frame ran while inactive";
    EXPECT_GT(inactivePumpsAfterDrawing, 50);
    EXPECT_GT(s.ts.clock.timeGetTime() - before, 1000u);
    ASSERT_TRUE(loop.runOneFrame());
    EXPECT_EQ(s.text.texts.size(), 3u);
}

TEST(FieldLoop, CloseWhileInactiveEndsTheProgram) {
    Started s;
    field::FieldLoop loop(s.form, s.world, s.sv);
    s.ts.windows.active = false;
    int pumps = 0;
    s.ts.windows.onEvents = [&] {
        if (++pumps == 5) s.ts.windows.unload(s.form);
        EXPECT_LE(pumps, 6) << "the inactive wait went on after the close";
    };
    EXPECT_FALSE(loop.runOneFrame());
    loop.finish();
    EXPECT_FALSE(s.form.loaded);
}

TEST(FieldLoop, FramesLastFortyMillisecondsWithoutCatchingUp) {
    Started s;
    field::FieldLoop loop(s.form, s.world, s.sv);
    s.text.costs = {0, 0, 100, 0, 0}; // the third frame's drawing takes 100 ms
    EXPECT_EQ(loop.runFrames(5), 5);
    ASSERT_EQ(s.text.times.size(), 5u);
    const auto& t = s.text.times;
    EXPECT_EQ(t[1] - t[0], 40u);
    EXPECT_EQ(t[2] - t[1], 40u);
    EXPECT_EQ(t[3] - t[2], 100u) << "an overrun frame is followed at once";
    EXPECT_EQ(t[4] - t[3], 40u) << "and the next one is not shortened";
}

TEST(FieldLoop, AWindowSystemThatNeverBlocksStillGetsFortyMillisecondFrames) {
    Started s;
    s.ts.windows.clock = nullptr; // its waits return at once without time passing
    field::FieldLoop loop(s.form, s.world, s.sv);
    EXPECT_EQ(loop.runFrames(3), 3);
    EXPECT_EQ(s.text.times[1] - s.text.times[0], 40u);
    EXPECT_EQ(s.text.times[2] - s.text.times[1], 40u);
}

TEST(FieldLoop, FrameWaitSurvivesTheClockWrapping) {
    Started s;
    s.ts.clock.set(0xFFFFFFFFu - 50);
    field::FieldLoop loop(s.form, s.world, s.sv);
    EXPECT_EQ(loop.runFrames(4), 4);
    EXPECT_EQ(s.text.times[3] - s.text.times[0], 120u);
}

TEST(FieldLoop, RateShowsZeroForTheFirstSecondThenTheFramesOfTheLast) {
    // A wait that wakes 1 ms late, as the real 1 ms timer does: 41 ms frames.
    TestServices ts;
    TimedText text(ts.clock);
    LateWindows windows;
    windows.clock = &ts.clock;
    plat::Services sv{ts.clock, ts.keyboard, windows, ts.process, text, ts.random};
    MainWindow form(sv);
    field::World world;
    field::startUp(form, world, sv);
    field::FieldLoop loop(form, world, sv);
    loop.runFrames(80);
    ASSERT_EQ(text.texts.size(), 80u);
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(text.texts[i], "FPS:0") << i;
    for (int i = 25; i < 80; ++i)
        EXPECT_EQ(text.texts[i], "FPS:25") << i;

    // With waits that end exactly on time the measuring window holds 26 frames.
    Started exact;
    field::FieldLoop exactLoop(exact.form, exact.world, exact.sv);
    exactLoop.runFrames(30);
    EXPECT_EQ(exact.text.texts[25], "FPS:0");
    EXPECT_EQ(exact.text.texts[26], "FPS:26");
}

TEST(FieldLoop, FrameCountClosesASecondOnlyAfterMoreThan1000Ms) {
    field::FrameCounter fc;
    field::countFrame(fc, 5000);
    EXPECT_EQ(fc.shownRate, 0);
    EXPECT_EQ(fc.framesThisSecond, 1);
    field::countFrame(fc, 6000); // exactly 1000 ms: still the same second
    EXPECT_EQ(fc.framesThisSecond, 2);
    field::countFrame(fc, 6001);
    EXPECT_EQ(fc.shownRate, 2);
    EXPECT_EQ(fc.framesThisSecond, 1);
    // Across the 32-bit wrap.
    fc.secondStart = 0xFFFFFF00u;
    fc.framesThisSecond = 7;
    field::countFrame(fc, 0x00000100u);
    EXPECT_EQ(fc.framesThisSecond, 8);
}

TEST(FieldLoop, ViewShowsOnlyTheCentreAndTheZoomDoublesThePlayerSquare) {
    Started s;
    field::FieldLoop loop(s.form, s.world, s.sv);
    loop.runOneFrame();
    const plat::Surface& primary = s.form.primarySurface.surface;
    const plat::Surface& flip = s.form.gameView.surface;
    for (int y = 0; y < 192; y += 7) {
        for (int x = 0; x < 384; x += 5) {
            ASSERT_EQ(flip.pixel(x, y), primary.pixel(x + 64, y + 32)) << x << "," << y;
        }
    }
    EXPECT_EQ(flip.pixel(385, 10), s.form.gameView.backColor());
    EXPECT_EQ(flip.pixel(10, 193), s.form.gameView.backColor());
    const plat::Surface& zoom = s.form.backField.surface;
    for (int y = 0; y < 128; y += 3) {
        for (int x = 0; x < 128; x += 3) {
            ASSERT_EQ(zoom.pixel(x, y), primary.pixel(224 + x / 2, 64 + y / 2));
        }
    }
    EXPECT_GE(s.ts.windows.repaints[&s.form.gameView], 1);
}

TEST(FieldLoop, EveryChangedPictureIsShownAndAStillOneIsNotPresentedAgain) {
    Started s;
    field::FieldLoop loop(s.form, s.world, s.sv);
    plat::Surface &flip = s.form.gameView.surface, &zoom = s.form.backField.surface;
    const plat::Surface& primary = s.form.primarySurface.surface;
    plat::ShownPicture shownView, shownZoom; // what the window shows, trusting the stamps
    std::mt19937 rng(15);
    const auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(rng); };
    int still = 0, kept = 0;
    for (int frame = 0; frame < 400; ++frame) {
        const int change = pick(0, 12);
        switch (change) {
        case 0: s.world.player.facing = static_cast<std::int16_t>(pick(0, 3)); break;
        case 1: s.world.shadeLevel = static_cast<std::int16_t>(pick(0, 2)); break;
        case 2: flip.setPixel(pick(0, 385), pick(0, 193), plat::kBlack); break;
        case 3: zoom.setPixel(pick(0, 127), pick(0, 127), plat::kWhite); break;
        case 4: flip.setBackColor(pick(0, 1) ? plat::kWhite : plat::rgb(150, 150, 255)); break;
        case 5: s.ts.clock.advance(static_cast<std::uint32_t>(pick(0, 1500))); break; // the rate
        case 6: flip.touch(); break;
        default: break; // standing still
        }
        const std::uint64_t stamp = flip.generation();
        ASSERT_TRUE(loop.runOneFrame());
        // The pictures as a plain copy, text and stretch make them.
        plat::Surface view = plat::Surface::colour(flip.width(), flip.height()), magnified = zoom;
        view.fill(flip.backColor());
        plat::bitBlt(view, 0, 0, 384, 192, primary, 64, 32, plat::Rop::SrcCopy);
        s.text.textOut(view, 0, 0, s.text.texts.back());
        plat::stretchBlt(magnified, 0, 0, 128, 128, primary, 224, 64, 64, 64);
        shownView.take(flip);
        shownZoom.take(zoom);
        ASSERT_TRUE(std::equal(view.data(), view.data() + 386 * 194, shownView.data())) << frame;
        ASSERT_TRUE(std::equal(magnified.data(), magnified.data() + 128 * 128, shownZoom.data()));
        if (change > 6 && frame > 30) {
            ++still;
            kept += flip.generation() == stamp;
        }
    }
    EXPECT_GT(kept, still * 3 / 4) << "still frames were presented again";
}

TEST(FieldWindow, OnlyTheLeftButtonHoldsAndMovesAlwaysTrack) {
    TestServices ts;
    MainWindow form(ts.services);
    plat::PictureBox& view = form.gameView;
    view.onMouseDown(plat::kRightButton, 0, 10, 10);
    EXPECT_EQ(form.mouse.held, 0);
    view.onMouseDown(plat::kMiddleButton, 0, 10, 10);
    EXPECT_EQ(form.mouse.held, 0);
    view.onMouseDown(plat::kLeftButton, 0, 10, 10);
    EXPECT_EQ(form.mouse.held, -1);
    view.onMouseUp(plat::kRightButton, 0, 10, 10);
    EXPECT_EQ(form.mouse.held, -1);
    view.onMouseUp(plat::kLeftButton, 0, 10, 10);
    EXPECT_EQ(form.mouse.held, 0);

    view.onMouseMove(0, 0, 100.6f, 20.2f);
    EXPECT_EQ(form.mouse.x, 101);
    EXPECT_EQ(form.mouse.y, 20);
    EXPECT_EQ(form.mouse.held, 0);
    view.onMouseMove(plat::kRightButton, 0, -3.7f, 7.0f);
    EXPECT_EQ(form.mouse.x, -4);
    EXPECT_EQ(form.mouse.y, 7);
    view.onMouseMove(0, 0, std::numeric_limits<float>::quiet_NaN(), 3.0e30f);
    EXPECT_EQ(form.mouse.x, 0);
    EXPECT_GT(form.mouse.y, 0);
}

TEST(FieldWindow, CloseStateMachine) {
    TestServices ts;
    MainWindow form(ts.services);
    ts.windows.show(form);
    bool cancel = false;
    form.queryUnload(cancel);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(form.closeRequested, -1);
    EXPECT_EQ(form.closeState, field::kCloseRequested);
    form.queryUnload(cancel);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(form.closeState, field::kCloseRequested);

    form.closeState = field::kShuttingDown;
    EXPECT_TRUE(ts.windows.unload(form));
    EXPECT_EQ(form.closeState, field::kFormsUnloaded);
    EXPECT_FALSE(form.loaded);
    EXPECT_EQ(ts.windows.unloaded.size(), 1u);
    cancel = true;
    form.queryUnload(cancel);
    EXPECT_FALSE(cancel);
}

TEST(FieldLoop, ACloseStopsAScriptThatNeverYieldsOnceItHeldTheFrame) {
    Started s;
    tekkel::Unit unit;
    std::vector<tekkel::AssemblyError> errors;
    ASSERT_TRUE(tekkel::assemble("script 2\nL:\nJump \"L\"\n", unit, errors));
    ASSERT_TRUE(tekkel::installScripts(s.world.machine, unit));
    s.world.systemRun = {};
    s.world.systemRun.scriptNumber = 2;
    s.world.systemScriptActive = -1;
    int pumps = 0;
    s.ts.windows.onEvents = [&] {
        s.ts.clock.advance(1); // the commands take time, so the pump keeps looking
        if (++pumps == 10) s.ts.windows.unload(s.form);
    };
    field::runMainLoop(s.form, s.world, s.sv);
    EXPECT_EQ(s.form.closeState, field::kFormsUnloaded);
    EXPECT_TRUE(s.ts.windows.boxes.empty());
    EXPECT_GE(pumps, static_cast<int>(field::kFramePeriodMs)) << "stopped before the frame's end";
    const std::string log = s.ts.process.readFile("haruvelVer0.1.0_Error.log");
    EXPECT_NE(log.find("]Tekkel:2:1: script 2 at 'L:': stopped by the close request"),
              std::string::npos)
        << log;
}

} // namespace
