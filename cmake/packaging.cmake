# The Debian package: `cpack -G DEB` in a build configured with -DCMAKE_INSTALL_PREFIX=/usr
# (scripts/check_package builds, unpacks and checks it).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varkel-editor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Varkel editor authors")
set(CPACK_PACKAGE_CONTACT "${VARKEL_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VARKEL_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VARKEL_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)  # "games" is for games themselves
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Libraries from dpkg-shlibdeps; the CJK font every caption needs, and Qt's Chinese
# texts for its own dialogs' buttons.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_INSTALL_FULL_LIBDIR}/varkel-editor)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[editor for the saved games of the strategy game Varkel
An editor, in Traditional Chinese, for the data files of the strategy game
Varkel: the officers of a saved game (names, abilities, skills, tactics, rank,
status, loyalty, money), who the players control, families, bonds and feuds,
treasures, cities and forces, and the player-made officers of the system save.
Every byte the editor does not own survives a save unchanged. varkel-cli reads
and changes the same files from the command line.

Varkel遊戲資料的編輯器（繁體中文介面）：存檔中的武將（姓名、能力、技能、戰法、
官職、身份、忠誠、金錢）、玩家控制的武將、家族、結義與仇敵、寶物、城市與勢力，
以及新武將存檔中玩家自創的武將。命令列程式varkel-cli也能查看和修改同樣的檔案。]=])
include(CPack)
