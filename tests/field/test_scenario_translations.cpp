// A quest's translation files: read into tables, refused with FILE:LINE:COLUMN when malformed,
// warned about when an entry matches no script text; the demo's English covers every text its
// scripts show; message boxes show the translation, the rest line by line from the catalog.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/Utility.h"
#include "field/ScenarioReader.h"
#include "field/ScenarioTranslations.h"
#include "platform/Translator.h"
#include "platform/testing/TestSeams.h"
#include "scenarios/Embedded.h"
#include "tekkel/Opcodes.h"

namespace {

using field::File;
using field::ScenarioError;

std::vector<std::string> read(std::string_view text, field::ScenarioTranslations& out) {
    const File files[] = {{"en.lang", text}, {"notes.txt", "\"ignored"}};
    std::vector<ScenarioError> errors;
    field::readTranslations("quest", files, out, errors);
    std::vector<std::string> lines;
    for (const ScenarioError& e : errors)
        lines.push_back(field::errorText(e));
    return lines;
}

TEST(ScenarioTranslations, ReadsEntriesWithTheScriptsEscapes) {
    field::ScenarioTranslations t;
    EXPECT_TRUE(read("; English\n\"門番\\r\\\"です\\u0041\"  ; a comment\n  = \"Gate\\rkeeper\"\n"
                     "\"a\" \n= \"b\"",
                     t)
                    .empty());
    ASSERT_NE(t.table("en"), nullptr);
    EXPECT_EQ(t.table("ja"), nullptr);
    EXPECT_EQ(t.table("en")->at(u"門番\r\"ですA").shown, u"Gate\rkeeper");
    EXPECT_EQ(t.table("en")->at(u"a").line, 4);
}

TEST(ScenarioTranslations, MalformedFilesAreErrorsAtTheirPlace) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"= \"x\"", "quest/en.lang:1:3: a translation without its text; expected the text in "
                    "quotes on the line before"},
        {"\"a\"\n\"b\"\n= \"c\"",
         "quest/en.lang:1:1: this text has no translation; expected a line `= \"...\"` after it"},
        {"\"a\"", "quest/en.lang:1:1: this text has no translation; expected a line `= \"...\"` "
                  "after it"},
        {"\"日本\\q\"", "quest/en.lang:1:4: unknown escape; expected \\r \\n \\t \\\" \\\\ or "
                        "\\uXXXX"},
        {"\"a", "quest/en.lang:1:1: unterminated text; expected a closing '\"'"},
        {"\"a\" b", "quest/en.lang:1:5: expected the end of the line"},
        {"text", "quest/en.lang:1:1: expected a text in quotes, or '=' and its translation"},
        {"\"a\"\n=", "quest/en.lang:2:2: expected the translation in quotes after '='"},
        {"\"a\"\n= \"b\"\n\"a\"\n= \"c\"",
         "quest/en.lang:3:1: this text is already translated at quest/en.lang:1; expected each "
         "once"},
        {"\"\xff\"\n= \"b\"", "quest/en.lang:1:2: the line is not valid UTF-8"},
    };
    for (const auto& c : cases) {
        field::ScenarioTranslations t;
        const std::vector<std::string> errors = read(c.text, t);
        ASSERT_FALSE(errors.empty()) << c.text;
        EXPECT_EQ(errors.front(), c.error) << c.text;
    }
}

std::vector<File> demoFiles(std::string_view extraLang) {
    std::vector<File> files;
    for (const scenarios::EmbeddedFile& f : scenarios::demoFiles())
        files.push_back({std::string(f.name), f.text});
    if (!extraLang.empty()) files.push_back({"fr.lang", extraLang});
    return files;
}

// Every non-ASCII text the demo's scripts show has an English entry;
// an entry for a text no script writes is a warning, a broken file keeps the folder from loading.
TEST(ScenarioTranslations, TheDemoIsCoveredAndStrayEntriesAreWarned) {
    field::World world;
    field::ScenarioTranslations t;
    std::vector<ScenarioError> errors;
    const auto files = demoFiles("\"門番\"\n= \"Gardien\"\n\"もう無い\"\n= \"Plus là\"");
    ASSERT_TRUE(field::readScenario("demo", files, world, errors, nullptr, &t));
    const field::TextTable& en = *t.table("en");
    using tekkel::Op, tekkel::opCode;
    // Labels and branches name jump targets and scripts; every other text is shown.
    const auto branch = [](std::int16_t code) {
        return code == opCode(Op::Jump) || code == opCode(Op::Chain) || code == opCode(Op::Label) ||
               (code >= opCode(Op::JumpIfNotZero) && code <= opCode(Op::JumpIfInvalid));
    };
    const auto check = [&](const field::Script& s) {
        for (const auto& c : s.commands)
            for (const tekkel::Value* v : {&c.p1, &c.p2, &c.p3})
                if (v->isString() && !branch(c.code) &&
                    std::any_of(v->s.begin(), v->s.end(), [](char16_t ch) { return ch > 0x7F; })) {
                    EXPECT_TRUE(en.count(v->s)) << common::toUtf8(v->s);
                }
    };
    for (const auto& s : world.machine.scripts)
        check(s);
    for (const auto& e : world.events)
        check(e.ownScript);
    const std::vector<ScenarioError> warnings = field::unmatchedTranslations(t, world);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(field::errorText(warnings[0]),
              "demo/fr.lang:3:1: warning: no script writes this text; the translation is never "
              "shown");
    EXPECT_FALSE(field::readScenario("demo", demoFiles("\"x\""), world, errors, nullptr, &t));
}

struct Catalog : plat::ITranslator {
    std::string language() const override { return "en"; }
    std::u16string translate(std::string_view context, std::u16string_view s) const override {
        if (context == "report" && s == u"ｴﾗｰ番号") return u"Error number";
        if (context == "report" && s == u"次の障害が発生しました。") return u"A fault.";
        return std::u16string(s);
    }
};

TEST(ScenarioTranslations, BoxesShowTheQuestsTranslationElseTheCatalogsLineByLine) {
    plat::testing::TestServices ts;
    Catalog catalog;
    ts.services.translator = &catalog;
    field::ScenarioTranslations t;
    ASSERT_TRUE(read("\"まだまだ\"\n= \"Too slow!\"", t).empty());
    field::TranslatedBoxes boxes(ts.services, t);
    boxes.services().windows.messageBox(u"まだまだ", u"", plat::MsgButtons::Ok,
                                        plat::MsgIcon::None);
    boxes.services().windows.messageBox(u"次の障害が発生しました。\r\rｴﾗｰ番号 : 5\r?", u"",
                                        plat::MsgButtons::Ok, plat::MsgIcon::Critical);
    ASSERT_EQ(ts.windows.boxes.size(), 2u);
    EXPECT_EQ(ts.windows.boxes[0].text, u"Too slow!");
    EXPECT_EQ(ts.windows.boxes[1].text, u"A fault.\r\rError number : 5\r?");
}

} // namespace
