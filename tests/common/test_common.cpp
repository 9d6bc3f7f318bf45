#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <stdexcept>
#include <unistd.h>

#include "common/Utility.h"
#include "platform/testing/TestSeams.h"

using namespace common;
using plat::testing::TestServices;

namespace {

const std::u16string kOverflowBox =
    u"次の障害が発生しました。\r\rｴﾗｰ番号 : 6\rオーバーフローしました。";

std::size_t countLines(const std::string& s) {
    std::size_t n = 0;
    for (std::size_t p = s.find("\r\n"); p != std::string::npos; p = s.find("\r\n", p + 2))
        ++n;
    return n;
}

} // namespace

TEST(FilePath, AppendsOneSeparatorUnlessThereIsOne) {
    EXPECT_EQ(folderPath("/play"), "/play/");
    EXPECT_EQ(folderPath("/play/"), "/play/");
    EXPECT_EQ(folderPath(""), "/");
    // A backslash is a file-name character on this platform, not a separator.
    EXPECT_EQ(folderPath("/play\\"), "/play\\/");
}

TEST(RndNum, StaysInsideTheClosedRange) {
    TestServices t;
    std::set<int> seen;
    for (int i = 0; i < 3000; ++i) {
        const int v = randomInRange(t.services, 0, 23);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 23);
        seen.insert(v);
        if (i % 7 == 0) t.clock.advance(1);
    }
    EXPECT_EQ(seen.size(), 24u);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(randomInRange(t.services, 5, 5), 5);
        EXPECT_EQ(randomInRange(t.services, INT_MAX, INT_MAX), INT_MAX);
        EXPECT_EQ(randomInRange(t.services, INT_MIN, INT_MIN), INT_MIN);
        const int neg = randomInRange(t.services, -5, -3);
        EXPECT_TRUE(neg >= -5 && neg <= -3) << neg;
        const int wide = randomInRange(t.services, INT_MIN, -2); // n = INT_MAX still fits
        EXPECT_LE(wide, -2);
    }
    EXPECT_TRUE(t.windows.boxes.empty());
}

TEST(RndNum, DrawsWithinOneMillisecondDiffer) {
    TestServices t;
    std::set<int> dealt;
    for (int i = 0; i < 48; ++i)
        dealt.insert(randomInRange(t.services, 1, 13));
    EXPECT_GT(dealt.size(), 1u);

    // Still reproducible from the seed and the clock.
    TestServices again;
    TestServices first;
    for (int i = 0; i < 48; ++i)
        EXPECT_EQ(randomInRange(first.services, 0, 999), randomInRange(again.services, 0, 999));
}

TEST(RndNum, ScalingNeverPassesTheUpperBound) {
    const float below1 = std::nextafter(1.0f, 0.0f);
    EXPECT_EQ(scaleDraw(0.0f, 0, 23), 0);
    EXPECT_EQ(scaleDraw(below1, 0, 23), 23);
    EXPECT_EQ(scaleDraw(0.5f, -10, 9), 0);
    // r x 1 + 2^30 rounds to 2^30 + 1 in double precision.
    EXPECT_EQ(scaleDraw(below1, 1 << 30, 1 << 30), 1 << 30);
    EXPECT_EQ(scaleDraw(below1, INT_MAX - 1, INT_MAX), INT_MAX);
    EXPECT_LE(scaleDraw(below1, INT_MIN, -2), -2);
}

TEST(RndNum, OverflowAndReversedRangeAreReportedAndGiveZero) {
    TestServices t;
    t.process.ver = {1, 2, 3};
    EXPECT_EQ(randomInRange(t.services, 0, INT_MAX), 0);
    const std::string log = t.process.readFile("haruvelVer3.1.2_Error.log");
    EXPECT_EQ(log, "[2024/01/31 13:05:09]mdlCommon/pfRndNum:オーバーフローしました。\r\n");
    ASSERT_EQ(t.windows.boxes.size(), 1u);
    const auto& box = t.windows.boxes[0];
    EXPECT_EQ(box.text, kOverflowBox);
    EXPECT_EQ(box.title, u"");
    EXPECT_EQ(box.buttons, plat::MsgButtons::Ok);
    EXPECT_EQ(box.icon, plat::MsgIcon::Critical);

    EXPECT_EQ(randomInRange(t.services, INT_MIN, INT_MAX), 0);
    EXPECT_EQ(randomInRange(t.services, 5, 1), 0);
    EXPECT_EQ(randomInRange(t.services, 5, 4), 0);
    EXPECT_EQ(t.windows.boxes.size(), 4u);
    EXPECT_EQ(countLines(t.process.readFile("haruvelVer3.1.2_Error.log")), 4u);
}

