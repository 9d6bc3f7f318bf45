// The language a player reads. The programs keep their original texts (Japanese) in their
// state and look a text up only where it is shown, so no rule, digest or recording depends on
// the language; a text without a translation shows as written.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/Seams.h"

// Marks a program text for Qt's lupdate (an alias of QT_TRANSLATE_NOOP, see
// translations/CMakeLists.txt) and leaves it the UTF-16 literal the code keeps.
#define TR_TEXT(context, text) u"" text

namespace plat {

class ITranslator {
  public:
    virtual ~ITranslator() = default;
    // "ja" or "en".
    virtual std::string language() const = 0;
    // The text shown for `source` in `context`; `source` itself when none is known.
    virtual std::u16string translate(std::string_view context,
                                     std::u16string_view source) const = 0;
};

// `source` as the services' translator shows it; as written without one.
std::u16string shownText(const Services& sv, std::string_view context, std::u16string_view source);

// `pattern` with %1..%9 replaced by the parts (a translated sentence may order them its own
// way); a % before anything else stays as it is.
std::u16string fillIn(std::u16string_view pattern, std::span<const std::u16string_view> parts);

} // namespace plat
