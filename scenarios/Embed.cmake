# Writes INPUT as a byte array into the C++ source OUTPUT, behind the function FUNCTION
# declared in scenarios/Embedded.h.
file(READ ${INPUT} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT} "// Generated from ${INPUT}; edit that file instead.
#include \"scenarios/Embedded.h\"

namespace scenarios {

namespace {
constexpr unsigned char kBytes[] = {
${bytes}0};
} // namespace

std::string_view ${FUNCTION}() {
    return {reinterpret_cast<const char*>(kBytes), sizeof kBytes - 1};
}

} // namespace scenarios
")