TEST(TextOut, PassesUtf8BytesAndSucceedsOnlyOnOne) {
    TestServices t;
    plat::Surface dc = plat::Surface::colour(100, 20);
    // Three Japanese characters are nine UTF-8 bytes (they were six in a double-byte page).
    EXPECT_TRUE(textOut(t.services, u"勇者が", dc, 4, 5));
    ASSERT_EQ(t.text.calls.size(), 1u);
    EXPECT_EQ(t.text.calls[0].text.size(), 9u);
    EXPECT_EQ(t.text.calls[0].text, "勇者が");
    EXPECT_EQ(t.text.calls[0].x, 4);
    EXPECT_EQ(t.text.calls[0].y, 5);
    EXPECT_TRUE(textOut(t.services, u"FPS:25", dc, 0, 0));
    EXPECT_EQ(t.text.calls[1].text.size(), 6u);

    t.text.result = 0;
    EXPECT_FALSE(textOut(t.services, u"a", dc, 0, 0));
    t.text.result = 2;
    EXPECT_FALSE(textOut(t.services, u"a", dc, 0, 0));
    t.text.result = 1;
    plat::Surface none;
    EXPECT_FALSE(textOut(t.services, u"a", none, 0, 0));
    EXPECT_EQ(t.text.calls.size(), 4u);
    EXPECT_TRUE(t.windows.boxes.empty());
}

TEST(TextOut, AFailingRendererIsReportedAndGivesFalse) {
    struct Throwing : plat::ITextRenderer {
        int textOut(plat::Surface&, int, int, std::string_view) override {
            throw std::runtime_error("font gone");
        }
    } throwing;
    TestServices t;
    plat::Services sv{t.clock, t.keyboard, t.windows, t.process, throwing, t.random};
    plat::Surface dc = plat::Surface::colour(10, 10);
    EXPECT_FALSE(textOut(sv, u"a", dc, 0, 0));
    ASSERT_EQ(t.windows.boxes.size(), 1u);
    EXPECT_EQ(t.process.readFile("haruvelVer0.1.0_Error.log"),
              "[2024/01/31 13:05:09]mdlCommon/pfTextOut:"
              "プロシージャの呼び出し、または引数が不正です。\r\n");
}

