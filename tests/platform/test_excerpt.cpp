// How messages quote what a damaged file holds, and the recording reader's messages made of it.
#include <gtest/gtest.h>

#include "platform/Excerpt.h"
#include "platform/Recording.h"
#include "platform/Replayer.h"

namespace {

TEST(Excerpt, ControlsAndBadBytesAreEscapedAndLongTextsCut) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"Frob", "Frob"},
        {"Fr\x1B[31mob", "Fr\\x1B[31mob"},
        {"a\r\nb\tc\x7F", "a\\x0D\\x0Ab\\x09c\\x7F"},
        {"\xC2\x85 \xC2\xA0", "\\xC2\\x85 \xC2\xA0"}, // C1 NEL escaped, NBSP kept
        {"\xE6\x96\x87\xE5\xAD\x97", "\xE6\x96\x87\xE5\xAD\x97"},
        {"\xFF\xC0\x80", "\\xFF\\xC0\\x80"}, // never UTF-8, overlong
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"}, // a surrogate
        {"\xE6\x96", "\\xE6\\x96"},          // cut short
        {std::string(61, 'x'), std::string(60, 'x') + "..."},
        {std::string(60, 'x'), std::string(60, 'x')},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plat::excerpt(c.in), c.out) << c.in;
    EXPECT_EQ(plat::excerpt(std::string(1 << 20, '\x01'), 12), "\\x01\\x01\\x01...");
    EXPECT_EQ(plat::excerpt("\xE6\x96\x87\xE5\xAD\x97", 5), "\xE6\x96\x87..."); // whole characters
    EXPECT_EQ(plat::excerpt("dir/a\nb.tkl", plat::kWhole), "dir/a\\x0Ab.tkl");
}

// One clean line of at most 200 bytes, whatever the file held.
void expectCleanLine(const std::string& message) {
    EXPECT_LE(message.size(), 200u) << message.substr(0, 200);
    EXPECT_EQ(plat::excerpt(message, plat::kWhole), message);
}

TEST(Excerpt, RecordingMessagesQuoteExcerpts) {
    const std::string head = "recording 1\nprogram toy\nversion 1\nscenario \nseed 5\n";
    const std::string huge(100000, 'k');
    const std::string texts[] = {
        "recording 1\nprogram \x1B]0;owned\x07\n",
        "recording " + huge + "\n",
        "recording 1\nprogram toy\nversion 1\nscenario \nseed \xFF\xFE" + huge + "\n",
        head + "t 1 " + huge + "\n",
        head + "e frm\x9B" + huge + "\n",
        head + std::string(1000, '\r') + "\n",
    };
    for (const std::string& text : texts) {
        const plat::RecordingRead r = plat::parseRecording(text, "bad\x1B.rec", "toy");
        ASSERT_FALSE(r.recording);
        EXPECT_EQ(r.error.rfind("bad\\x1B.rec:", 0), 0u) << r.error;
        expectCleanLine(r.error);
    }
}

} // namespace
