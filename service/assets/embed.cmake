# Writes a C++ source holding a file's bytes: cmake -DINPUT=... -DOUTPUT=... -DNAME=... -P embed.cmake
file(READ ${INPUT} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT} "// Generated from ${INPUT}.\n#include <cstddef>\n\nnamespace qb::service::assets {\n"
    "extern const unsigned char ${NAME}[];\nextern const std::size_t ${NAME}Size;\n"
    "const unsigned char ${NAME}[] = {\n${bytes}};\n"
    "const std::size_t ${NAME}Size = sizeof(${NAME});\n}\n")
