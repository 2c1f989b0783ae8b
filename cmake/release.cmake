# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Quillog developers

# The release's version and date come from the latest entry of the changelog, the one place they
# are written: the program, the package, the manual page and the software-centre description all
# take them from there.
set(QUILLOG_CHANGELOG_SOURCE ${CMAKE_CURRENT_LIST_DIR}/../packaging/changelog)
file(STRINGS ${QUILLOG_CHANGELOG_SOURCE} QUILLOG_CHANGELOG_ENTRY
    LIMIT_COUNT 1 REGEX "^quillog ")
file(STRINGS ${QUILLOG_CHANGELOG_SOURCE} QUILLOG_CHANGELOG_SIGNATURE
    LIMIT_COUNT 1 REGEX "^ -- ")
if(NOT QUILLOG_CHANGELOG_ENTRY MATCHES "^quillog \\(([0-9.]+)\\)")
    message(FATAL_ERROR "packaging/changelog: no version in \"${QUILLOG_CHANGELOG_ENTRY}\"")
endif()
set(QUILLOG_RELEASE_VERSION ${CMAKE_MATCH_1})
if(NOT QUILLOG_CHANGELOG_SIGNATURE MATCHES ", ([0-9]?[0-9]) ([A-Z][a-z][a-z]) ([0-9]+) ")
    message(FATAL_ERROR "packaging/changelog: no date in \"${QUILLOG_CHANGELOG_SIGNATURE}\"")
endif()
set(QUILLOG_RELEASE_DAY ${CMAKE_MATCH_1})
set(QUILLOG_MONTH_ABBREVIATION ${CMAKE_MATCH_2})
set(QUILLOG_RELEASE_YEAR ${CMAKE_MATCH_3})
string(REGEX REPLACE "^([0-9])$" "0\\1" QUILLOG_RELEASE_DAY ${QUILLOG_RELEASE_DAY})
set(QUILLOG_MONTHS January February March April May June July August September October November
    December)
foreach(index RANGE 11)
    list(GET QUILLOG_MONTHS ${index} name)
    string(SUBSTRING ${name} 0 3 abbreviation)
    if(abbreviation STREQUAL QUILLOG_MONTH_ABBREVIATION)
        math(EXPR number "${index} + 1")
        string(REGEX REPLACE "^([0-9])$" "0\\1" number ${number})
        set(QUILLOG_RELEASE_DATE ${QUILLOG_RELEASE_YEAR}-${number}-${QUILLOG_RELEASE_DAY})
        set(QUILLOG_RELEASE_MONTH "${name} ${QUILLOG_RELEASE_YEAR}")
    endif()
endforeach()
if(NOT QUILLOG_RELEASE_DATE)
    message(FATAL_ERROR "packaging/changelog: no month in \"${QUILLOG_CHANGELOG_SIGNATURE}\"")
endif()
