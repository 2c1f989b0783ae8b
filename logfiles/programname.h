#pragma once

#include <QString>

// The program's name and its version as major.minor ("Quillog", "1.0"), both from the build's
// project definition, for every text that names the program.
[[nodiscard]] QString programName();
[[nodiscard]] QString programVersion();
