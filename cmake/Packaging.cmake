# The Debian package: `cpack -G DEB` in the build folder (or the `package`
# target) packs everything the install rules install, under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kvarcella)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Школьная мастерская «Кварцелла»")
set(CPACK_PACKAGE_CONTACT "Школьная мастерская «Кварцелла» <kvarcella@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "classroom crosswords for Russian lessons")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "A teacher builds a crossword on a 20 by 20 grid and saves it to a .crs\n"
    "file. A pupil opens the file, fills in the letters from an on-screen\n"
    "Russian keyboard and has the program check them. Every word on screen is\n"
    "Russian, and a Russian help opens from the Help menu.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.kvarcella.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not found by dpkg-shlibdeps, because nothing links them: the fonts the
# windows are drawn with, and Qt's own Russian texts for its dialogs (a
# package that older releases do not have).
set(kvarcella_depends fonts-liberation)
execute_process(COMMAND apt-cache show --no-all-versions qt6-translations-l10n
                RESULT_VARIABLE no_translations OUTPUT_QUIET ERROR_QUIET)
if(no_translations EQUAL 0)
  list(APPEND kvarcella_depends qt6-translations-l10n)
endif()
list(JOIN kvarcella_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
# What opens the help: a viewer for compiled help files and the desktop's opener.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xchm, xdg-utils")

include(CPack)
