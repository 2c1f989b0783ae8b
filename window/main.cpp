// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "logfiles/logfolderlock.h"
#include "logfiles/pendinglog.h"
#include "logfiles/programname.h"
#include "interfacefont.h"
#include "mainwindow.h"
#include "messagebox.h"
#include "terminationsignals.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    useInstalledInterfaceFont();
    QCoreApplication::setApplicationName(applicationTitle());
    // Lets the desktop match the window to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quillog.Quillog"));

    const FileResult<LogFolder> standardFolder = LogFolder::standard();
    if (!standardFolder.ok()) {
        showMessageBox(nullptr, standardFolder.message());
        return 1;
    }
    const LogFolder &folder = standardFolder.value;
    const LogFolderLock lock(folder);
    if (lock.startRefused()) {
        showMessageBox(nullptr, lock.message());
        return 0;
    }

    MainWindow window(folder, qOverload<>(&QDateTime::currentDateTime));
    PendingLog &pending = window.pendingLog();
    endQuietlyOnTermination(pending);
#ifndef QT_NO_SESSIONMANAGER
    // The desktop session is ending: nobody is there to answer a message box.
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, &pending,
        &PendingLog::saveQuietly, Qt::DirectConnection);
#endif
    window.show();
    // A log folder or a lock that could not be made keeps nobody out: the program runs, and says so
    // once. The box opens inside the event loop, so that a signal to stop ends the program, not
    // only the box.
    if (const UserMessage atStart = lock.message(); !atStart.text.isEmpty()) {
        QTimer::singleShot(0, &window, [&window, atStart] { showMessageBox(&window, atStart); });
    }
    return app.exec();
}
