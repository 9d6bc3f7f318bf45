// The battle stage: the background drawn once into picFlip, then each frame the status texts
// and bars, the card faces, the overlays, the cursor and the frame rate on picStage.
#include <algorithm>
#include <string>

#include "battle/mdlBattleFunction.h"
#include "platform/MaskedCopy.h"

namespace mdlBattleFunction {

using namespace battle;

namespace {

constexpr auto num = mdlCommon::pfDecimal;

void transparent(plat::Surface& dst, int x, int y, const plat::Surface& src, plat::Color key) {
    plat::maskedCopy(dst, x, y, src.width(), src.height(), src, 0, 0, key);
}

// Bar length for value out of maximum on a 60-pixel bar; an empty maximum draws nothing and
// the bar never leaves its background.
int barWidth(std::int32_t value, std::int32_t maximum) {
    if (maximum == 0) return 0;
    const double w = mdlCommon::pfRoundHalfEven(static_cast<double>(value) / maximum * kBarWidth);
    return static_cast<int>(std::clamp(w, 0.0, static_cast<double>(kBarWidth)));
}

void drawStatus(plat::Services& sv, const typBattleLoop& loop, frmBattle& form,
                const typStatusLayout& at, const typChara& who, const typSideState& side) {
    plat::Surface& stage = form.picStage.surface;
    plat::Surface& text16 = form.picTextSize16.surface;
    form.picTextSize16.cls();
    mdlCommon::pfTextOut(sv, u"HP :" + num(who.hp), stage, at.hpText.x, at.hpText.y);
    plat::bitBlt(stage, at.hpBar.x, at.hpBar.y, barWidth(who.hp, who.hpMax), kBarHeight,
                 form.picBlue.surface, 0, 0, plat::Rop::SrcCopy);
    mdlCommon::pfTextOut(sv, u"MP :" + num(who.mp), stage, at.mpText.x, at.mpText.y);
    plat::bitBlt(stage, at.mpBar.x, at.mpBar.y, barWidth(who.mp, who.mpMax), kBarHeight,
                 form.picBlue.surface, 0, 0, plat::Rop::SrcCopy);
    mdlCommon::pfTextOut(sv, u"残り枚数", stage, at.remaining.x, at.remaining.y);
    // What the counter shows is the draws a shuffle allows minus the cards used, not the
    // cards left in the pile.
    mdlCommon::pfTextOut(sv, num(static_cast<std::int64_t>(kDrawsPerShuffle) - side.usedCount),
                         text16, 0, 0);
    plat::maskedCopy(stage, at.remaining.x + 55, at.remaining.y - 5, 35, 25, text16, 0, 0,
                     loop.key);
}

void drawHand(plat::Services& sv, const typBattleShared& shared, const typBattleLoop& loop,
              frmBattle& form, const Hand& hand, int top) {
    plat::Surface& stage = form.picStage.surface;
    for (int s = 0; s < kHandSize; ++s) {
        const typCard& c = hand[s];
        const int left = s * kSlotPitch + kSlotLeft;
        if (c.state != kCardUsed && c.kind != 0) {
            form.picTextSize36.cls();
            mdlCommon::pfTextOut(sv, num(c.effect), form.picTextSize36.surface, 0, 0);
            transparent(stage, s * kSlotPitch + 10, top + 5, form.picTextSize36.surface, loop.key);
            form.picTextSize16.cls();
            std::u16string shortName;
            if (c.kind > 0 && static_cast<std::size_t>(c.kind) < shared.actions.size()) {
                shortName = shared.actions[static_cast<std::size_t>(c.kind)].shortName;
            }
            mdlCommon::pfTextOut(sv, shortName, form.picTextSize16.surface, 0, 0);
            transparent(stage, s * kSlotPitch + 20, top + 30, form.picTextSize16.surface, loop.key);
        }
        if (c.state == kCardStored)
            transparent(stage, left, top, form.picMask[0].surface, loop.key);
        if (c.state == kCardChosen)
            transparent(stage, left, top, form.picMask[1].surface, loop.key);
    }
}

void gatherInputs(const typBattleShared& shared, const typBattleLoop& loop, const frmBattle& form,
                  const typChara& player, const typChara& monster, typStageInputs& in) {
    const plat::Surface& stage = form.picStage.surface;
    in.pictures = {form.picFlip.surface.generation(),      form.picBlue.surface.generation(),
                   form.picMask[0].surface.generation(),   form.picMask[1].surface.generation(),
                   form.picCursor[0].surface.generation(), form.picCursor[1].surface.generation()};
    in.key = loop.key;
    in.fore = stage.foreColor();
    in.fontPx = stage.fontPixelSize();
    in.status = {player.hp,  player.hpMax,  player.mp,  player.mpMax,  loop.me.usedCount,
                 monster.hp, monster.hpMax, monster.mp, monster.mpMax, loop.enemy.usedCount};
    in.mine = shared.myHand;
    in.theirs = loop.enemyHand;
    // Assigned in place: the texts' memory is reused from frame to frame.
    in.shortNames.resize(shared.actions.size());
    for (std::size_t i = 0; i < shared.actions.size(); ++i)
        in.shortNames[i] = shared.actions[i].shortName;
    in.cursor = form.plngCursorView;
    in.fps = loop.fps.lngFps;
}

// The background, then the status of both sides, both hands, the cursor and the frame rate.
void drawFrame(plat::Services& sv, typBattleShared& shared, typBattleLoop& loop, frmBattle& form,
               const typChara& player, const typChara& monster) {
    plat::Surface& stage = form.picStage.surface;
    const plat::Surface& flip = form.picFlip.surface;
    plat::bitBlt(stage, 0, 0, flip.width(), flip.height(), flip, 0, 0, plat::Rop::SrcCopy);

    drawStatus(sv, loop, form, loop.myLayout, player, loop.me);
    drawStatus(sv, loop, form, loop.enemyLayout, monster, loop.enemy);

    drawHand(sv, shared, loop, form, shared.myHand, kMyRowTop);
    drawHand(sv, shared, loop, form, loop.enemyHand, kEnemyRowTop);

    const std::int32_t c = form.plngCursorView;
    if (c >= 0 && c < kHandSize) {
        transparent(stage, c * kSlotPitch + kSlotLeft, kMyRowTop, form.picCursor[1].surface,
                    loop.key);
        transparent(stage, c * kSlotPitch + 25, kMyRowTop - 20, form.picCursor[0].surface,
                    loop.key);
    }

    mdlCommon::pfTextOut(sv, u"FPS:" + num(loop.fps.lngFps), stage, kFpsLeft, kFpsTop);
}

} // namespace

typStatusLayout pfMyLayout(const frmBattle& form) {
    const plat::Label& l = form.lblMyFace;
    typStatusLayout at;
    at.face = {l.left, l.top};
    at.faceWidth = form.picMyFace.surface.width();
    at.faceHeight = form.picMyFace.surface.height();
    at.name = {l.left, l.top - 15};
    at.hpText = {l.left, l.top - 60};
    at.hpBar = {l.left + 50, l.top - 60};
    at.mpText = {l.left, l.top - 40};
    at.mpBar = {l.left + 50, l.top - 40};
    at.remaining = {l.left, l.top - 80};
    return at;
}

typStatusLayout pfEnemyLayout(const frmBattle& form) {
    const plat::Label& l = form.lblEnemyFace;
    const int bottom = l.top + l.height;
    typStatusLayout at;
    at.face = {l.left, l.top};
    at.faceWidth = form.picEnemyFace.surface.width();
    at.faceHeight = form.picEnemyFace.surface.height();
    at.name = {l.left, bottom + 5};
    at.hpText = {l.left, bottom + 20};
    at.hpBar = {l.left + 50, bottom + 20};
    at.mpText = {l.left, bottom + 40};
    at.mpBar = {l.left + 50, bottom + 40};
    at.remaining = {l.left, bottom + 80};
    return at;
}

void psDrawBackground(plat::Services& sv, typBattleLoop& loop, frmBattle& form,
                      const typChara& player, const typChara& monster) {
    plat::Surface& flip = form.picFlip.surface;
    form.picFlip.setBackColor(plat::kWhite);
    for (int s = 0; s < kHandSize; ++s) {
        const int left = s * kSlotPitch + kSlotLeft;
        plat::maskedCopy(flip, left, kMyRowTop, frmBattleDesign::kCardWidth,
                         frmBattleDesign::kCardHeight, form.picMyCard.surface, 0, 0, loop.key);
        plat::maskedCopy(flip, left, kEnemyRowTop, frmBattleDesign::kCardWidth,
                         frmBattleDesign::kCardHeight, form.picEnemyCard.surface, 0, 0, loop.key);
    }
    struct Side {
        const typStatusLayout& at;
        const plat::PictureBox& face;
        const typChara& who;
    };
    for (const Side& side : {Side{loop.myLayout, form.picMyFace, player},
                             Side{loop.enemyLayout, form.picEnemyFace, monster}}) {
        plat::bitBlt(flip, side.at.face.x, side.at.face.y, side.at.faceWidth, side.at.faceHeight,
                     side.face.surface, 0, 0, plat::Rop::SrcCopy);
        mdlCommon::pfTextOut(sv, side.who.name, flip, side.at.name.x, side.at.name.y);
        plat::bitBlt(flip, side.at.hpBar.x, side.at.hpBar.y, kBarWidth, kBarHeight,
                     form.picRed.surface, 0, 0, plat::Rop::SrcCopy);
        plat::bitBlt(flip, side.at.mpBar.x, side.at.mpBar.y, kBarWidth, kBarHeight,
                     form.picRed.surface, 0, 0, plat::Rop::SrcCopy);
    }
    transparent(flip, kMonsterLeft, kMonsterTop, form.picMonster.surface, loop.key);
}

void psDrawStage(plat::Services& sv, typBattleShared& shared, typBattleLoop& loop, frmBattle& form,
                 const typChara& player, const typChara& monster) {
    // The frame rate is counted every frame, drawn or not; the clock does not move while drawing.
    mdlCommon::psFpsCount(sv, loop.fps);
    gatherInputs(shared, loop, form, player, monster, loop.next);
    const plat::Surface& stage = form.picStage.surface;
    if (stage.generation() != loop.drawnStamp || loop.next != loop.drawn) {
        std::swap(loop.drawn, loop.next);
        drawFrame(sv, shared, loop, form, player, monster);
        loop.drawnStamp = stage.generation();
    }
    sv.windows.repaint(form.picFlip);
    sv.windows.repaint(form.picStage);
}

} // namespace mdlBattleFunction
