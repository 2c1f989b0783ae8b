# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Quillog developers

# Included by the top-level CMakeLists.txt when building for Windows: its paths are the source
# tree's. The release is a folder that runs where it is unpacked, packed as a zip and as an NSIS
# installer with a Start-menu entry and an uninstaller.

configure_file(assets/quillog.rc.in quillog.rc @ONLY)
target_sources(quillog PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/quillog.rc)

# Where the libraries the program loads are found: Qt's, the compiler's runtime, and Windows'
# own, which Wine holds under their Windows names. The tests are run from the same places.
get_target_property(qt_core Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(QUILLOG_QT_BINARIES ${qt_core} DIRECTORY)
set(QUILLOG_WINDOWS_RUNTIME_DIRECTORIES ${QUILLOG_QT_BINARIES})
foreach(runtime libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
        OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(directory ${found} REALPATH)
    get_filename_component(directory ${directory} DIRECTORY)
    list(APPEND QUILLOG_WINDOWS_RUNTIME_DIRECTORIES ${directory})
endforeach()
find_path(QUILLOG_WINDOWS_SYSTEM_LIBRARIES kernel32.dll
    PATHS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/wine/x86_64-windows
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)

# The program, and beside it what it loads: the platform, style and JPEG plugins of Qt, and every
# library that it or one of them imports, found by reading their import tables as Windows' loader
# does. What Windows itself holds is looked up too, and left out. Windows' names compare without
# case and the tables name "QT6CORE.dll" as much as "Qt6Core.dll", so they are looked up in lower
# case, among links named so that lead to the libraries; each is installed under its own name.
install(TARGETS quillog RUNTIME DESTINATION .)
set(plugins QWindowsIntegrationPlugin:platforms QWindowsVistaStylePlugin:styles
    QJpegPlugin:imageformats)
foreach(plugin ${plugins})
    string(REPLACE ":" ";" plugin ${plugin})
    list(GET plugin 0 target)
    list(GET plugin 1 folder)
    install(IMPORTED_RUNTIME_ARTIFACTS Qt6::${target} LIBRARY DESTINATION ${folder})
    list(APPEND plugin_files $<TARGET_FILE:Qt6::${target}>)
endforeach()
set(lower_case_names ${CMAKE_CURRENT_BINARY_DIR}/windows-library-names)
file(REMOVE_RECURSE ${lower_case_names})
file(MAKE_DIRECTORY ${lower_case_names})
foreach(directory ${QUILLOG_WINDOWS_RUNTIME_DIRECTORIES})
    file(GLOB libraries ${directory}/*.dll)
    foreach(library ${libraries})
        get_filename_component(name ${library} NAME)
        string(TOLOWER ${name} name)
        file(CREATE_LINK ${library} ${lower_case_names}/${name} SYMBOLIC)
    endforeach()
endforeach()
install(CODE "
    set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
    set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
    set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND ${CMAKE_OBJDUMP})
    file(GET_RUNTIME_DEPENDENCIES
        EXECUTABLES $<TARGET_FILE:quillog> MODULES ${plugin_files}
        RESOLVED_DEPENDENCIES_VAR libraries UNRESOLVED_DEPENDENCIES_VAR missing
        PRE_EXCLUDE_REGEXES [[^api-ms-]] [[^ext-ms-]]
        POST_EXCLUDE_REGEXES [[^${QUILLOG_WINDOWS_SYSTEM_LIBRARIES}/]]
        DIRECTORIES ${lower_case_names} ${QUILLOG_WINDOWS_SYSTEM_LIBRARIES})
    if(missing)
        message(FATAL_ERROR \"Not found, and not part of Windows: \${missing}\")
    endif()
    foreach(library \${libraries})
        file(REAL_PATH \${library} library)
        file(INSTALL \${library} DESTINATION \${CMAKE_INSTALL_PREFIX})
    endforeach()
    # Shipped without the symbols only a debugger reads.
    file(GLOB_RECURSE shipped \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*.dll
        \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*.exe)
    foreach(library \${shipped})
        execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded \${library})
    endforeach()
")
install(FILES LICENSES/GPL-3.0-or-later.txt DESTINATION . RENAME LICENSE.txt)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR "${PROJECT_NAME} developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY ${PROJECT_NAME})
set(CPACK_PACKAGE_EXECUTABLES quillog ${PROJECT_NAME})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSES/GPL-3.0-or-later.txt)
set(CPACK_STRIP_FILES ON)
# A 64-bit installer, as the program is one, which installs into the 64-bit Program Files.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_DISPLAY_NAME ${PROJECT_NAME})
set(CPACK_NSIS_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/assets/quillog.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/assets/quillog.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME quillog.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MUI_FINISHPAGE_RUN quillog.exe)
include(CPack)
