// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "interfacefont.h"

void useInstalledInterfaceFont() { }
