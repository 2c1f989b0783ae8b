// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

// Makes sure that the font the window is drawn in is one the system has; called once the
// application exists. Kept by interfacefont_unix.cpp and interfacefont_win.cpp.
// Unix: the desktop's font, as it is.
// Windows: where the interface font Windows names is not installed and another stands in for it,
// the first installed of Segoe UI, Tahoma, Arial, DejaVu Sans and Liberation Sans, at the same
// size. Wine without Windows' fonts names MS Shell Dlg and stands a mathematical font in for it,
// in which Qt's entries draw no text at 96 DPI.
void useInstalledInterfaceFont();
