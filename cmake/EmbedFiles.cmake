# cmake -DOUTPUT=FILE.cpp -DNAMESPACE=NS -DBASE=DIR -DFILES="A;B" -P EmbedFiles.cmake
# Writes a C++ source that holds the bytes of each file (named by its path under BASE)
# in the array EmbeddedFiles of NAMESPACE, so that a program carries them in itself.
set(entries "")
set(arrays "")
set(index 0)
foreach(file IN LISTS FILES)
  file(RELATIVE_PATH name ${BASE} ${file})
  file(READ ${file} bytes HEX)
  string(LENGTH "${bytes}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${bytes}")
  string(APPEND arrays "const char File${index}[] = {${bytes} 0};\n")
  string(APPEND entries "    {\"${name}\", std::string_view(File${index}, ${size})},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}.new
"// Generated from the files under ${BASE}; do not edit.
#include \"EmbeddedFiles.h\"

namespace ${NAMESPACE} {

namespace {

${arrays}
}  // namespace

const std::vector<TEmbeddedFile>& EmbeddedFiles() {
  static const std::vector<TEmbeddedFile> Files = {
${entries}  };
  return Files;
}

}  // namespace ${NAMESPACE}
")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
