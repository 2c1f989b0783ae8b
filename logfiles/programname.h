// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include <QString>

// The program's name and its version as major.minor ("Quillog", "1.0"), both from the build's
// project definition, for every text that names the program.
[[nodiscard]] QString programName();
[[nodiscard]] QString programVersion();

// The title the program is known by, "Quillog_10_eng": the name, the version's digits and the
// language. Validation messages show it as their caption.
[[nodiscard]] QString applicationTitle();
