#include "scenarios/Embedded.h"

namespace scenarios {

std::string_view demoScripts() {
    for (const EmbeddedFile& f : demoFiles())
        if (f.name == "scripts.tkl") return f.text;
    return {};
}

} // namespace scenarios
