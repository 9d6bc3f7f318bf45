#include "field/MainLoop.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <string>

#include "common/Utility.h"
#include "field/ScenarioReader.h"
#include "field/ScenarioTranslations.h"
#include "field/ScriptDebugger.h"
#include "field/Searchers.h"
#include "field/WorldDigest.h"
#include "field/graphics/Composition.h"
#include "field/graphics/FieldSurfaces.h"
#include "field/script/ScriptHost.h"
#include "platform/EventWait.h"
#include "tekkel/Interpreter.h"
#include "tekkel/Trace.h"

namespace field {

namespace {

// The visible part of the composition surface and the magnified square.
constexpr int kViewX = 64, kViewY = 32, kViewWidth = 384, kViewHeight = 192;
constexpr int kZoomSource = 64, kZoomTarget = 128;
constexpr int kExitBuildFailed = 1;
constexpr std::string_view kLabelStoppedScript = "Tekkel";

} // namespace

void countFrame(FrameCounter& fc, std::uint32_t now) {
    // Unsigned difference: the 32-bit tick wraps after 49.7 days without breaking the count.
    if (now - fc.secondStart > 1000u) {
        fc.shownRate = fc.framesThisSecond;
        fc.secondStart = now;
        fc.framesThisSecond = 1;
    } else if (fc.framesThisSecond < INT32_MAX) {
        ++fc.framesThisSecond;
    }
}

namespace {

// Start-up up to the World: flags, layout, shade masks, searchers.
void prepareWindow(field::MainWindow& form) {
    form.closeRequested = 0;
    form.closeState = field::kRunning;
    form.layout();

    const plat::PictureBox& mask25 = form.shadow25Mask;
    field::initShadeMasks(form.graphics, mask25.width, mask25.height, &mask25.surface,
                          &form.shadow50Mask.surface, &form.shadow75Mask.surface);

    field::configureAtStartUp(form.searchers);
}

} // namespace

void startUp(field::MainWindow& form, field::World& world, plat::Services& sv) {
    field::World demo;
    std::vector<field::ScenarioError> errors;
    // The embedded folder is the shipped demo: failing to read it is a broken build.
    if (!field::readBuiltInScenario(demo, errors)) sv.process.exitNow(kExitBuildFailed);
    startUp(form, world, sv, demo);
}

void startUp(field::MainWindow& form, field::World& world, plat::Services& sv,
             const field::World& scenario) {
    prepareWindow(form);
    world = scenario;
    // The objects already stand on their cells, so (0, 0) of the grid sees them.
    field::setGrid(form.searchers, field::obstacleGrid(world));
    sv.windows.show(form);
}

FieldLoop::FieldLoop(field::MainWindow& form, field::World& world, plat::Services& sv,
                     PlayAids aids)
    : form_(form), world_(world), sv_(sv), move_{sv, form.mouse, form.searchers},
      digest_([this] { return worldDigest(world_); }), aids_(std::move(aids)) {
    surfaceWidth_ = form_.primarySurface.width;
    surfaceHeight_ = form_.primarySurface.height;
    sv_.clock.beginPeriod();
    key_ = form_.characterChips.surface.pixel(2, 2);
    sv_.random.mix(sv_.clock.timeGetTime());
    field::initMaskedCopy(form_.graphics, &form_.primarySurface.surface,
                          &form_.primarySurface.surface);
    if (aids_.debugger) aids_.debugger->attach(world_, [this] { return !running(); });
}

FieldLoop::~FieldLoop() {
    // A test that stops early still gives the timer period back; the window is left alone.
    if (!finished_) sv_.clock.endPeriod();
}

bool FieldLoop::running() const {
    return form_.closeRequested == 0 && form_.closeState == field::kRunning;
}

bool FieldLoop::runOneFrame() {
    if (finished_ || !running()) return false;
    if (aids_.debugger) {
        aids_.debugger->atFrameBoundary();
        if (!running()) return false;
    }
    if (sv_.session) sv_.session->frameBegins(digest_);
    frameStart_ = sv_.clock.timeGetTime();
    if (aids_.atFrameStart) aids_.atFrameStart(world_);
    frameSteps();
    ++frames_;

    if (form_.closeState == field::kCloseRequested || !form_.loaded) return false;
    inactiveWait();
    frameWait();
    sv_.windows.doEvents();
    return running();
}

int FieldLoop::runFrames(int n) {
    int ran = 0;
    while (ran < n && !finished_ && running()) {
        ++ran;
        if (!runOneFrame()) break;
    }
    return ran;
}

void FieldLoop::runScripts() {
    // The pump honours a close request between commands once the scripts have held the frame
    // past its period: such a run is stopped there, noted in the error log without a box, and
    // the frame loop ends as after any close. A close in an ordinary frame waits for its end.
    // The tick is the pump's own reading: a replay must read the clock no more than the game
    // that was recorded.
    tekkel::Pump pump(sv_, tekkel::PumpPolicy::Throttled);
    pump.stopWhen(
        [this](std::uint32_t now) { return !running() && now - frameStart_ >= kFramePeriodMs; });
    if (aids_.trace) aids_.trace->beginFrame(frames_);
    tekkel::PausePoints* pausePoints =
        aids_.debugger && aids_.debugger->watchesCommands() ? aids_.debugger : nullptr;
    const tekkel::Run* stopped =
        field::runFrameScripts(world_, sv_, pump, std::cerr, aids_.trace, pausePoints);
    if (stopped && pump.closed()) {
        const std::string text = tekkel::stoppedRunText(
            world_.machine, *stopped, "stopped by the close request; it had not yielded the frame");
        common::writeErrorLog(sv_, 0, common::fromUtf8(text), kLabelStoppedScript, u"");
    }
}

void FieldLoop::frameSteps() {
    runScripts();
    pollActionKey(world_, move_);
    mouseWalk(world_, move_);
    keyboardMove(world_, move_);
    actionStep(world_, move_);
    stepProgress(world_, move_);

    field::ViewControls view;
    for (std::size_t i = 0; i < view.layerBoxes.size(); ++i) {
        view.layerBoxes[i] = &form_.layerBoxes[i];
    }
    for (std::size_t i = 0; i < view.planeBoxes.size(); ++i)
        view.planeBoxes[i] = &form_.planeBoxes[i];
    view.positionLabel = &form_.positionLabel;
    const field::Sheets sheets{form_.mapChips.surface, form_.characterChips.surface,
                               form_.eventChips.surface, form_.primarySurface.surface};
    field::renderFrame(form_.graphics, key_, world_.shadeLevel, sheets, world_, field::kPlayerDrawX,
                       field::kPlayerDrawY, surfaceWidth_, surfaceHeight_, view);

    countFrame(fps_, sv_.clock.timeGetTime());
    const bool viewChanged = present();

    // The zoom's source lies in the view below the text band: while the view is unchanged and
    // nothing else drew on the flip copy or the zoom, the zoom already shows it.
    plat::Surface& flip = form_.gameView.surface;
    plat::Surface& zoom = form_.backField.surface;
    const bool zoomInView = field::kPlayerDrawY - kViewY >= textBand_.height() &&
                            field::kPlayerDrawX - kViewX + kZoomSource <= coveredWidth() &&
                            field::kPlayerDrawY - kViewY + kZoomSource <= coveredHeight();
    if (viewChanged || !zoomInView || flip.generation() != flipStamp_ ||
        zoom.generation() != zoomStamp_) {
        plat::stretchBlt(zoom, 0, 0, kZoomTarget, kZoomTarget, form_.primarySurface.surface,
                         field::kPlayerDrawX, field::kPlayerDrawY, kZoomSource, kZoomSource);
    }
    flipStamp_ = flip.generation();
    zoomStamp_ = zoom.generation();
    sv_.windows.repaint(form_.gameView);
}

int FieldLoop::coveredWidth() const {
    const int primaryWidth = form_.primarySurface.surface.width();
    return std::clamp(std::min(kViewWidth, primaryWidth - kViewX), 0,
                      form_.gameView.surface.width());
}

int FieldLoop::coveredHeight() const {
    const int primaryHeight = form_.primarySurface.surface.height();
    return std::clamp(std::min(kViewHeight, primaryHeight - kViewY), 0,
                      form_.gameView.surface.height());
}

bool FieldLoop::present() {
    plat::Surface& flip = form_.gameView.surface;
    const plat::Surface& primary = form_.primarySurface.surface;
    char text[16] = "FPS:";
    const std::string_view rate(text,
                                std::to_chars(text + 4, text + sizeof text, fps_.shownRate).ptr);
    if (flip.isMono() || primary.isMono()) {
        flip.clear();
        plat::bitBlt(flip, 0, 0, kViewWidth, kViewHeight, primary, kViewX, kViewY,
                     plat::Rop::SrcCopy);
        sv_.text.textOut(flip, 0, 0, rate);
        return true;
    }
    // The flip copy shows the primary's 384 x 192 centre (as far as both surfaces reach) on the
    // back colour, with the rate text over its top-left corner. Only pixels that differ are
    // written, so an unchanged picture keeps its stamp and is not presented again.
    const int width = flip.width(), height = flip.height();
    const int coveredW = coveredWidth(), coveredH = coveredHeight();
    const plat::Color back = flip.backColor();
    // Rows [top, bottom) of that picture without the text, onto the same rows of `into`.
    const auto putView = [&](plat::Surface& into, int top, int bottom) {
        const int viewBottom = std::min(coveredH, bottom);
        bool changed = plat::copyChanged(into, 0, top, coveredW, viewBottom - top, primary, kViewX,
                                         kViewY + top);
        changed |= plat::fillChanged(into, coveredW, top, width - coveredW, viewBottom - top, back);
        const int below = std::max(coveredH, top);
        changed |= plat::fillChanged(into, 0, below, width, bottom - below, back);
        return changed;
    };
    // A line of text reaches at most two font heights below its top: the text band is put
    // together aside, text included, and only then compared with what the flip copy shows.
    const int bandRows = std::clamp(2 * flip.fontPixelSize(), 0, height);
    if (textBand_.width() != width || textBand_.height() != bandRows) {
        textBand_ = plat::Surface::colour(width, bandRows);
    }
    textBand_.setBackColor(back);
    textBand_.setForeColor(flip.foreColor());
    textBand_.setFontPixelSize(flip.fontPixelSize());
    putView(textBand_, 0, bandRows);
    sv_.text.textOut(textBand_, 0, 0, rate);
    const ShownView below{primary.generation(), flip.generation(), back, bandRows};
    bool changed = below != shownView_ && putView(flip, bandRows, height);
    changed |= plat::copyChanged(flip, 0, 0, width, bandRows, textBand_, 0, 0);
    shownView_ = {below.primary, flip.generation(), back, bandRows};
    return changed;
}

void FieldLoop::inactiveWait() {
    plat::EventWait waits(sv_);
    while (running() && !sv_.windows.isActive(form_))
        waits.pass(kInactiveWaitMs);
}

void FieldLoop::frameWait() {
    // No catching up: a frame that overran starts the next one at once.
    plat::EventWait waits(sv_);
    while (running()) {
        const std::uint32_t elapsed = sv_.clock.timeGetTime() - frameStart_;
        if (elapsed >= kFramePeriodMs) break;
        waits.pass(kFramePeriodMs - elapsed);
    }
}

void FieldLoop::finish() {
    if (finished_) return;
    finished_ = true;
    if (sv_.session) sv_.session->gameEnds(digest_);
    form_.closeState = field::kShuttingDown;
    field::releaseSurfaces(form_.graphics);
    sv_.windows.unload(form_);
    sv_.clock.endPeriod();
}

void runMainLoop(field::MainWindow& form, field::World& world, plat::Services& sv, PlayAids aids) {
    FieldLoop loop(form, world, sv, std::move(aids));
    while (loop.runOneFrame()) {
    }
    loop.finish();
}

namespace {

// The quest as read, its message boxes in the player's language.
void play(field::MainWindow& form, plat::Services& sv, const field::World& scenario,
          const ScenarioTranslations& translations, PlayAids aids) {
    TranslatedBoxes boxes(sv, translations);
    field::World world;
    startUp(form, world, boxes.services(), scenario);
    runMainLoop(form, world, boxes.services(), std::move(aids));
}

} // namespace

void runBuiltInDemo(field::MainWindow& form, plat::Services& sv, PlayAids aids) {
    field::World demo;
    std::vector<field::ScenarioError> errors;
    ScenarioTranslations translations;
    if (!field::readBuiltInScenario(demo, errors, &translations))
        sv.process.exitNow(kExitBuildFailed);
    play(form, sv, demo, translations, std::move(aids));
}

void runScenario(field::MainWindow& form, plat::Services& sv, const std::string& folder,
                 PlayAids aids) {
    field::World scenario;
    std::vector<field::ScenarioError> errors;
    ScenarioTranslations translations;
    if (!field::readScenarioFolder(folder, scenario, errors, nullptr, &translations)) {
        std::string text;
        for (const field::ScenarioError& e : errors)
            text += field::errorText(e) + "\n";
        text.pop_back();
        sv.windows.messageBox(common::fromUtf8(text), common::fromUtf8(sv.process.exeName()),
                              plat::MsgButtons::Ok, plat::MsgIcon::Critical);
        sv.process.exitNow(kExitBuildFailed);
    }
    play(form, sv, scenario, translations, std::move(aids));
}

} // namespace field
