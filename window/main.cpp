#include "logfiles/logfolderlock.h"
#include "mainwindow.h"
#include "messagebox.h"
#include "terminationsignals.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(applicationTitle());
    // Lets the desktop match the window to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quillog.Quillog"));

    const LogFolder folder = LogFolder::standard();
    const LogFolderLock lock(folder);
    if (lock.heldByAnotherCopy()) {
        showMessageBox(nullptr, { MessageStyle::Information, alreadyRunningMessage(folder) });
        return 0;
    }

    MainWindow window(folder, &QDateTime::currentDateTime);
    endQuietlyOnTermination(window);
    window.show();
    return app.exec();
}
