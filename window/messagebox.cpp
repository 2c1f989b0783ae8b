// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "messagebox.h"

#include "logfiles/programname.h"

#include <QMessageBox>

using namespace Qt::StringLiterals;

void configureMessageBox(QMessageBox &box, const UserMessage &message)
{
    switch (message.style) {
    case MessageStyle::Validation:
        box.setIcon(QMessageBox::NoIcon);
        box.setWindowTitle(applicationTitle());
        break;
    case MessageStyle::Information:
        box.setIcon(QMessageBox::Information);
        box.setWindowTitle(programName());
        break;
    case MessageStyle::Error:
        box.setIcon(QMessageBox::Warning);
        box.setWindowTitle(programName());
        break;
    }
    box.setTextFormat(Qt::PlainText);
    // Messages end their lines with CR LF like everything the program writes; a label wants LF.
    box.setText(QString(message.text).replace("\r\n"_L1, "\n"_L1));
    box.setStandardButtons(QMessageBox::Ok);
}

void showMessageBox(QWidget *parent, const UserMessage &message)
{
    QMessageBox box(parent);
    configureMessageBox(box, message);
    box.exec();
}
