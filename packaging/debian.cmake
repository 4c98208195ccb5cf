# `cpack -G DEB` in the build folder makes numbrook_<version>_amd64.deb.

set(CPACK_PACKAGE_NAME numbrook)
set(CPACK_PACKAGE_VENDOR "The Numbrook developers")
set(CPACK_PACKAGE_CONTACT "The Numbrook developers <numbrook@example.com>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arithmetic drill worksheets for primary-school pupils")
set(CPACK_PACKAGE_DESCRIPTION
    "Numbrook makes printable addition and subtraction drill worksheets for\n"
    "primary-school pupils. In one small window, in Simplified Chinese, a\n"
    "teacher or parent chooses how many problems to make and how many stand on\n"
    "a line, the ranges of the additions and subtractions, two or three terms,\n"
    "carrying and borrowing, and which place the pupil fills in.\n"
    "\n"
    "Each worksheet is written as a GBK plain-text file or a spreadsheet\n"
    "workbook, optionally with every problem again in column form, and opened\n"
    "with the desktop's program for its type. The command numbrook-sheet makes\n"
    "the same worksheets without a window.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/numbrook")
# The libraries come from dpkg-shlibdeps; the rest is what the programs use
# at run time without linking it: a font with Chinese glyphs, xdg-open for
# the desktop's "open", Qt's own Chinese texts, and the certificates the
# update check's https needs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-noto-cjk | fonts-wqy-microhei | fonts-wqy-zenhei, xdg-utils, qt6-translations-l10n, ca-certificates")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-calc | gnumeric, evince | atril | okular")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
