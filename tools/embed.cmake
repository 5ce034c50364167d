# Turns a file into a C++ source that defines its bytes as an array.
# cmake -DINPUT=file -DOUTPUT=source.cpp -DSYMBOL=name -P embed.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUTPUT}"
    "#include <cstddef>\n"
    "extern const unsigned char ${SYMBOL}[] = {${bytes}};\n"
    "extern const std::size_t ${SYMBOL}Size = ${size};\n")
