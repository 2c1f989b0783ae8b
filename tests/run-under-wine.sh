#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Quillog developers

# Runs a test program of the Windows build under Wine:  run-under-wine.sh <wine> <test.exe> [args]
# Under Wine, what a Qt test writes to its standard output is lost when that is a pipe, as it is
# for CTest; so the results go to a file, shown here once the test has ended.
set -u
wine=$1
shift
results=$(mktemp)
"$wine" "$@" -o "Z:$results,txt"
status=$?
cat "$results"
rm -f "$results"
exit $status
