# The Debian package, made by `cpack -G DEB` in a build folder (scripts/package.sh does it): the
# files `cmake --install --prefix /usr` puts in place, their dependencies read from the binaries,
# what Debian asks of every package (copyright, changelog, compressed manual pages) and a read-me
# that says how to add the saver to XScreenSaver.
include(GNUInstallDirs)

set(VORTEXA_MAINTAINER "Vortexa maintainers <maintainers@${VORTEXA_AUTHOR_HOST}>" CACHE STRING
  "Maintainer named in the packages")

set(CPACK_PACKAGE_NAME vortexa)
set(CPACK_PACKAGE_VENDOR Vortexa)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${VORTEXA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "screen saver of coloured circle outlines on a black screen")
set(CPACK_PACKAGE_DESCRIPTION
  "Vortexa animates a small society of coloured circle outlines on a black\n\
screen, in one of three scripts: in Independence circles fly on their own\n\
and bounce off the edges, in Capture one large circle holds smaller ones\n\
inside it, in Opposition a rounded square drifts among the circles and takes\n\
captives. A clock can ride along, as text or as a dial, and a settings dialog\n\
in Russian or English chooses the script and the circles' number, width and\n\
speed.\n\
.\n\
It runs on its own or under XScreenSaver. To have XScreenSaver offer it, each\n\
user runs \"vortexa --add-to-xscreensaver\" once: that adds it to the list of\n\
savers in ~/.xscreensaver, where the settings window then lists it and offers\n\
its controls. /usr/share/doc/vortexa/README says more.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# The desktop entry names the program by its final place, so the staging folder goes in DESTDIR.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS xscreensaver)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://${VORTEXA_AUTHOR_HOST}/")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

# What Debian wants beside the installed files, added in the staging folder only: `cmake --install`
# keeps a plain manual page.
set(VORTEXA_DEBIAN_DOCS ${CMAKE_BINARY_DIR}/debian-docs)
configure_file(${PROJECT_SOURCE_DIR}/dist/debian/copyright ${VORTEXA_DEBIAN_DOCS}/copyright COPYONLY)
configure_file(${PROJECT_SOURCE_DIR}/dist/debian/README ${VORTEXA_DEBIAN_DOCS}/README COPYONLY)
configure_file(${PROJECT_SOURCE_DIR}/dist/debian/changelog.in ${VORTEXA_DEBIAN_DOCS}/changelog @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian_layout.cmake.in ${CMAKE_BINARY_DIR}/debian_layout.cmake @ONLY)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_BINARY_DIR}/debian_layout.cmake)

include(CPack)
