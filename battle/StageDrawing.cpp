// The battle stage: the background drawn once into flipPicture, then each frame the status texts
// and bars, the card faces, the overlays, the cursor and the frame rate on stageView.
#include <algorithm>
#include <string>

#include "battle/Battle.h"
#include "platform/MaskedCopy.h"
#include "platform/Translator.h"

namespace battle {

using namespace battle;

namespace {

constexpr auto num = common::decimal;

void transparent(plat::Surface& dst, int x, int y, const plat::Surface& src, plat::Color key) {
    plat::maskedCopy(dst, x, y, src.width(), src.height(), src, 0, 0, key);
}

// Bar length for value out of maximum on a 60-pixel bar; an empty maximum draws nothing and
// the bar never leaves its background.
int barWidth(std::int32_t value, std::int32_t maximum) {
    if (maximum == 0) return 0;
    const double w = common::roundHalfEven(static_cast<double>(value) / maximum * kBarWidth);
    return static_cast<int>(std::clamp(w, 0.0, static_cast<double>(kBarWidth)));
}

void drawStatus(plat::Services& sv, const LoopState& loop, BattleWindow& form,
                const StatusLayout& at, const Combatant& who, const SideState& side) {
    plat::Surface& stage = form.stageView.surface;
    plat::Surface& text16 = form.textSize16Picture.surface;
    form.textSize16Picture.cls();
    common::textOut(sv, u"HP :" + num(who.hp), stage, at.hpText.x, at.hpText.y);
    plat::bitBlt(stage, at.hpBar.x, at.hpBar.y, barWidth(who.hp, who.hpMax), kBarHeight,
                 form.bluePicture.surface, 0, 0, plat::Rop::SrcCopy);
    common::textOut(sv, u"MP :" + num(who.mp), stage, at.mpText.x, at.mpText.y);
    plat::bitBlt(stage, at.mpBar.x, at.mpBar.y, barWidth(who.mp, who.mpMax), kBarHeight,
                 form.bluePicture.surface, 0, 0, plat::Rop::SrcCopy);
    common::textOut(sv, plat::shownText(sv, "battle", TR_TEXT("battle", "残り枚数")), stage,
                    at.remaining.x, at.remaining.y);
    // What the counter shows is the draws a shuffle allows minus the cards used, not the
    // cards left in the pile.
    common::textOut(sv, num(static_cast<std::int64_t>(kDrawsPerShuffle) - side.usedCount), text16,
                    0, 0);
    plat::maskedCopy(stage, at.remaining.x + 55, at.remaining.y - 5, 35, 25, text16, 0, 0,
                     loop.key);
}

void drawHand(plat::Services& sv, const SharedBattleState& shared, const LoopState& loop,
              BattleWindow& form, const Hand& hand, int top) {
    plat::Surface& stage = form.stageView.surface;
    for (int s = 0; s < kHandSize; ++s) {
        const Card& c = hand[s];
        const int left = s * kSlotPitch + kSlotLeft;
        if (c.state != kCardUsed && c.kind != 0) {
            form.textSize36Picture.cls();
            common::textOut(sv, num(c.effect), form.textSize36Picture.surface, 0, 0);
            transparent(stage, s * kSlotPitch + 10, top + 5, form.textSize36Picture.surface,
                        loop.key);
            form.textSize16Picture.cls();
            std::u16string shortName;
            if (c.kind > 0 && static_cast<std::size_t>(c.kind) < shared.actions.size()) {
                shortName = shared.actions[static_cast<std::size_t>(c.kind)].shortName;
            }
            common::textOut(sv, plat::shownText(sv, "battle", shortName),
                            form.textSize16Picture.surface, 0, 0);
            transparent(stage, s * kSlotPitch + 20, top + 30, form.textSize16Picture.surface,
                        loop.key);
        }
        if (c.state == kCardStored)
            transparent(stage, left, top, form.maskPictures[0].surface, loop.key);
        if (c.state == kCardChosen)
            transparent(stage, left, top, form.maskPictures[1].surface, loop.key);
    }
}

void gatherInputs(const SharedBattleState& shared, const LoopState& loop, const BattleWindow& form,
                  const Combatant& player, const Combatant& monster, StageInputs& in) {
    const plat::Surface& stage = form.stageView.surface;
    in.pictures = {
        form.flipPicture.surface.generation(),       form.bluePicture.surface.generation(),
        form.maskPictures[0].surface.generation(),   form.maskPictures[1].surface.generation(),
        form.cursorPictures[0].surface.generation(), form.cursorPictures[1].surface.generation()};
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
    in.cursor = form.cursorCard;
    in.frameRate = loop.frameRate.lastSecond;
}

// The background, then the status of both sides, both hands, the cursor and the frame rate.
void drawFrame(plat::Services& sv, SharedBattleState& shared, LoopState& loop, BattleWindow& form,
               const Combatant& player, const Combatant& monster) {
    plat::Surface& stage = form.stageView.surface;
    const plat::Surface& flip = form.flipPicture.surface;
    plat::bitBlt(stage, 0, 0, flip.width(), flip.height(), flip, 0, 0, plat::Rop::SrcCopy);

    drawStatus(sv, loop, form, loop.myLayout, player, loop.me);
    drawStatus(sv, loop, form, loop.enemyLayout, monster, loop.enemy);

    drawHand(sv, shared, loop, form, shared.myHand, kMyRowTop);
    drawHand(sv, shared, loop, form, loop.enemyHand, kEnemyRowTop);

    const std::int32_t c = form.cursorCard;
    if (c >= 0 && c < kHandSize) {
        transparent(stage, c * kSlotPitch + kSlotLeft, kMyRowTop, form.cursorPictures[1].surface,
                    loop.key);
        transparent(stage, c * kSlotPitch + 25, kMyRowTop - 20, form.cursorPictures[0].surface,
                    loop.key);
    }

    common::textOut(sv, u"FPS:" + num(loop.frameRate.lastSecond), stage, kFrameRateLeft,
                    kFrameRateTop);
}

} // namespace

StatusLayout playerLayout(const BattleWindow& form) {
    const plat::Label& l = form.playerFaceLabel;
    StatusLayout at;
    at.face = {l.left, l.top};
    at.faceWidth = form.playerFacePicture.surface.width();
    at.faceHeight = form.playerFacePicture.surface.height();
    at.name = {l.left, l.top - 15};
    at.hpText = {l.left, l.top - 60};
    at.hpBar = {l.left + 50, l.top - 60};
    at.mpText = {l.left, l.top - 40};
    at.mpBar = {l.left + 50, l.top - 40};
    at.remaining = {l.left, l.top - 80};
    return at;
}

StatusLayout enemyLayout(const BattleWindow& form) {
    const plat::Label& l = form.enemyFaceLabel;
    const int bottom = l.top + l.height;
    StatusLayout at;
    at.face = {l.left, l.top};
    at.faceWidth = form.enemyFacePicture.surface.width();
    at.faceHeight = form.enemyFacePicture.surface.height();
    at.name = {l.left, bottom + 5};
    at.hpText = {l.left, bottom + 20};
    at.hpBar = {l.left + 50, bottom + 20};
    at.mpText = {l.left, bottom + 40};
    at.mpBar = {l.left + 50, bottom + 40};
    at.remaining = {l.left, bottom + 80};
    return at;
}

void drawBackground(plat::Services& sv, LoopState& loop, BattleWindow& form,
                    const Combatant& player, const Combatant& monster) {
    plat::Surface& flip = form.flipPicture.surface;
    form.flipPicture.setBackColor(plat::kWhite);
    for (int s = 0; s < kHandSize; ++s) {
        const int left = s * kSlotPitch + kSlotLeft;
        plat::maskedCopy(flip, left, kMyRowTop, design::kCardWidth, design::kCardHeight,
                         form.playerCardPicture.surface, 0, 0, loop.key);
        plat::maskedCopy(flip, left, kEnemyRowTop, design::kCardWidth, design::kCardHeight,
                         form.enemyCardPicture.surface, 0, 0, loop.key);
    }
    struct Side {
        const StatusLayout& at;
        const plat::PictureBox& face;
        const Combatant& who;
    };
    for (const Side& side : {Side{loop.myLayout, form.playerFacePicture, player},
                             Side{loop.enemyLayout, form.enemyFacePicture, monster}}) {
        plat::bitBlt(flip, side.at.face.x, side.at.face.y, side.at.faceWidth, side.at.faceHeight,
                     side.face.surface, 0, 0, plat::Rop::SrcCopy);
        common::textOut(sv, plat::shownText(sv, "battle", side.who.name), flip, side.at.name.x,
                        side.at.name.y);
        plat::bitBlt(flip, side.at.hpBar.x, side.at.hpBar.y, kBarWidth, kBarHeight,
                     form.redPicture.surface, 0, 0, plat::Rop::SrcCopy);
        plat::bitBlt(flip, side.at.mpBar.x, side.at.mpBar.y, kBarWidth, kBarHeight,
                     form.redPicture.surface, 0, 0, plat::Rop::SrcCopy);
    }
    transparent(flip, kMonsterLeft, kMonsterTop, form.monsterPicture.surface, loop.key);
}

void drawStage(plat::Services& sv, SharedBattleState& shared, LoopState& loop, BattleWindow& form,
               const Combatant& player, const Combatant& monster) {
    // The frame rate is counted every frame, drawn or not; the clock does not move while drawing.
    common::countFrame(sv, loop.frameRate);
    gatherInputs(shared, loop, form, player, monster, loop.next);
    const plat::Surface& stage = form.stageView.surface;
    if (stage.generation() != loop.drawnStamp || loop.next != loop.drawn) {
        std::swap(loop.drawn, loop.next);
        drawFrame(sv, shared, loop, form, player, monster);
        loop.drawnStamp = stage.generation();
    }
    sv.windows.repaint(form.flipPicture);
    sv.windows.repaint(form.stageView);
}

} // namespace battle
