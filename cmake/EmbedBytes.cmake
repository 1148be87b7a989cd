# Writes a C++ source holding a file's bytes as constant data, with a function returning them.
# Run as: cmake -DINPUT=<file> -DOUTPUT=<source> -DNAMESPACE=<ns> -DFUNCTION=<name>
#               -DHEADER=<include> -P EmbedBytes.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp" "// Made by the build from ${name}: its bytes, compiled into the module.
#include \"${HEADER}\"

namespace ${NAMESPACE} {
namespace {
constexpr std::uint8_t kBytes[${size}] = {
    ${bytes}};
}  // namespace

std::span<const std::uint8_t> ${FUNCTION}() { return kBytes; }

}  // namespace ${NAMESPACE}
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
