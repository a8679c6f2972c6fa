# Installation (GNU layout, relative destinations) and the Debian package.
include(GNUInstallDirs)

install(TARGETS kovaldi
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    BUNDLE DESTINATION .)

if(UNIX AND NOT APPLE)
    set(generated ${CMAKE_CURRENT_BINARY_DIR}/generated)
    configure_file(packaging/linux/app.desktop.in ${generated}/${KOVALDI_APP_ID}.desktop @ONLY)
    configure_file(packaging/linux/app.metainfo.xml.in ${generated}/${KOVALDI_APP_ID}.metainfo.xml @ONLY)
    install(FILES ${generated}/${KOVALDI_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${generated}/${KOVALDI_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    set(hicolor ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
    install(FILES ${KOVALDI_ICON_DIR}/kovaldi.svg
        DESTINATION ${hicolor}/scalable/apps RENAME ${KOVALDI_APP_ID}.svg)
    foreach(size 16 32 48 64 128 256)
        install(FILES ${KOVALDI_ICON_DIR}/kovaldi-${size}.png
            DESTINATION ${hicolor}/${size}x${size}/apps RENAME ${KOVALDI_APP_ID}.png)
    endforeach()
    # Where Debian looks for the licence of a package.
    install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kovaldi RENAME copyright)
endif()

set(CPACK_PACKAGE_NAME kovaldi)
set(CPACK_PACKAGE_VENDOR "The Kovaldi developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${PROJECT_DESCRIPTION}\n Kovaldi makes, in one run, folders named header + zero-padded number + footer\n for every number from a minimum to a maximum, with a live preview of the\n first and last name. Its interface is Japanese.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${KOVALDI_HOMEPAGE_URL}")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_CONTACT "${KOVALDI_MAIL_ADDRESS}")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Kovaldi developers <${KOVALDI_MAIL_ADDRESS}>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The platform plugin is not a linked library, so dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# A Japanese face for the interface, Qt's Japanese button texts, and a handler for the
# About window's links.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk, qt6-translations-l10n, xdg-utils")
include(CPack)
