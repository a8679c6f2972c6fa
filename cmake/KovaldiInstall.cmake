# Installation (GNU layout, relative destinations) and the Debian package.
include(GNUInstallDirs)

install(TARGETS kovaldi kovaldi-cli
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    BUNDLE DESTINATION .)

# The programs' command-line messages, where they look for them: share/kovaldi/translations beside bin,
# or translations beside the program where there is no share folder.
if(UNIX AND NOT APPLE)
    install(FILES ${KOVALDI_CLI_QM_FILES} ${KOVALDI_APP_QM_FILES}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/kovaldi/translations)
else()
    install(FILES ${KOVALDI_CLI_QM_FILES} ${KOVALDI_APP_QM_FILES}
        DESTINATION ${CMAKE_INSTALL_BINDIR}/translations)
endif()

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

    # The manual pages, compressed without a name or time stamp so that builds agree.
    find_program(KOVALDI_GZIP gzip REQUIRED)
    set(manpages)
    foreach(page kovaldi.1 kovaldi-cli.1)
        set(manpage ${generated}/${page})
        add_custom_command(OUTPUT ${manpage}.gz
            COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/linux/${page} ${manpage}
            COMMAND ${KOVALDI_GZIP} -9nf ${manpage}
            DEPENDS packaging/linux/${page}
            COMMENT "Compressing the manual page ${page}" VERBATIM)
        list(APPEND manpages ${manpage}.gz)
    endforeach()
    # The changelog, which Debian asks of every package, compressed in the same way.
    configure_file(packaging/linux/changelog.in ${generated}/changelog @ONLY)
    add_custom_command(OUTPUT ${generated}/changelog.gz
        COMMAND ${KOVALDI_GZIP} -9nkf ${generated}/changelog
        DEPENDS ${generated}/changelog
        COMMENT "Compressing the changelog" VERBATIM)
    add_custom_target(kovaldi_manpage ALL DEPENDS ${manpages} ${generated}/changelog.gz)
    install(FILES ${manpages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${generated}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kovaldi)

    # The file managers' context-menu entries that open the window on a folder. Dolphin
    # (KIO) takes a service menu only when the file is executable; Caja reads the
    # FileManager-Actions file with caja-actions, PCManFM-Qt on its own.
    set(filemanagers ${generated}/filemanagers)
    foreach(entry kovaldi.servicemenu.desktop kovaldi-folder.nemo_action
                  kovaldi-here.nemo_action kovaldi.fma.desktop)
        configure_file(packaging/linux/filemanagers/${entry}.in ${filemanagers}/${entry} @ONLY)
    endforeach()
    install(FILES ${filemanagers}/kovaldi.servicemenu.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/kio/servicemenus RENAME ${KOVALDI_APP_ID}.desktop
        PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                    WORLD_READ WORLD_EXECUTE)
    # Lintian counts that executable bit against the package; the override says why it
    # is there.
    configure_file(packaging/linux/lintian-overrides.in ${generated}/lintian-overrides @ONLY)
    install(FILES ${generated}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME kovaldi)
    install(FILES ${filemanagers}/kovaldi-folder.nemo_action ${filemanagers}/kovaldi-here.nemo_action
        DESTINATION ${CMAKE_INSTALL_DATADIR}/nemo/actions)
    install(FILES ${filemanagers}/kovaldi.fma.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/file-manager/actions RENAME ${KOVALDI_APP_ID}.desktop)

    # Where bash-completion looks for a command's completion when it is first completed.
    install(FILES packaging/linux/kovaldi-cli.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME kovaldi-cli)

    # The metainfo's screenshots, rendered from the windows as built, at twice the size for
    # high-density screens. The metainfo names them by web address (AppStream takes no
    # other), below KOVALDI_SCREENSHOT_URL, where the packager publishes these very files.
    set(screenshots ${generated}/screenshots)
    add_custom_command(OUTPUT ${screenshots}/mainwindow.png ${screenshots}/aboutwindow.png
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2
                $<TARGET_FILE:kovaldi-shot> --example ${screenshots}
        DEPENDS kovaldi-shot
        COMMENT "Rendering the screenshots" VERBATIM)
    add_custom_target(kovaldi_screenshots ALL
        DEPENDS ${screenshots}/mainwindow.png ${screenshots}/aboutwindow.png)
    install(FILES ${screenshots}/mainwindow.png ${screenshots}/aboutwindow.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/kovaldi/screenshots)
endif()

set(CPACK_PACKAGE_NAME kovaldi)
set(CPACK_PACKAGE_VENDOR "The Kovaldi developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# CPack puts the summary first and indents every line; an empty line separates paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Kovaldi makes, in one run, folders named header + zero-padded number + footer
for every number from a minimum to a maximum, with a live preview of the
first and last name. Its interface is Japanese. File managers offer it on a
folder's context menu.

kovaldi-cli makes the same folders from a terminal or a script, with a dry
run, a JSON report and an undo of the last run.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${KOVALDI_HOMEPAGE_URL}")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_CONTACT "${KOVALDI_MAIL_ADDRESS}")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Kovaldi developers <${KOVALDI_MAIL_ADDRESS}>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the Japanese interface cannot work without, beside the libraries dpkg-shlibdeps
# finds (the X11 platform plugin is in libqt6gui6): a Japanese Gothic face (the faces the
# program names first, or any that Debian counts as one) and Qt's Japanese button texts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-ipafont-gothic | fonts-noto-cjk | fonts-japanese-gothic, qt6-translations-l10n")
# The Wayland platform plugin, so that the window is native on a Wayland desktop rather
# than shown through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# The About window's links open through xdg-open where the desktop offers no handler of
# its own; xdg-utils recommends a few dozen packages, so it is only suggested. Caja shows
# the file-manager action through caja-actions.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xdg-utils, caja-actions")
include(CPack)
