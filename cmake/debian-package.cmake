# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Quillog developers

# Included by the top-level CMakeLists.txt: its paths are the source tree's.

# Installation: the program, its menu entry, its icon in every size, and the software-centre
# description.
include(GNUInstallDirs)
install(TARGETS quillog RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/${QUILLOG_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
set(QUILLOG_METAINFO ${CMAKE_CURRENT_BINARY_DIR}/${QUILLOG_APP_ID}.metainfo.xml)
configure_file(packaging/${QUILLOG_APP_ID}.metainfo.xml.in ${QUILLOG_METAINFO} @ONLY)
install(FILES ${QUILLOG_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 32 48 64 96 256)
    install(FILES assets/quillog-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME ${QUILLOG_APP_ID}.png)
endforeach()
install(FILES assets/quillog.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    RENAME ${QUILLOG_APP_ID}.svg)

# The manual page and the changelog are installed gzipped, as Debian keeps them; -n leaves the
# time stamp out, so that every build gives the same bytes. Built with the program, so that
# building it alone is enough to install or package it.
find_program(GZIP gzip REQUIRED)
set(QUILLOG_MAN_PAGE ${CMAKE_CURRENT_BINARY_DIR}/quillog.1.gz)
set(QUILLOG_CHANGELOG ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
function(quillog_gzip source gzipped)
    add_custom_command(OUTPUT ${gzipped}
        COMMAND ${GZIP} -9 -n -c ${source} > ${gzipped}
        DEPENDS ${source})
endfunction()
configure_file(packaging/quillog.1.in quillog.1 @ONLY)
quillog_gzip(${CMAKE_CURRENT_BINARY_DIR}/quillog.1 ${QUILLOG_MAN_PAGE})
quillog_gzip(${PROJECT_SOURCE_DIR}/packaging/changelog ${QUILLOG_CHANGELOG})
add_custom_target(quillog-docs DEPENDS ${QUILLOG_MAN_PAGE} ${QUILLOG_CHANGELOG})
add_dependencies(quillog quillog-docs)
install(FILES ${QUILLOG_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/copyright ${QUILLOG_CHANGELOG}
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/quillog)
# AppStream 1.0 (Debian 13) fails a description that names no home page, and Quillog has no web
# address to give. The test suite validates the description with that one issue lowered to a note,
# so any other fault in it still fails the build; lintian, which cannot tell that issue from others,
# is told so where its AppStream asks for a home page (Debian 12's lintian knows no such tag).
find_program(APPSTREAMCLI appstreamcli)
execute_process(COMMAND ${APPSTREAMCLI} --version OUTPUT_VARIABLE appstream_version)
string(REGEX MATCH "[0-9]+\\.[0-9]+" appstream_version "${appstream_version}")
file(READ packaging/lintian-overrides lintian_overrides)
if(appstream_version VERSION_GREATER_EQUAL 1.0)
    set(QUILLOG_APPSTREAM_ASKS_HOME_PAGE ON)
    string(APPEND lintian_overrides
        "#\n"
        "# AppStream asks for a home page, and Quillog has no web address to give; its test suite\n"
        "# validates the description with only that issue lowered to a note.\n"
        "quillog: appstream-metadata-validation-failed\n")
else()
    set(QUILLOG_APPSTREAM_ASKS_HOME_PAGE OFF)
endif()
file(CONFIGURE OUTPUT lintian-overrides CONTENT "${lintian_overrides}" @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME quillog)

# A Debian package: dpkg-shlibdeps finds the Qt libraries the program links; the platform
# plugins that open its window are no linked library, so they are named here.
set(CPACK_GENERATOR DEB)
string(TOLOWER "${PROJECT_NAME}" CPACK_PACKAGE_NAME)
set(CPACK_PACKAGE_VENDOR "${PROJECT_NAME} developers")
set(CPACK_PACKAGE_CONTACT "${PROJECT_NAME} developers <developers@quillog.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quillog is a small logbook for amateur-radio operators. For every contact (QSO)"
    "you type the other station's call sign, the date, the time in UTC, the band,"
    "the mode and the report you sent. Save turns them into one ADIF record and"
    "adds it to the list of pending records, which you may edit by hand and which"
    "is kept between runs."
    ""
    "Generate Log writes the pending records into the day's .adi file, ready for"
    "other logging programs and QSL services, and starts a new, empty list.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_STRIP_FILES ON)
include(CPack)
