# Builds the Debian package with CPack and runs lintian on it: no error may be
# reported, and every warning must be overridden with its reason written
# beside it (dist/lintian-overrides).
# cmake -DBUILD_DIR=... -DPACKAGE_VERSION=... -P PackageLintian.cmake
set(out "${BUILD_DIR}/tests/dist/package")
file(REMOVE_RECURSE "${out}")
execute_process(COMMAND cpack -G DEB -B "${out}" --config "${BUILD_DIR}/CPackConfig.cmake"
                WORKING_DIRECTORY "${BUILD_DIR}" RESULT_VARIABLE result OUTPUT_VARIABLE log ERROR_VARIABLE log)
file(GLOB debs "${out}/marrowpad_${PACKAGE_VERSION}_*.deb")
if(NOT result EQUAL 0 OR NOT debs)
  message(FATAL_ERROR "cpack failed (${result}):\n${log}")
endif()
execute_process(COMMAND lintian --fail-on error,warning --tag-display-limit 0 ${debs}
                RESULT_VARIABLE result OUTPUT_VARIABLE report ERROR_VARIABLE report)
message("${report}")
file(REMOVE_RECURSE "${out}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "lintian reports problems in ${debs}")
endif()
