// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "programname.h"

QString programName()
{
    return QStringLiteral(QUILLOG_PROGRAM_NAME);
}

QString programVersion()
{
    return QStringLiteral(QUILLOG_PROGRAM_VERSION);
}

QString applicationTitle()
{
    return QStringLiteral("%1_%2_eng").arg(programName(), programVersion().remove(u'.'));
}
