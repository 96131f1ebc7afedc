# The Debian package, made by "make deb" (cpack -G DEB in build-deb): the
# files of the install rules under /usr, the dependencies found by
# dpkg-shlibdeps, stripped programs. Included by the top-level CMakeLists.txt.
set(KALVORIA_BETREUER "Kalvoria <kalvoria@kalvoria.de>" CACHE STRING "Maintainer of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalvoria)
set(CPACK_PACKAGE_VENDOR Kalvoria)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${KALVORIA_BETREUER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KALVORIA_BETREUER}")
set(CPACK_DEBIAN_PACKAGE_RELEASE ${KALVORIA_DEB_REVISION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A program for carers rather than for research, as other programs for
# medical practice are in Debian.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KALVORIA_HEIMAT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "medication, stock and appointments of several patients")
set(CPACK_PACKAGE_DESCRIPTION
    "Kalvoria keeps the medication of several patients for the people who
prepare and supervise it: relatives, home carers and small care services.
For each patient it holds the intake plan (package, units in the morning,
at noon, in the evening and at night, the counted stock), computes today's
stock and the day it runs out, warns when less than four weeks remain or
when the stock ends before the next family-doctor appointment, keeps the
doctor appointments and writes the regulation plan and the medication list
as PDF files.

All data stay in one SQLite database file; nothing is sent anywhere. The
user interface and the guide are in German.")

# The libraries the programs link come from dpkg-shlibdeps; Qt's SQLite
# driver is a plugin loaded at run time, which it cannot see.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(KALVORIA_QT6)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-translations-l10n")
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt5sql5-sqlite")
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qttranslations5-l10n")
endif()
# The help document and the printed plans open in the desktop's PDF viewer.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "pdf-viewer")

set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
