#include "scenarios/Embedded.h"

namespace scenarios {

std::string_view pfDemoScripts() {
    for (const EmbeddedFile& f : pfDemoFiles())
        if (f.name == "scripts.tkl") return f.text;
    return {};
}

} // namespace scenarios
