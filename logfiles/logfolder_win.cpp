// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "logfolder.h"

using namespace Qt::StringLiterals;

FileResult<LogFolder> LogFolder::standard()
{
    return { {}, LogFolder(u"C:/adif"_s) };
}
