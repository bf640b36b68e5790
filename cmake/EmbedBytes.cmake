# Turns a file into a C++ byte array: cmake -DINPUT=file -DOUTPUT=source.cpp -DNAME=Symbol
#   -DHEADER=path/of/the/declaring/header.h -DSIZE_NAME=SymbolSize -P EmbedBytes.cmake
# The header declares the array and its size; the generated source checks that the file has that size.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR count "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])"
       "\\1\n" hex "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
get_filename_component(input_name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
     "// Generated at build time from ${input_name}; do not edit.\n"
     "#include \"${HEADER}\"\n\n"
     "static_assert(${count} == ${SIZE_NAME}, \"${input_name} does not have the size its header declares\");\n\n"
     "const std::uint8_t ${NAME}[${SIZE_NAME}] = {\n${hex}};\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
