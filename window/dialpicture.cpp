// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "dialpicture.h"

#include <QImage>
#include <QPixmap>

using namespace Qt::StringLiterals;

DialPicture::DialPicture(QWidget *parent)
    : QLabel(parent)
{
    setObjectName(u"Picture1"_s);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(u"Radio tuning dial"_s);
}

void DialPicture::showAtScale(double scale)
{
    // It comes at twice its drawn size as well.
    const qreal devicePixelRatio = devicePixelRatioF();
    const double pixelsPerDesignPixel = scale * devicePixelRatio;
    QImage image(pixelsPerDesignPixel > 1.0 ? u":/assets/dial@2x.jpg"_s : u":/assets/dial.jpg"_s);
    const QSize size = (QSizeF(244, 287) * pixelsPerDesignPixel).toSize();
    if (image.size() != size) {
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    image.setDevicePixelRatio(devicePixelRatio);
    setPixmap(QPixmap::fromImage(image));
}
