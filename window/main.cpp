#include "logfiles/logfolder.h"
#include "mainwindow.h"
#include "messagebox.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(applicationTitle());

    MainWindow window(LogFolder::standard(), &QDateTime::currentDateTime);
    window.show();
    return app.exec();
}
