// The English catalog against the code: every text a player reads has a translation (the
// battle's composed messages included, in every turn shape), the language does not reach the
// battle's state, and no translated caption is wider than its control at zoom 1.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <random>

#include "QtTestApp.h"
#include "battle/Battle.h"
#include "battle/BattleContent.h"
#include "battle/StartWindow.h"
#include "field/MainWindow.h"
#include "field/ScenarioTranslations.h"
#include "platform/qt/FormView.h"
#include "platform/qt/QtText.h"
#include "platform/qt/QtTranslator.h"
#include "platform/testing/TestSeams.h"

namespace {

// Japanese script or full-width forms: a text with any of them is not yet English.
bool japanese(std::u16string_view text) {
    for (const char16_t c : text)
        if ((c >= 0x3000 && c <= 0x9FFF) || (c >= 0xFF00 && c <= 0xFFEF)) return true;
    return false;
}

struct English {
    English() {
        qtTestApp();
        translator.install();
    }
    plat::qt::QtTranslator translator{"en"};
};

English& english() {
    static English* e = new English;
    return *e;
}

std::vector<const plat::Form*> allForms(battle::StartWindow& select, field::MainWindow& main) {
    return {&select, &select.battleForm, &main};
}

TEST(Translations, ChoosingFollowsTheOptionThenTheDesktopThenFallsBackToEnglish) {
    using plat::qt::chooseLanguage;
    EXPECT_EQ(chooseLanguage("ja", {"en-US"}), "ja");
    EXPECT_EQ(chooseLanguage("", {"fr-FR", "ja-JP", "en"}), "ja");
    EXPECT_EQ(chooseLanguage("", {"en-GB", "ja"}), "en");
    EXPECT_EQ(chooseLanguage("", {"fr-FR", "C"}), "en");
    EXPECT_EQ(chooseLanguage("", {}), "en");
    const std::u16string_view parts[] = {u"A", u"B"};
    EXPECT_EQ(plat::fillIn(u"%2 hits %1 at 100% (%3)", parts), u"B hits A at 100% (%3)");
}

TEST(Translations, EveryProgramTextHasAnEnglishTranslation) {
    const plat::ITranslator& en = english().translator;
    plat::testing::TestServices ts;
    battle::StartWindow select(ts.services);
    field::MainWindow main(ts.services);
    for (const plat::Form* form : allForms(select, main)) {
        std::vector<std::u16string> captions{form->caption};
        for (const plat::Control* c : form->controls())
            captions.push_back(c->caption);
        for (const std::u16string& caption : captions)
            EXPECT_FALSE(japanese(en.translate(form->name, caption)))
                << form->name << ": " << common::toUtf8(caption);
    }
    battle::SharedBattleState shared;
    battle::Combatant player, monster;
    battle::setActions(shared.actions);
    battle::setCombatants(player, monster);
    std::vector<std::u16string> battleTexts{player.name, monster.name,
                                            std::u16string(battle::kBattleHelpText)};
    for (const battle::Action& a : shared.actions) {
        battleTexts.push_back(a.name);
        battleTexts.push_back(a.shortName);
    }
    for (const std::u16string& text : battleTexts)
        EXPECT_FALSE(japanese(en.translate("battle", text))) << common::toUtf8(text);
    for (std::u16string_view text : field::reportTexts())
        EXPECT_FALSE(japanese(en.translate("report", text)))
            << common::toUtf8(std::u16string(text));
    // A text marked in the code but not translated in the catalog yet.
    QFile catalog(QStringLiteral(HARUVEL_SOURCE_DIR "/translations/en.ts"));
    ASSERT_TRUE(catalog.open(QIODevice::ReadOnly));
    EXPECT_FALSE(catalog.readAll().contains("type=\"unfinished\""));
}

// Random hands of free and stored cards, every command: each message the player reads is
// English, and the queue is the same as without a translator.
TEST(Translations, BattleMessagesAreEnglishAndTheQueueDoesNotDependOnTheLanguage) {
    plat::testing::TestServices japaneseSv, englishSv;
    englishSv.services.translator = &english().translator;
    std::mt19937 dice(7);
    const auto roll = [&dice](int lo, int hi) {
        return std::uniform_int_distribution(lo, hi)(dice);
    };
    for (int round = 0; round < 400; ++round) {
        battle::SharedBattleState shared;
        battle::Combatant player, monster;
        battle::setActions(shared.actions);
        battle::setCombatants(player, monster);
        battle::Hand mine{}, theirs{};
        for (battle::Card& c : mine)
            c = {roll(1, 3), roll(1, 6), roll(0, 3) == 0 ? battle::kCardStored : battle::kCardFree};
        for (battle::Card& c : theirs)
            c = {2, roll(1, 6), roll(0, 3) == 0 ? battle::kCardStored : battle::kCardFree};
        mine[0].state = battle::kCardChosen;
        const auto command = static_cast<std::int16_t>(round % 5);
        std::vector<battle::PlaybackStep> queues[2];
        for (int lang = 0; lang < 2; ++lang) {
            plat::testing::TestServices& ts = lang == 0 ? japaneseSv : englishSv;
            ts.random.reseed(static_cast<std::uint64_t>(round));
            battle::Hand m = mine, t = theirs;
            std::int16_t cmd = command;
            ASSERT_TRUE(
                battle::resolveTurn(ts.services, shared, queues[lang], cmd, player, m, monster, t));
        }
        ASSERT_EQ(queues[0].size(), queues[1].size());
        for (std::size_t i = 0; i < queues[1].size(); ++i) {
            const battle::PlaybackStep& step = queues[1][i];
            EXPECT_EQ(step.value1, queues[0][i].value1);
            if (step.code != battle::kStepMessage) continue;
            const std::u16string& shown =
                step.shown.empty() ? std::get<std::u16string>(step.value1) : step.shown;
            EXPECT_FALSE(japanese(shown)) << common::toUtf8(shown);
        }
    }
}

// The room a caption needs in its widget, as the style draws it at the window's font.
int neededWidth(QWidget* w) {
    const QFontMetrics m(w->font());
    if (auto* label = qobject_cast<QLabel*>(w)) return m.horizontalAdvance(label->text());
    if (auto* button = qobject_cast<QPushButton*>(w))
        return m.horizontalAdvance(button->text()) +
               2 * w->style()->pixelMetric(QStyle::PM_ButtonMargin);
    if (auto* box = qobject_cast<QGroupBox*>(w)) return m.horizontalAdvance(box->title()) + 8;
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) return w->sizeHint().width();
    return 0;
}

