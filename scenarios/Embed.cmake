# Writes every file of INPUTS ("|"-separated paths) as a byte array into the C++ source OUTPUT,
# behind the function FUNCTION declared in scenarios/Embedded.h, which lists them by file name.
string(REPLACE "|" ";" inputs "${INPUTS}")
set(arrays "")
set(table "")
set(n 0)
foreach(input IN LISTS inputs)
  get_filename_component(name ${input} NAME)
  file(READ ${input} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
  string(APPEND arrays "constexpr unsigned char kFile${n}[] = {\n${bytes}0};\n")
  string(APPEND table "        {\"${name}\", {reinterpret_cast<const char*>(kFile${n}), sizeof kFile${n} - 1}},\n")
  math(EXPR n "${n} + 1")
endforeach()
file(WRITE ${OUTPUT} "// Generated from ${INPUTS}; edit those files instead.
#include \"scenarios/Embedded.h\"

namespace scenarios {

namespace {
${arrays}} // namespace

std::span<const EmbeddedFile> ${FUNCTION}() {
    static const EmbeddedFile files[] = {
${table}    };
    return files;
}

} // namespace scenarios
")
