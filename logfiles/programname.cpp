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
