# Every command `mbscript --help` lists has its line in the synopsis of the
# man page mbscript(1), so a command added without its page fails here.
# cmake -DPROGRAM=... -DMANPAGE=... -P ManPageCommands.cmake
execute_process(COMMAND "${PROGRAM}" --help RESULT_VARIABLE result OUTPUT_VARIABLE help)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help exited with ${result}")
endif()
file(READ "${MANPAGE}" page)
string(REGEX MATCHALL "\n  mbscript [a-z][a-z-]*" usages "${help}")
if(NOT usages)
  message(FATAL_ERROR "${PROGRAM} --help lists no command:\n${help}")
endif()
foreach(usage ${usages})
  string(REGEX REPLACE "\n  mbscript " "" command "${usage}")
  if(NOT page MATCHES "\n\\.B mbscript ${command}\n")
    message(SEND_ERROR "mbscript(1) does not describe the command \"${command}\": add \".B mbscript ${command}\" "
                       "to its synopsis and the command to its COMMANDS section (${MANPAGE})")
  endif()
endforeach()
