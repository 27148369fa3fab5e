# Packages made by CPack from what `cmake --install` puts in place: a Debian package from the
# native builds (amd64, and arm64 cross-compiled), a zip and an installer from the Windows build
# (CMakePresets.json: the package workflows).
set(CPACK_PACKAGE_NAME vurazevedadar)
set(CPACK_PACKAGE_VENDOR "Vurazevedadar developers")
set(CPACK_PACKAGE_CONTACT "Vurazevedadar developers <vurazevedadar@example.org>"
    CACHE STRING "Maintainer of the packages, as Debian's Maintainer field wants it")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "animated Geneva drive in a window")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Users get no symbol table and no debug information.
set(CPACK_STRIP_FILES ON)

if(VURAZEVEDADAR_BACKEND STREQUAL "x11")
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  # CPack would take the building machine's architecture; a cross build states its target's.
  if(CMAKE_CROSSCOMPILING AND CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
  endif()
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VURAZEVEDADAR_HOMEPAGE})
  # Depends as dpkg-shlibdeps finds it from the libraries the program and its Wayland backend's
  # module really link.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Loaded only when needed, so not found by dpkg-shlibdeps: the frame libdecor draws on a
  # Wayland desktop that draws none, and the text of a message box there.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libdecor-0-plugin-1-cairo, libpangocairo-1.0-0")
  # The long description under the summary; CPack indents it and marks the empty line between
  # the paragraphs as Debian's format wants.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Vurazevedadar shows a Geneva drive at work: a driving wheel with a pin
turns without pause, and while the pin runs through one of the six slots
of the Maltese cross it turns the cross by sixty degrees; for the rest of
the revolution the cross stands locked.

The program has no menu, no settings and no files: you only watch.")
  # Debian packages state their copyright and changes in /usr/share/doc/PACKAGE; the changelog
  # is compressed like the manual page (data/CMakeLists.txt).
  set(doc_dir share/doc/${CPACK_PACKAGE_NAME})
  set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
  add_custom_command(OUTPUT ${changelog}
                     COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/data/debian/changelog > ${changelog}
                     DEPENDS ${PROJECT_SOURCE_DIR}/data/debian/changelog VERBATIM)
  add_custom_target(debian_changelog ALL DEPENDS ${changelog})
  install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright ${changelog} DESTINATION ${doc_dir})
  # What lintian reports of the Wayland backend's module and is no fault (the file says why).
  install(FILES ${PROJECT_SOURCE_DIR}/data/debian/lintian-overrides
          DESTINATION share/lintian/overrides RENAME ${CPACK_PACKAGE_NAME})
elseif(VURAZEVEDADAR_BACKEND STREQUAL "win32")
  # A zip to unpack anywhere, and an installer for the current user (data/windows/NSIS.template.in).
  set(CPACK_GENERATOR ZIP NSIS)
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64)
  # Per generator at packaging time: the installer is ...-win64-setup.exe beside ...-win64.zip.
  set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/cpack_per_generator.cmake)
  list(PREPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/data/windows)
  set(CPACK_NSIS_DISPLAY_NAME Vurazevedadar)
  set(CPACK_NSIS_PACKAGE_NAME Vurazevedadar)
  set(CPACK_PACKAGE_INSTALL_DIRECTORY Vurazevedadar)
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Vurazevedadar)
  # CPack hands the template only its own CPACK_ variables.
  set(CPACK_NSIS_VURAZEVEDADAR_ICON ${PROJECT_SOURCE_DIR}/data/icons/vurazevedadar.ico)
  set(CPACK_NSIS_VURAZEVEDADAR_VERSION_QUAD ${VURAZEVEDADAR_VERSION_QUAD})
  set(CPACK_NSIS_VURAZEVEDADAR_COPYRIGHT ${VURAZEVEDADAR_COPYRIGHT})
  # Notepad and Explorer's preview expect Windows line ends.
  configure_file(${PROJECT_SOURCE_DIR}/data/windows/README.txt
                 ${CMAKE_CURRENT_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt DESTINATION .)
endif()

include(CPack)
