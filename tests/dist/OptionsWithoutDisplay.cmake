# Runs PROGRAM with the one argument ARGUMENT where no display can be reached
# (and no platform would serve without one) and checks that it exits 0 and
# prints exactly what EXPECT (a regular expression) matches.
# cmake -DPROGRAM=... -DARGUMENT=... -DEXPECT=... -P OptionsWithoutDisplay.cmake
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb
          "${PROGRAM}" "${ARGUMENT}"
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 30)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} ${ARGUMENT} exited with ${result}\n${out}${err}")
endif()
if(NOT out MATCHES "${EXPECT}")
  message(FATAL_ERROR "${PROGRAM} ${ARGUMENT} printed:\n${out}\nexpected to match:\n${EXPECT}")
endif()
if(NOT err STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} ${ARGUMENT} wrote to stderr:\n${err}")
endif()
