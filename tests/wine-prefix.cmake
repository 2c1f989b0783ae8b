# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Quillog developers

# Makes the Wine prefix that tests of the Windows build run in, in the build folder, and leaves
# no log folder in it:  cmake -DPREFIX=<folder> -DWINE=<wine64> [-DDPI=<dots per inch>] -P
# wine-prefix.cmake
file(REMOVE_RECURSE ${PREFIX}/drive_c/adif)
set(ENV{WINEPREFIX} ${PREFIX})
set(ENV{WINEDEBUG} -all)
# Without the .NET and HTML engines Wine would offer to download.
set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=")
execute_process(COMMAND ${WINE} wineboot.exe --init RESULT_VARIABLE failed)
# With -DDPI=<dots per inch>, the screen's setting in Windows' display settings.
if(DPI AND NOT failed)
    execute_process(COMMAND ${WINE} reg.exe add "HKCU\\Control Panel\\Desktop" /v LogPixels
        /t REG_DWORD /d ${DPI} /f OUTPUT_QUIET RESULT_VARIABLE failed)
endif()
get_filename_component(wine_folder ${WINE} DIRECTORY)
execute_process(COMMAND ${wine_folder}/wineserver -w)
if(failed)
    message(FATAL_ERROR "Could not make the Wine prefix ${PREFIX}")
endif()
