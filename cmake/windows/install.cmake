# What a Windows install holds: one folder with the programs, the hand-over module, the Qt and MinGW runtime
# DLLs, Qt's platform and style plugins and its Chinese texts, a qt.conf that points Qt at them, the licence
# and a short Chinese readme. The portable zip and the NSIS installer (CPack) are made from it.
set(VARKEL_QT_PREFIX "" CACHE PATH "The Qt built for MinGW (scripts/build-windows)")
set(VARKEL_QT_TRANSLATIONS /usr/share/qt6/translations CACHE PATH "Where qtbase_zh_TW.qm is (qt6-translations-l10n)")

install(TARGETS varkel-editor varkel-cli varkel-demo-folder RUNTIME DESTINATION .)
install(TARGETS varkel-hand-over LIBRARY DESTINATION . RUNTIME DESTINATION .)
foreach(module Core Gui Widgets Network)
  install(FILES ${VARKEL_QT_PREFIX}/bin/Qt6${module}.dll DESTINATION .)
endforeach()
install(FILES ${VARKEL_QT_PREFIX}/plugins/platforms/qwindows.dll DESTINATION plugins/platforms)
install(FILES ${VARKEL_QT_PREFIX}/plugins/styles/qwindowsvistastyle.dll DESTINATION plugins/styles)
install(FILES ${VARKEL_QT_TRANSLATIONS}/qtbase_zh_TW.qm DESTINATION translations)

# The MinGW runtime the programs and Qt link to, from the compiler's own folders.
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "The MinGW runtime ${dll} was not found beside ${CMAKE_CXX_COMPILER}")
  endif()
  install(FILES ${path} DESTINATION .)
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/cmake/windows/qt.conf DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/COPYING DESTINATION . RENAME COPYING.txt)
configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/readme-zh_TW.txt ${CMAKE_CURRENT_BINARY_DIR}/package/讀我.txt
               @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/package/讀我.txt DESTINATION .)

# The portable zip and the installer (our own NSIS template: Chinese, this user or all users).
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME varkel-editor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Varkel editor authors")
set(CPACK_PACKAGE_FILE_NAME varkel-editor-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Varkel Editor")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY varkel-editor)
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/COPYING)
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})  # NSIS.template.in
set(CPACK_NSIS_PACKAGE_NAME "Varkel編輯器")
set(CPACK_NSIS_DISPLAY_NAME "Varkel編輯器")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/icons/varkel-editor.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/icons/varkel-editor.ico)
set(CPACK_NSIS_URL_INFO_ABOUT "${VARKEL_HOMEPAGE}")
set(CPACK_NSIS_BRANDING_TEXT "Varkel編輯器 ${PROJECT_VERSION}")
set(CPACK_NSIS_UNINSTALL_NAME ${VARKEL_UNINSTALLER})
include(CPack)
