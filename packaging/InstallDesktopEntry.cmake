# Run by `cmake --install` (and CPack): writes the menu entry with the executable's full path
# under the prefix of this install, which may differ from the configured one.
# Set before: KRAVELON_BINDIR, KRAVELON_APPLICATIONS_DIR, KRAVELON_DESKTOP_TEMPLATE,
# KRAVELON_DESKTOP_NAME, KRAVELON_WORK_DIR.
foreach(dir KRAVELON_BINDIR KRAVELON_APPLICATIONS_DIR)
  cmake_path(ABSOLUTE_PATH ${dir} BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}"
             OUTPUT_VARIABLE full_${dir})
endforeach()
set(KRAVELON_EXEC "${full_KRAVELON_BINDIR}/kravelon")
# One work file per destination: a package and a test install may run at the same time.
string(MD5 destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(entry "${KRAVELON_WORK_DIR}/${destination}/${KRAVELON_DESKTOP_NAME}")
configure_file("${KRAVELON_DESKTOP_TEMPLATE}" "${entry}" @ONLY)
file(INSTALL DESTINATION "${full_KRAVELON_APPLICATIONS_DIR}" TYPE FILE FILES "${entry}")
