# Checks that the program image leaves room below the payload offset for the code still to come.
# cmake -DIMAGE=install_kestamor_image.exe -DLAYOUT=installer/PayloadLayout.h -DHEADROOM=307200 -P check-image-headroom.cmake
# The offset is read from the installer's own layout header, so the two cannot drift apart.
file(STRINGS "${LAYOUT}" offset_line REGEX "Offset = [0-9]+")
if(NOT offset_line MATCHES "Offset = ([0-9]+)")
  message(FATAL_ERROR "${LAYOUT}: no payload offset found")
endif()
set(offset ${CMAKE_MATCH_1})
if(NOT EXISTS "${IMAGE}")
  message(FATAL_ERROR "${IMAGE}: not built")
endif()
file(SIZE "${IMAGE}" size)
math(EXPR left "${offset} - ${size}")
math(EXPR left_kb "${left} / 1024")
math(EXPR headroom_kb "${HEADROOM} / 1024")
if(left LESS HEADROOM)
  message(FATAL_ERROR "installer image is ${size} bytes: ${left} bytes (${left_kb} KB) below the payload offset "
                      "${offset}, less than the ${HEADROOM} bytes (${headroom_kb} KB) kept free for what is still "
                      "to come. Section sizes: i686-w64-mingw32-objdump -h ${IMAGE}")
endif()
message(STATUS "installer image is ${size} bytes, ${left} bytes (${left_kb} KB) below the payload offset ${offset}")