TEST(Utf8, ConvertsBothWaysAndReplacesBrokenInput) {
    const std::u16string mixed = u"FPS:ｴﾗｰ番号 ☺ \U0001F600";
    EXPECT_EQ(fromUtf8(toUtf8(mixed)), mixed);
    EXPECT_EQ(toUtf8(u"ｴ"), "\xEF\xBD\xB4");
    EXPECT_EQ(toUtf8(u"\U0001F600").size(), 4u);
    // Unpaired surrogates.
    EXPECT_EQ(toUtf8(std::u16string(1, char16_t(0xD800)) + u"a"), "\xEF\xBF\xBD"
                                                                  "a");
    EXPECT_EQ(toUtf8(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
    // Overlong, truncated, stray continuation, encoded surrogate, beyond U+10FFFF.
    EXPECT_EQ(fromUtf8("\xC0\x80"), u"\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xE3\x81"), u"\uFFFD");
    EXPECT_EQ(fromUtf8("\xE3\x81"
                       "a"),
              u"\uFFFD"
              "a");
    EXPECT_EQ(fromUtf8("\x80"
                       "b"),
              u"\uFFFD"
              "b");
    EXPECT_EQ(fromUtf8("\xED\xA0\x80"), u"\uFFFD");
    EXPECT_EQ(fromUtf8("\xF4\x90\x80\x80"), u"\uFFFD");
    EXPECT_EQ(fromUtf8(""), u"");
}

// The first bad byte is where the text's round trip through UTF-16 first differs from it,
// over texts of pieces well-formed and not (overlong, surrogate, past U+10FFFF, cut short).
TEST(Utf8, FirstBadByteIsWhereTheRoundTripDiffers) {
    const std::string_view pieces[] = {
        "a",        "\xC3\xA9",     "\xE9\x96\x80",     "\xF0\x9F\x98\x80",
        "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE9\x96",
        "\x80",     "\xFF"};
    std::uint32_t seed = 7;
    for (int k = 0; k < 2000; ++k) {
        std::string text;
        for (int n = 0; n < 4; ++n)
            text += pieces[(seed = seed * 1103515245 + 12345) >> 16 & 7 ? (seed >> 8) % 4
                                                                        : (seed >> 8) % 10];
        const std::string back = toUtf8(fromUtf8(text));
        std::size_t at = 0;
        while (at < text.size() && at < back.size() && text[at] == back[at])
            ++at;
        EXPECT_EQ(firstBadUtf8(text), back == text ? std::string_view::npos : at) << text;
    }
}

TEST(Numbers, HalvesRoundToEvenAndDecimalsKeepTheirSign) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<double, double> rounded[] = {{0.5, 0},
                                                 {1.5, 2},
                                                 {2.5, 2},
                                                 {-2.5, -2},
                                                 {-3.5, -4},
                                                 {2.4999, 2},
                                                 {-0.6, -1},
                                                 {inf, inf},
                                                 {0x1p52 - 0.5, 0x1p52},
                                                 {-0x1p52 + 1.5, -0x1p52 + 2},
                                                 {0x1p52 + 1, 0x1p52 + 1},
                                                 {-0.49999999999999994, 0}};
    for (const auto& [x, want] : rounded)
        EXPECT_EQ(roundHalfEven(x), want) << x;
    EXPECT_TRUE(std::isnan(roundHalfEven(std::nan(""))));
    EXPECT_EQ(decimal(0), u"0");
    EXPECT_EQ(decimal(-12), u"-12");
    EXPECT_EQ(decimal(std::numeric_limits<std::int64_t>::min()), u"-9223372036854775808");
}

TEST(FrameCounter, ReportsFramesOfTheLastCompleteSecond) {
    plat::testing::VirtualClock clock(500000);
    FrameRate rate;
    countFrame(clock, rate); // the very first call opens a second
    EXPECT_EQ(rate.lastSecond, 0);
    EXPECT_EQ(rate.count, 1);
    EXPECT_EQ(rate.startTime, 500000);
    for (int i = 0; i < 25; ++i) {
        clock.advance(40);
        countFrame(clock, rate);
        EXPECT_EQ(rate.lastSecond, 0);
    }
    EXPECT_EQ(rate.count, 26); // 1000 ms after the start is not yet past the second
    clock.advance(40);
    countFrame(clock, rate);
    EXPECT_EQ(rate.lastSecond, 26);
    EXPECT_EQ(rate.count, 1);
    EXPECT_EQ(rate.startTime, 501040);
}

TEST(FrameCounter, SurvivesTheTickWrapAndAStuckClock) {
    plat::testing::VirtualClock clock(0xFFFFFFFFu - 100);
    FrameRate rate;
    countFrame(clock, rate);
    for (int i = 0; i < 10; ++i) {
        clock.advance(40); // crosses zero after three frames
        countFrame(clock, rate);
    }
    EXPECT_EQ(rate.count, 11);
    EXPECT_EQ(rate.lastSecond, 0);

    rate.count = INT_MAX;
    countFrame(clock, rate);
    EXPECT_EQ(rate.count, INT_MAX);
}