TEST(Translations, NoEnglishCaptionOverflowsItsControlAtZoomOne) {
    english();
    plat::testing::TestServices ts;
    battle::StartWindow select(ts.services);
    field::MainWindow main(ts.services);
    main.layout();
    main.enlargeClicked();
    for (const plat::Form* form : allForms(select, main)) {
        plat::qt::FormView view(const_cast<plat::Form&>(*form), {});
        for (const plat::Control* c : form->controls()) {
            QWidget* w = view.widgetFor(*c);
            if (c->caption.empty() || w == nullptr) continue;
            EXPECT_LE(neededWidth(w), w->width()) << form->name << "." << c->name;
        }
    }
    // The stage's own texts: a card's short name on its scratch picture, the deck label before
    // its counter.
    QFont shortName = plat::qt::japaneseFont(20), stage = plat::qt::japaneseFont(13);
    battle::SharedBattleState shared;
    battle::setActions(shared.actions);
    for (const battle::Action& a : shared.actions)
        EXPECT_LE(QFontMetrics(shortName).horizontalAdvance(QString::fromStdU16String(
                      english().translator.translate("battle", a.shortName))),
                  battle::design::kShortNameWidth);
    EXPECT_LE(QFontMetrics(stage).horizontalAdvance(
                  QString::fromStdU16String(english().translator.translate("battle", u"残り枚数"))),
              55);
}

} // namespace
