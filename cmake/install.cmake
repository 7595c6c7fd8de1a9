# What `cmake --install` (and so the Debian package) puts in place: the programs and
# the editor's module, the desktop entry, file types, AppStream metadata and icons,
# the manuals, the bash completion of varkel-cli and the package's documents.

# When this version was released; the metadata, the manuals and the package take it from here, with the
# maintainer, homepage and licence of the top-level CMakeLists.txt.
set(VARKEL_RELEASE_DATE "2026-12-09")
set(VARKEL_APP_ID "invalid.example.VarkelEditor")

execute_process(COMMAND date -u -d "${VARKEL_RELEASE_DATE}" "+%a, %d %b %Y %H:%M:%S +0000"
                OUTPUT_VARIABLE VARKEL_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND date -u -d "${VARKEL_RELEASE_DATE}" "+%B %Y"
                OUTPUT_VARIABLE VARKEL_RELEASE_MONTH OUTPUT_STRIP_TRAILING_WHITESPACE)
set(VARKEL_PACKAGE_FILES ${CMAKE_CURRENT_BINARY_DIR}/package)
set(VARKEL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/varkel-editor)

install(TARGETS varkel-editor varkel-cli varkel-demo-folder RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS varkel-hand-over LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/varkel-editor
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# Desktop integration.
install(FILES ${PROJECT_SOURCE_DIR}/resources/varkel-editor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/varkel-editor.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
configure_file(${PROJECT_SOURCE_DIR}/resources/${VARKEL_APP_ID}.metainfo.xml.in
               ${VARKEL_PACKAGE_FILES}/${VARKEL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${VARKEL_PACKAGE_FILES}/${VARKEL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/hicolor/${size}x${size}/apps/varkel-editor.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/varkel.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps RENAME varkel-editor.png)

# Bash completion, where bash-completion loads it on first use of the command.
install(FILES ${PROJECT_SOURCE_DIR}/resources/bash-completion/varkel-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# The package's copyright file and changelog, compressed as Debian wants.
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/copyright.in ${VARKEL_PACKAGE_FILES}/copyright @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog.in ${VARKEL_PACKAGE_FILES}/changelog @ONLY)
find_program(VARKEL_GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${VARKEL_PACKAGE_FILES}/changelog.gz
  COMMAND ${VARKEL_GZIP} -9nkf ${VARKEL_PACKAGE_FILES}/changelog
  DEPENDS ${VARKEL_PACKAGE_FILES}/changelog VERBATIM)

# Manuals: Markdown in docs/man, turned into man pages by go-md2man. Without it they
# are left out (with a note); the package check requires them.
set(VARKEL_MANUALS varkel-cli varkel-editor varkel-demo-folder)
find_program(VARKEL_GO_MD2MAN go-md2man)
set(VARKEL_MANUAL_PAGES)
if(VARKEL_GO_MD2MAN)
  foreach(manual ${VARKEL_MANUALS})
    set(page ${VARKEL_PACKAGE_FILES}/man/${manual}.1)
    configure_file(${PROJECT_SOURCE_DIR}/docs/man/${manual}.1.md ${page}.md @ONLY)
    add_custom_command(OUTPUT ${page}.gz
      COMMAND ${VARKEL_GO_MD2MAN} -in ${page}.md -out ${page}
      COMMAND ${VARKEL_GZIP} -9nkf ${page}
      DEPENDS ${page}.md ${PROJECT_SOURCE_DIR}/docs/man/${manual}.1.md
      COMMENT "Writing the manual page ${manual}(1)" VERBATIM)
    list(APPEND VARKEL_MANUAL_PAGES ${page}.gz)
  endforeach()
  install(FILES ${VARKEL_MANUAL_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "go-md2man not found: the manual pages are not built (scripts/install-deps installs it)")
endif()
add_custom_target(varkel-package-files ALL DEPENDS ${VARKEL_PACKAGE_FILES}/changelog.gz ${VARKEL_MANUAL_PAGES})
install(FILES ${VARKEL_PACKAGE_FILES}/copyright ${VARKEL_PACKAGE_FILES}/changelog.gz DESTINATION ${VARKEL_DOC_DIR})

if(VARKEL_BUILD_TESTS)
  # The manuals name every subcommand and option the programs' --help shows.
  add_test(NAME manuals_name_every_option
           COMMAND ${PROJECT_SOURCE_DIR}/scripts/check_manuals ${PROJECT_SOURCE_DIR}/docs/man
                   $<TARGET_FILE:varkel-cli> $<TARGET_FILE:varkel-editor>)
  add_test(NAME cli_bash_completion
           COMMAND ${PROJECT_SOURCE_DIR}/scripts/check_completion
                   ${PROJECT_SOURCE_DIR}/resources/bash-completion/varkel-cli
                   $<TARGET_FILE:varkel-cli> $<TARGET_FILE:varkel-demo-folder>)
endif()
