# The Debian package: `make package` (cmake --build build --target package).
# Its dependencies are found by dpkg-shlibdeps from the programs' libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME marrowpad)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Marrowpad developers")
set(CPACK_PACKAGE_CONTACT "${MARROWPAD_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for Marrowby folder-synchronisation scripts")
# The extended description; CPack puts the summary above it as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Marrowpad edits the script files that tell the Marrowby engine which folders
to synchronise and how: the jobs that keep backups current. A script shows as
a tree of its actions and their settings; every action inherits from Default,
every edit can be undone, and saving keeps comments, unknown keys and the
file's encoding. A user guide explains every setting.

The package also holds mbscript, which loads and writes scripts exactly as
the editor does, for pipelines without a window.")
set(CPACK_PACKAGE_FILE_NAME "marrowpad_${PROJECT_VERSION}_${CMAKE_SYSTEM_PROCESSOR}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The toolkit loads its platform plugins at run time, where dpkg-shlibdeps
# cannot see them: without these the editor cannot open a window.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
include(CPack)
