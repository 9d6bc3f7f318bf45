// The canonical layout: the shipped files and every listing already have it, formatting is
// idempotent and never changes what a text assembles to, and `tekkel fmt` refuses what it
// cannot read.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TekkelFuzzInput.h"
#include "apps/tekkel/TekkelTool.h"
#include "platform/Random.h"
#include "tekkel/Disassembler.h"
#include "tekkel/Formatter.h"

namespace {

std::string readSource(const std::string& path) {
    std::ifstream in(std::string(HARUVEL_SOURCE_DIR) + "/" + path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Formatting `text` is idempotent and keeps its program; answers the formatted text.
std::string checkedFormat(const std::string& text) {
    tekkel::Unit before, after;
    std::vector<tekkel::AssemblyError> errors;
    EXPECT_TRUE(tekkel::assemble(text, before, errors)) << text;
    const std::string formatted = tekkel::formatText(text);
    EXPECT_TRUE(tekkel::assemble(formatted, after, errors)) << formatted;
    EXPECT_TRUE(tekkel::sameProgram(before, after)) << text << "\n--- formatted:\n" << formatted;
    EXPECT_EQ(tekkel::formatText(formatted), formatted);
    return formatted;
}

// The random scripts of the fuzz inputs as `tekkel list` writes them.
std::string randomListing(plat::Random& random) {
    plat::testing::TestServices ts;
    std::vector<std::uint8_t> input(16 + random.next32() % 400);
    for (auto& b : input)
        b = static_cast<std::uint8_t>(random.next32());
    const field::World w = tekkel_fuzz::runInput(ts, input.data(), input.size());
    std::string text = "; random scripts\n";
    for (std::int32_t n = 1; n < static_cast<std::int32_t>(w.machine.scripts.size()); ++n)
        if (!w.machine.scripts[static_cast<std::size_t>(n)].commands.empty())
            text += "\n" + tekkel::listScript(n, w.machine.scripts[static_cast<std::size_t>(n)]);
    for (std::int32_t n = 1; n <= w.eventCount; ++n)
        if (!w.events[static_cast<std::size_t>(n)].ownScript.commands.empty())
            text +=
                "\n" + tekkel::listOwnScript(n, w.events[static_cast<std::size_t>(n)].ownScript);
    return text;
}

// The listing as a hurried hand types it: blanks of any length and kind, commas hugged or
// spaced, names in any case, CRLF, blank lines doubled. With `comments`, also trailing and
// whole-line comments, which the layout keeps.
std::string ragged(const std::string& listing, plat::Random& random, bool comments) {
    const auto blanks = [&](int least) {
        std::string b(least + random.next32() % 3, ' ');
        for (char& c : b)
            if (random.next32() % 4 == 0) c = '\t';
        return b;
    };
    std::istringstream lines(listing);
    std::string out, line;
    while (std::getline(lines, line)) {
        const bool label = !line.empty() && line[0] != ' ' && line[0] != ';' &&
                           !line.starts_with("script ") && !line.starts_with("own ");
        // Comment lines keep their place and their words.
        std::string l = line.starts_with(';') ? line : blanks(0);
        for (std::size_t i = 0; i < line.size() && !line.starts_with(';'); ++i) {
            const char c = line[i];
            if (c == '"') { // strings stay as they are
                std::size_t j = i + 1;
                while (j < line.size() && line[j] != '"')
                    j += line[j] == '\\' ? 2 : 1;
                l += line.substr(i, j + 1 - i);
                i = j;
            } else if (c == ' ') {
                l += blanks(1);
            } else if (c == ',') {
                l += blanks(0) + "," + blanks(0);
            } else {
                l += !label && c >= 'a' && c <= 'z' && random.next32() % 2
                         ? static_cast<char>(c - 32)
                         : c;
            }
        }
        if (comments && random.next32() % 5 == 0) l += blanks(0) + "; note";
        if (comments && random.next32() % 9 == 0) l = blanks(0) + "; a comment line\n" + l;
        out += l + blanks(0) + (random.next32() % 3 ? "\n" : "\r\n");
        if (line.empty() && random.next32() % 2) out += "\n";
    }
    return out;
}

TEST(Formatter, ShippedFilesAreCanonical) {
    for (const char* path : {"scenarios/demo/scripts.tkl", "scenarios/tutorial/tutorial.tkl"}) {
        const std::string text = readSource(path);
        ASSERT_FALSE(text.empty()) << path;
        EXPECT_EQ(checkedFormat(text), text) << path;
    }
}

// Random programs: their listing is canonical, and any raggedness typed into it formats back
// to the same program, idempotently; without comments, to the listing itself.
TEST(Formatter, RaggedRandomProgramsFormatToTheirListing) {
    plat::Random random(20240607);
    for (int k = 0; k < 300; ++k) {
        const std::string listing = randomListing(random);
        ASSERT_EQ(checkedFormat(listing), listing);
        ASSERT_EQ(checkedFormat(ragged(listing, random, false)), listing);
        checkedFormat(ragged(listing, random, true));
        if (HasFailure()) return;
    }
}

TEST(Formatter, LaysOutWhatTheListingNeverWrites) {
    const std::pair<const char*, const char*> cases[] = {
        // A label and its command: the label alone at column 1, the comment with the command.
        {"script 1\n  loop:  inc r1 ;up\n",
         "script 1\nloop:\n    Inc R1                          ;up\n"},
        // Label commands the listing writes as `x:`; the others stay commands.
        {"script 1\nLabel \"x\"\nlabel \"a b\"\n10 \"y\" ; here\n",
         "script 1\nx:\n    Label \"a b\"\ny:                                  ; here\n"},
        // A comment past column 37 keeps one blank; indented comment lines take the indent.
        {"\xEF\xBB\xBF\n\nscript 2 \"n\"\r\n\t; inside\nMessage \"a; b, c\",  , 5 ;long\n\n\n",
         "script 2 \"n\"\n    ; inside\n    Message \"a; b, c\", , 5          ;long\n"},
        {"script 3\n  SayPlain -1, \"a rather long message text\" ; x\n",
         "script 3\n    SayPlain -1, \"a rather long message text\" ; x\n"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(tekkel::formatText(text), expected) << text;
        EXPECT_EQ(tekkel::formatText(expected), expected);
    }
}

TEST(TekkelTool, FmtPrintsOrRewritesAndRefusesBrokenFiles) {
    plat::testing::TempProcess folder;
    const auto file = [&](const std::string& name, const std::string& text) {
        std::ofstream(folder.folder + "/" + name, std::ios::binary) << text;
        return folder.folder + "/" + name;
    };
    const auto read = [](const std::string& path) {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    };
    std::ostringstream out, err;
    const std::string good = file("good.tkl", "script 1\nset r1,2\n");
    const std::string bad = file("bad.tkl", "script 1\n set r1,2 3\n");
    EXPECT_EQ(tekkel_tool::runCommandLine({"fmt", good}, out, err), 0);
    EXPECT_EQ(out.str(), "script 1\n    Set R1, 2\n");
    EXPECT_EQ(tekkel_tool::runCommandLine({"fmt", "--write", bad, good}, out, err), 1);
    EXPECT_EQ(err.str(), bad + ":2:11: expected ',' or the end of the line\n");
    EXPECT_EQ(read(good), out.str());
    EXPECT_EQ(read(bad), "script 1\n set r1,2 3\n");
    EXPECT_EQ(tekkel_tool::runCommandLine({"fmt"}, out, err), 2);
}

} // namespace
