# What `cmake --install` puts where, and the packages CPack makes of it: a Debian package and
# a .tar.gz of the same tree on POSIX, a .zip of the programs, the licence and a short text
# on running them for Windows.
include(GNUInstallDirs)

if(WIN32)
  install(TARGETS insertion-sort-demo console-keys RUNTIME DESTINATION .)
  install(FILES LICENSE DESTINATION .)
  install(FILES docs/README.windows.txt DESTINATION . RENAME README.txt)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x86_64)
else()
  install(TARGETS insertion-sort-demo console-keys RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

  # Manual pages carry the version and are installed compressed, as Debian has them; the
  # Russian ones where man finds them under a Russian locale.
  find_program(GZIP gzip REQUIRED)
  foreach(page insertion-sort-demo console-keys ru/insertion-sort-demo ru/console-keys)
    configure_file(docs/man/${page}.1 ${CMAKE_BINARY_DIR}/man/${page}.1 @ONLY)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.1.gz
                       COMMAND ${GZIP} -9n -c ${CMAKE_BINARY_DIR}/man/${page}.1 >
                               ${CMAKE_BINARY_DIR}/man/${page}.1.gz
                       DEPENDS ${CMAKE_BINARY_DIR}/man/${page}.1)
    if(page MATCHES "^ru/")
      list(APPEND RUSSIAN_MANUAL_PAGES ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
    else()
      list(APPEND MANUAL_PAGES ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
    endif()
  endforeach()
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
                     COMMAND ${GZIP} -9n -c ${PROJECT_SOURCE_DIR}/docs/changelog >
                             ${CMAKE_BINARY_DIR}/changelog.gz
                     DEPENDS ${PROJECT_SOURCE_DIR}/docs/changelog)
  add_custom_target(documentation ALL DEPENDS ${MANUAL_PAGES} ${RUSSIAN_MANUAL_PAGES}
                                              ${CMAKE_BINARY_DIR}/changelog.gz)
  install(FILES ${MANUAL_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${RUSSIAN_MANUAL_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/ru/man1)
  set(DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/insertion-sort-demo)
  # A short README for the user (the build's own README is for the source tree); every
  # document over 4 kB compressed, as Debian has them.
  install(FILES docs/copyright ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${DOC_DIR})
  install(FILES docs/README.installed DESTINATION ${DOC_DIR} RENAME README)

  set(CPACK_GENERATOR DEB TGZ)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
endif()

set(CPACK_PACKAGE_NAME insertion-sort-demo)
set(CPACK_PACKAGE_VENDOR "Insertion Sort Demo Developers")
set(CPACK_PACKAGE_CONTACT "Insertion Sort Demo Developers <developers@insertion-sort-demo.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "straight insertion sort, step by step, in the terminal")
set(CPACK_PACKAGE_DESCRIPTION
    "An interactive terminal program that demonstrates straight insertion sort.
The user picks one of four fixed arrays from a short Russian menu; the
program sorts it and draws a coloured three-row frame for every selection,
comparison and move, waiting for Space after each, until it prints the
totals of comparisons and moves. console-keys shows what each key delivers.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
