#include "field/mdlMain.h"

#include <algorithm>
#include <string>

#include "common/mdlCommon.h"
#include "field/graphics/mdlChipDraw.h"
#include "field/graphics/mdlGraphic.h"
#include "field/mdlDataCtrl.h"
#include "field/mdlMainDigest.h"
#include "field/mdlRxSGlue.h"
#include "field/mdlScenario.h"
#include "field/script/mdlScriptProcesser.h"
#include "platform/EventWait.h"

namespace mdlMain {

namespace {

// The visible part of the composition surface and the magnified square.
constexpr int kViewX = 64, kViewY = 32, kViewWidth = 384, kViewHeight = 192;
constexpr int kZoomSource = 64, kZoomTarget = 128;
constexpr int kExitBuildFailed = 1;

} // namespace

void psFrameCount(FrameCounter& fc, std::uint32_t now) {
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
void prepareWindow(field::frmMain& form) {
    form.closeRequested = 0;
    form.closeState = field::kRunning;
    form.layout();

    const plat::PictureBox& mask25 = form.PicShadow25Mask;
    mdlGraphic::pfInitShadeMasks(form.graphics, mask25.width, mask25.height, &mask25.surface,
                                 &form.PicShadow50Mask.surface, &form.PicShadow75Mask.surface);

    mdlRxSGlue::psConfigureAtStartup(form.searchers);
}

} // namespace

void psStartUp(field::frmMain& form, field::World& world, plat::Services& sv) {
    prepareWindow(form);

    world = field::World{};
    field::initPlayer(world);

    if (!mdlDataCtrl::pfBuildMap(world, sv)) sv.process.exitNow(kExitBuildFailed);
    if (!mdlDataCtrl::pfBuildScripts(world)) sv.process.exitNow(kExitBuildFailed);
    if (!mdlDataCtrl::pfBuildEventObjects(world, form.searchers)) {
        sv.process.exitNow(kExitBuildFailed);
    }

    sv.windows.show(form);
}

void psStartUp(field::frmMain& form, field::World& world, plat::Services& sv,
               const field::World& scenario) {
    prepareWindow(form);
    world = scenario;
    mdlRxSGlue::pfSetGrid(form.searchers, mdlRxSGlue::pfObstacleGrid(world));
    sv.windows.show(form);
}

FieldLoop::FieldLoop(field::frmMain& form, field::World& world, plat::Services& sv)
    : form_(form), world_(world), sv_(sv), move_{sv, form.mouse, form.searchers},
      digest_([this] { return pfWorldDigest(world_); }) {
    surfaceWidth_ = form_.PicPrimarySurface.width;
    surfaceHeight_ = form_.PicPrimarySurface.height;
    sv_.clock.beginPeriod();
    key_ = form_.PicCharChips.surface.pixel(2, 2);
    sv_.random.mix(sv_.clock.timeGetTime());
    mdlGraphic::pfInitTransWork(form_.graphics, &form_.PicPrimarySurface.surface,
                                &form_.PicPrimarySurface.surface);
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
    if (sv_.session) sv_.session->frameBegins(digest_);
    frameStart_ = sv_.clock.timeGetTime();
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

void FieldLoop::frameSteps() {
    mdlScriptProcesser::psRunFrameScripts(world_, sv_);
    psActionKeyPoll(world_, move_);
    psMouseWalk(world_, move_);
    psKeyboardMove(world_, move_);
    psActionStep(world_, move_);
    psStepProgress(world_, move_);

    mdlChipDraw::ViewControls view;
    for (std::size_t i = 0; i < view.chkLayerSet.size(); ++i) {
        view.chkLayerSet[i] = &form_.chkLayerSet[i];
    }
    for (std::size_t i = 0; i < view.chkLayer.size(); ++i)
        view.chkLayer[i] = &form_.chkLayer[i];
    view.lblXY = &form_.lblXY;
    const mdlChipDraw::Sheets sheets{form_.PicMapChips.surface, form_.PicCharChips.surface,
                                     form_.PicEveChips.surface, form_.PicPrimarySurface.surface};
    mdlChipDraw::psRenderFrame(form_.graphics, key_, world_.shadeLevel, sheets, world_,
                               mdlChipDraw::kPlayerDrawX, mdlChipDraw::kPlayerDrawY, surfaceWidth_,
                               surfaceHeight_, view);

    present();
    psFrameCount(fps_, sv_.clock.timeGetTime());

    sv_.text.textOut(form_.PicFlipCopy.surface, 0, 0, "FPS:" + std::to_string(fps_.shownRate));
    plat::stretchBlt(form_.PicBackFiled2.surface, 0, 0, kZoomTarget, kZoomTarget,
                     form_.PicPrimarySurface.surface, mdlChipDraw::kPlayerDrawX,
                     mdlChipDraw::kPlayerDrawY, kZoomSource, kZoomSource);
    sv_.windows.repaint(form_.PicFlipCopy);
}

void FieldLoop::present() {
    plat::Surface& flip = form_.PicFlipCopy.surface;
    const plat::Surface& primary = form_.PicPrimarySurface.surface;
    // The view is cleared, then the copy covers its top-left 384 x 192 (as far as both surfaces
    // reach): only the rest needs the back colour, which gives the same picture.
    const int coveredW =
        std::clamp(std::min(kViewWidth, primary.width() - kViewX), 0, flip.width());
    const int coveredH =
        std::clamp(std::min(kViewHeight, primary.height() - kViewY), 0, flip.height());
    for (int y = 0; y < flip.height() && !flip.isMono(); ++y) {
        std::uint32_t* row = flip.row(y);
        const int from = y < coveredH ? coveredW : 0;
        std::fill(row + from, row + flip.width(), flip.backColor());
    }
    if (flip.isMono()) flip.clear();
    flip.touch();
    plat::bitBlt(flip, 0, 0, kViewWidth, kViewHeight, primary, kViewX, kViewY, plat::Rop::SrcCopy);
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
    mdlGraphic::pfReleaseGraphics(form_.graphics);
    sv_.windows.unload(form_);
    sv_.clock.endPeriod();
}

void psMainLoop(field::frmMain& form, field::World& world, plat::Services& sv) {
    FieldLoop loop(form, world, sv);
    while (loop.runOneFrame()) {
    }
    loop.finish();
}

void frmMain_Load(field::frmMain& form, plat::Services& sv) {
    field::World world;
    psStartUp(form, world, sv);
    psMainLoop(form, world, sv);
}

void frmMain_LoadScenario(field::frmMain& form, plat::Services& sv, const std::string& folder) {
    field::World scenario;
    std::vector<mdlScenario::Error> errors;
    if (!mdlScenario::pfReadFolder(folder, scenario, errors)) {
        std::string text;
        for (const mdlScenario::Error& e : errors)
            text += mdlScenario::pfErrorText(e) + "\n";
        text.pop_back();
        sv.windows.messageBox(mdlCommon::fromUtf8(text), mdlCommon::fromUtf8(sv.process.exeName()),
                              plat::MsgButtons::Ok, plat::MsgIcon::Critical);
        sv.process.exitNow(kExitBuildFailed);
    }
    field::World world;
    psStartUp(form, world, sv, scenario);
    psMainLoop(form, world, sv);
}

} // namespace mdlMain
