#include "platform/Translator.h"

namespace plat {

std::u16string shownText(const Services& sv, std::string_view context, std::u16string_view source) {
    if (sv.translator == nullptr) return std::u16string(source);
    return sv.translator->translate(context, source);
}

std::u16string fillIn(std::u16string_view pattern, std::span<const std::u16string_view> parts) {
    std::u16string out;
    out.reserve(pattern.size() + 16);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char16_t next = i + 1 < pattern.size() ? pattern[i + 1] : u'\0';
        const bool marked = pattern[i] == u'%' && next >= u'1' && next <= u'9';
        if (marked && static_cast<std::size_t>(next - u'1') < parts.size()) {
            out += parts[static_cast<std::size_t>(next - u'1')];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

} // namespace plat
