// How messages quote what a damaged file holds.
#include <gtest/gtest.h>

#include "platform/Excerpt.h"

namespace {

TEST(Excerpt, ControlsAndBadBytesAreEscapedAndLongTextsCut) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"Fr\x1B[31mob", "Fr\\x1B[31mob"},
        {"a\r\nb\tc\x7F", "a\\x0D\\x0Ab\\x09c\\x7F"},
        {"\xC2\x85 \xC2\xA0", "\\xC2\\x85 \xC2\xA0"}, // C1 NEL escaped, NBSP kept
        {"\xE6\x96\x87\xE5\xAD\x97", "\xE6\x96\x87\xE5\xAD\x97"},
        {"\xFF\xC0\x80", "\\xFF\\xC0\\x80"}, // never UTF-8, overlong
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"}, // a surrogate
        {"\xE6\x96", "\\xE6\\x96"},          // cut short
        {std::string(61, 'x'), std::string(60, 'x') + "..."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plat::excerpt(c.in), c.out) << c.in;
    EXPECT_EQ(plat::excerpt(std::string(1 << 20, '\x01'), 12), "\\x01\\x01\\x01...");
    EXPECT_EQ(plat::excerpt("\xE6\x96\x87\xE5\xAD\x97", 5), "\xE6\x96\x87..."); // whole characters
    EXPECT_EQ(plat::excerpt("dir/a\nb.tkl", plat::kWhole), "dir/a\\x0Ab.tkl");
}

} // namespace
