# Every command `mbscript --help` lists is described in the man page
# mbscript(1) (a line of its synopsis) and in the user guide's mbscript section
# (an entry starting with the command), so a command added without its
# documentation fails here.
# cmake -DPROGRAM=... -DMANPAGE=... -DGUIDE=... -P DocumentedCommands.cmake
execute_process(COMMAND "${PROGRAM}" --help RESULT_VARIABLE result OUTPUT_VARIABLE help)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help exited with ${result}")
endif()
file(READ "${MANPAGE}" page)
file(READ "${GUIDE}" guide)
string(FIND "${guide}" "<h2 id=\"mbscript\">" start)
if(start EQUAL -1)
  message(FATAL_ERROR "${GUIDE} has no section with the id \"mbscript\"")
endif()
string(SUBSTRING "${guide}" ${start} -1 guide)
string(FIND "${guide}" "\n<h2 " end)
string(SUBSTRING "${guide}" 0 ${end} guide)
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
  if(NOT guide MATCHES "<li><code>mbscript ${command}[ <]")
    message(SEND_ERROR "the guide's mbscript section does not describe the command \"${command}\": add an entry "
                       "\"<li><code>mbscript ${command} ...</code>\" (${GUIDE})")
  endif()
endforeach()
