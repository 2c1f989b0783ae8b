// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include <QList>
#include <QRect>
#include <QSize>

#include <climits>
#include <optional>

class QFont;
class QWidget;

// Places controls where the window's design draws them. The design is in pixels for a font whose
// lines are 14 pixels high and whose letters and digits are 7.45 pixels wide on average (9-point
// DejaVu Sans at 96 dots per inch); a larger font scales the whole design by as much as it is
// taller or wider, a smaller one leaves it as drawn. Where a text needs more room than its scaled
// place gives, its control widens, so that every text stays readable whole.
//
// A design scaled to a large font may be wider than the screen. It then gives way, never by
// making a text smaller or a control narrower than its text: first the decoration narrows, down
// to half its width, cut off at its right as it is anyway; then it goes, and what stood right of
// it moves left; then the arrangement with the entries in two rows is taken.
class DesignLayout {
public:
    enum class Width {
        AsDrawn,
        // A combo box as wide as its longest entry needs; the controls after it move along. One
        // such control at most in a layout.
        LongestEntry,
        // At least as wide as the control asks to be (its size hint).
        AsAsked,
        // A picture that narrows, then goes, when the design is too wide for the room it has. One
        // such control at most in a layout.
        Decoration,
    };

    // The two arrangements of the design, the second only where the first does not fit.
    enum class Arrangement {
        AsDrawn,
        TwoRows, // the entries in two rows, and no decoration
    };

    // The size of the container in each arrangement.
    explicit DesignLayout(QSize designSize = {}, QSize twoRowSize = {});

    // The control's place as drawn, and where it stands when the entries take two rows: the same
    // place when none is given, nowhere (hidden) when the place given is empty. moveAlong: how far
    // the control moves when the LongestEntry combo box widens, as a share of the widening (1 for
    // a control to its right, 0.5 for a caption centred over it); a control placed anew for two
    // rows does not move along there, as it stands in the other row.
    void add(QWidget *control, QRect designRect, Width width = Width::AsDrawn, double moveAlong = 0,
        std::optional<QRect> twoRowRect = std::nullopt);

    // Puts every control in its place for the font and the arrangement, giving way as far as the
    // decoration allows when the container would be wider than the room, and gives the size the
    // container needs: the design's size scaled, wider where the controls reach further, with the
    // design's margin.
    QSize place(const QFont &font, Arrangement arrangement = Arrangement::AsDrawn,
        int roomWidth = INT_MAX) const;

    // How much the design grows for the font; never below 1.
    [[nodiscard]] static double scale(const QFont &font);

private:
    struct Place {
        QWidget *control;
        QRect rect;
        Width width;
        double moveAlong;
        std::optional<QRect> twoRowRect;
    };

    // The steps of place(): the design scaled to the font, in the arrangement; the controls
    // widened for the longest entry and for what they ask, and moved along; the decoration giving
    // way to the room.
    struct Placement;
    [[nodiscard]] Placement scaled(double scale, Arrangement arrangement) const;
    static void widen(Placement &placement);
    static void giveWay(Placement &placement, int roomWidth);

    QSize m_designSize;
    QSize m_twoRowSize;
    QList<Place> m_places;
};
