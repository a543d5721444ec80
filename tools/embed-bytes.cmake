# cmake -DIN=FILE -DOUT=FILE.inc -P embed-bytes.cmake: writes the bytes of FILE as the
# elements of a C++ array's initializer, 24 to a line.
file(READ ${IN} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUT}.tmp "// Generated from ${IN} by tools/embed-bytes.cmake; do not edit.\n${bytes}\n")
file(RENAME ${OUT}.tmp ${OUT})
