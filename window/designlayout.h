// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include <QList>
#include <QRect>
#include <QSize>

class QFont;
class QWidget;

// Places controls where the window's design draws them. The design is in pixels for a font whose
// lines are 14 pixels high and whose letters and digits are 7.45 pixels wide on average (9-point
// DejaVu Sans at 96 dots per inch); a larger font scales the whole design by as much as it is
// taller or wider, a smaller one leaves it as drawn. Where a text needs more room than its scaled
// place gives, its control widens, so that every text stays readable whole.
class DesignLayout {
public:
    enum class Width {
        AsDrawn,
        // A combo box as wide as its longest entry needs; the controls after it move along. One
        // such control at most in a layout.
        LongestEntry,
        // At least as wide as the control asks to be (its size hint).
        AsAsked,
    };

    // The size of the container in the design.
    explicit DesignLayout(QSize designSize = {});

    // moveAlong: how far the control moves when the LongestEntry combo box widens, as a share of
    // the widening (1 for a control to its right, 0.5 for a caption centred over it).
    void add(
        QWidget *control, QRect designRect, Width width = Width::AsDrawn, double moveAlong = 0);

    // Puts every control in its place for the font, and gives the size the container needs: the
    // design's size scaled, wider where the controls reach further, with the design's margin.
    QSize place(const QFont &font) const;

    // How much the design grows for the font; never below 1.
    [[nodiscard]] static double scale(const QFont &font);

private:
    struct Place {
        QWidget *control;
        QRect rect;
        Width width;
        double moveAlong;
    };

    QSize m_designSize;
    QList<Place> m_places;
};