TEST(ErrorLog, FileNameFollowsTheVersionAndLinesAccumulate) {
    TestServices t;
    t.process.name = "game";
    t.process.ver = {1, 2, 3};
    EXPECT_EQ(errorLogPath(t.process), t.process.folder + "/gameVer3.1.2_Error.log");

    reportError(t.services, 6, u"first", kLabelRndNum);
    reportError(t.services, 5, u"second", kLabelTextOut);
    EXPECT_EQ(t.process.readFile("gameVer3.1.2_Error.log"),
              "[2024/01/31 13:05:09]mdlCommon/pfRndNum:first\r\n"
              "[2024/01/31 13:05:09]mdlCommon/pfTextOut:second\r\n");

    // Another revision writes another file and leaves the old one alone.
    t.process.ver = {1, 2, 4};
    t.process.time = {2025, 12, 1, 7, 0, 3};
    reportError(t.services, 6, u"third", kLabelFilePath);
    EXPECT_EQ(t.process.readFile("gameVer4.1.2_Error.log"),
              "[2025/12/01 07:00:03]mdlCommon/pfFilePath:third\r\n");
    EXPECT_EQ(countLines(t.process.readFile("gameVer3.1.2_Error.log")), 2u);
    EXPECT_EQ(t.windows.boxes.size(), 3u);
    EXPECT_EQ(t.windows.boxes[1].text, u"次の障害が発生しました。\r\rｴﾗｰ番号 : 5\rsecond");
}

TEST(ErrorLog, OneEntryStaysOneLine) {
    TestServices t;
    writeErrorLog(t.services, -1, u"disk\r\nfull", kLabelRndNum, u"ignored detail");
    EXPECT_EQ(t.process.readFile("haruvelVer0.1.0_Error.log"),
              "[2024/01/31 13:05:09]mdlCommon/pfRndNum:disk  full\r\n");
    EXPECT_TRUE(t.windows.boxes.empty());
    EXPECT_EQ(showErrorBox(t.services, -2147483647 - 1, u"x"),
              u"次の障害が発生しました。\r\rｴﾗｰ番号 : -2147483648\rx");
}

TEST(ErrorLog, UnwritableFolderStillShowsTheBoxAndCreatesNothing) {
    TestServices t;
    namespace fs = std::filesystem;
    // A "folder" that is a plain file: nothing can be created below it, even as root.
    const std::string blocker = t.process.folder + "/blocker";
    std::ofstream(blocker) << "x";
    t.process.folder = blocker;
    EXPECT_EQ(randomInRange(t.services, 1, 0), 0);
    EXPECT_EQ(t.windows.boxes.size(), 1u);
    EXPECT_FALSE(fs::exists(blocker + "/haruvelVer0.1.0_Error.log"));

    // A read-only folder, where permissions are enforced for this user.
    TestServices ro;
    fs::permissions(ro.process.folder, fs::perms::owner_read | fs::perms::owner_exec);
    const bool enforced = ::access(ro.process.folder.c_str(), W_OK) != 0;
    EXPECT_EQ(randomInRange(ro.services, 0, INT_MAX), 0);
    EXPECT_EQ(ro.windows.boxes.size(), 1u);
    if (enforced) {
        EXPECT_TRUE(fs::is_empty(ro.process.folder));
    }
}

TEST(Digest, IsFnv1aOverLittleEndianBytesWithLengthPrefixedTexts) {
    using common::Digest;
    // Published FNV-1a 64 values of "a" and "abcd".
    EXPECT_EQ(Digest().add(std::uint8_t{'a'}).value(), 0xaf63dc4c8601ec8cULL);
    EXPECT_EQ(Digest().add(std::uint32_t{0x64636261}).value(), 0xfc179f83ee0724ddULL);
    EXPECT_EQ(Digest().add(std::int16_t{0x6261}).add(true).value(),
              Digest().add(std::uint8_t{'a'}).add(std::uint8_t{'b'}).add(std::uint8_t{1}).value());
    // Where one text ends and the next begins is part of the digest.
    EXPECT_NE(Digest().add(u"ab").add(u"c").value(), Digest().add(u"a").add(u"bc").value());
}
