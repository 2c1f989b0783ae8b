// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "interfacefont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>

using namespace Qt::StringLiterals;

void useInstalledInterfaceFont()
{
    QFont font = QApplication::font();
    if (QFontInfo(font).family().compare(font.family(), Qt::CaseInsensitive) == 0) {
        return;
    }
    for (const QString &family :
        { u"Segoe UI"_s, u"Tahoma"_s, u"Arial"_s, u"DejaVu Sans"_s, u"Liberation Sans"_s }) {
        font.setFamily(family);
        if (QFontInfo(font).family().compare(family, Qt::CaseInsensitive) == 0) {
            QApplication::setFont(font);
            return;
        }
    }
}
