# Copies the header SOURCE to TARGET with its quoted includes written as <gaugery/...>.
# In the source tree the headers reach each other through the folders runtime/ and
# platform/; installed, they sit under include/gaugery/ and reach each other through the
# consumer's include/ alone.
#
#   cmake -DSOURCE=header.h -DTARGET=staged.h -P GaugeryHeaderCopy.cmake
file(READ "${SOURCE}" text)
string(REGEX REPLACE "#include \"([^\"]+)\"" "#include <gaugery/\\1>" text "${text}")
file(WRITE "${TARGET}" "${text}")
