# Fails unless PROGRAM needs a library matching NEEDED and none matching
# UNWANTED (regular expressions), as its dynamic section lists them.
# cmake -DPROGRAM=... -DNEEDED=... -DUNWANTED=... -P NeededLibraries.cmake
execute_process(COMMAND readelf --dynamic "${PROGRAM}" RESULT_VARIABLE result OUTPUT_VARIABLE dynamic
                ERROR_VARIABLE error)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "readelf --dynamic ${PROGRAM} failed (${result}): ${error}")
endif()
string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*\\[[^]\n]*\\]" entries "${dynamic}")
set(libraries)
foreach(entry ${entries})
  string(REGEX REPLACE ".*\\[([^]]*)\\]$" "\\1" library "${entry}")
  list(APPEND libraries ${library})
endforeach()
list(JOIN libraries ", " listed)
if(NOT listed MATCHES "${NEEDED}")
  message(FATAL_ERROR "${PROGRAM} does not need ${NEEDED}; it needs: ${listed}")
endif()
foreach(library ${libraries})
  if(library MATCHES "${UNWANTED}")
    message(FATAL_ERROR "${PROGRAM} needs ${library}, which it must not load; it needs: ${listed}")
  endif()
endforeach()
