#include "programname.h"

QString programName()
{
    return QStringLiteral(QUILLOG_PROGRAM_NAME);
}

QString programVersion()
{
    return QStringLiteral(QUILLOG_PROGRAM_VERSION);
}
