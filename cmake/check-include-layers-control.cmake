# The positive control of check-include-layers.cmake: a copy of the tree with one upward
# include planted in skin/data and one in image/ must fail, naming both.
#   cmake -DROOT=<source tree> -DWORK=<scratch folder> -P check-include-layers-control.cmake
file(REMOVE_RECURSE ${WORK})
foreach(dir image framework skin installer)
  file(COPY ${ROOT}/${dir} DESTINATION ${WORK})
endforeach()
file(APPEND ${WORK}/skin/data/sSkinManager_win.cpp "#include \"skin/frame/acDials.h\"\n")
file(APPEND ${WORK}/image/Colors.h "  #  include \"framework/Graphics.h\"\n")
execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${WORK} -P ${CMAKE_CURRENT_LIST_DIR}/check-include-layers.cmake
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(REMOVE_RECURSE ${WORK})
if(result EQUAL 0)
  message(FATAL_ERROR "the check passed a tree with upward includes:\n${out}${err}")
endif()
foreach(expected "skin/data/sSkinManager_win.cpp (skin/data) includes skin/frame/acDials.h (skin/frame)"
                 "image/Colors.h (image) includes framework/Graphics.h (framework)")
  string(FIND "${err}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the check did not name '${expected}':\n${err}")
  endif()
endforeach()
message(STATUS "planted upward includes were caught")
