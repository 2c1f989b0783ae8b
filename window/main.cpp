#include "logfiles/logfolder.h"
#include "mainwindow.h"
#include "messagebox.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(applicationTitle());
    // Lets the desktop match the window to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quillog.Quillog"));

    MainWindow window(LogFolder::standard(), &QDateTime::currentDateTime);
    window.show();
    return app.exec();
}
