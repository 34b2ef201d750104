# Runs PROGRAM with ARGUMENTS (a list) and checks, through the dynamic
# loader's own account, whether it started the widget toolkit: a started
# toolkit loads a platform plugin. STARTS is ON or OFF.
# cmake -DPROGRAM=... "-DARGUMENTS=..." -DSTARTS=... -P WidgetsStarted.cmake
execute_process(COMMAND ${CMAKE_COMMAND} -E env LD_DEBUG=files "${PROGRAM}" ${ARGUMENTS}
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE loader TIMEOUT 60)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} ${ARGUMENTS} exited with ${result}")
endif()
if(loader MATCHES "platforms/libq[a-z]+\\.so")
  set(started ON)
else()
  set(started OFF)
endif()
if(NOT started STREQUAL STARTS)
  message(FATAL_ERROR "${PROGRAM} ${ARGUMENTS}: the widget toolkit started: ${started}, expected ${STARTS}")
endif()
