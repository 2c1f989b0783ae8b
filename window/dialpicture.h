// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include <QLabel>

// The photograph of a radio's tuning dial that decorates the window: drawn for 244 x 287 design
// pixels, and shown sharp at the design's scale on screens of any pixel density.
class DialPicture : public QLabel {
    Q_OBJECT

public:
    explicit DialPicture(QWidget *parent = nullptr);

    // Shows the photograph at the design's scale, for the window's screen.
    void showAtScale(double scale);
};
