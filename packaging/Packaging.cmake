# The Debian package: `cpack -G DEB` in the build tree. What the program links decides the
# dependencies (dpkg-shlibdeps), so they follow the Qt and libjpeg the build used.
set(SETTINGS_PACKAGE_ID tarvo-settings)
set(SETTINGS_PACKAGE_MAINTAINER "Settings developers <settings@example.org>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${SETTINGS_PACKAGE_ID})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Settings developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "configuration assistant for the Tarvo-K8 and Tarvo-M8 digital I/O cards")
set(CPACK_PACKAGE_DESCRIPTION
    "Settings shows a photograph of a Tarvo-K8 or Tarvo-M8 PCI Express digital I/O card and\n\
explains the places on it that matter: hovering a highlighted place opens a window about it,\n\
and the input-filter window shows how to set the card's eight-position DIP switch.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# A package carries the program without its debugging information.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${SETTINGS_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
