// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "designlayout.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QStyle>
#include <QStyleOptionComboBox>

using namespace Qt::StringLiterals;

namespace {

// The width an editable combo box needs to show the longest of its entries whole.
int longestEntryWidth(const QComboBox *combo)
{
    const QFontMetrics metrics(combo->font());
    int textWidth = 0;
    for (int i = 0; i < combo->count(); ++i) {
        textWidth = std::max(textWidth, metrics.horizontalAdvance(combo->itemText(i)));
    }
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = true;
    const QSize content(textWidth, metrics.height());
    return combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option, content, combo).width();
}

} // namespace

DesignLayout::DesignLayout(QSize designSize, QSize twoRowSize)
    : m_designSize(designSize)
    , m_twoRowSize(twoRowSize)
{
}

void DesignLayout::add(QWidget *control, QRect designRect, Width width, double moveAlong,
    std::optional<QRect> twoRowRect)
{
    m_places.append({ control, designRect, width, moveAlong, twoRowRect });
}

// Where each control stands and how large the container is, as the steps of place() go.
struct DesignLayout::Placement {
    struct Placed {
        const Place *place;
        QRect rect; // empty: not shown
        double moveAlong; // in this arrangement
    };
    QList<Placed> placed;
    int designWidth = 0;
    int height = 0;
    int margin = 0; // kept on the right of what the container holds

    // The container grows with what it holds, keeping the design's margin on the right.
    [[nodiscard]] int neededWidth() const
    {
        int right = 0;
        for (const Placed &control : placed) {
            right = control.rect.isEmpty() ? right : std::max(right, control.rect.right() + 1);
        }
        return std::max(designWidth, right + margin);
    }
    [[nodiscard]] int bottom() const
    {
        int bottom = 0;
        for (const Placed &control : placed) {
            bottom = control.rect.isEmpty() ? bottom : std::max(bottom, control.rect.bottom() + 1);
        }
        return bottom;
    }
};

QSize DesignLayout::place(const QFont &font, Arrangement arrangement, int roomWidth) const
{
    Placement placement = scaled(scale(font), arrangement);
    widen(placement);
    giveWay(placement, roomWidth);
    for (const Placement::Placed &control : std::as_const(placement.placed)) {
        control.place->control->setHidden(control.rect.isEmpty());
        if (!control.rect.isEmpty()) {
            control.place->control->setGeometry(control.rect);
        }
    }
    return { placement.neededWidth(), placement.height };
}

DesignLayout::Placement DesignLayout::scaled(double scale, Arrangement arrangement) const
{
    const auto scaledRect = [scale](const QRect &place) {
        return QRect(qRound(place.x() * scale), qRound(place.y() * scale),
            qRound(place.width() * scale), qRound(place.height() * scale));
    };
    const bool twoRows = arrangement == Arrangement::TwoRows;
    Placement placement;
    for (const Place &place : m_places) {
        // A control placed anew for two rows stands in a row the widening does not reach.
        const bool placedAnew = twoRows && place.twoRowRect;
        placement.placed.append({ &place, scaledRect(placedAnew ? *place.twoRowRect : place.rect),
            placedAnew ? 0 : place.moveAlong });
    }
    const QSize design = scaledRect(QRect(QPoint(), twoRows ? m_twoRowSize : m_designSize)).size();
    placement.designWidth = design.width();
    placement.height = design.height();
    placement.margin = qRound(8 * scale);
    return placement;
}

void DesignLayout::widen(Placement &placement)
{
    int widening = 0;
    for (const Placement::Placed &control : std::as_const(placement.placed)) {
        if (control.place->width == Width::LongestEntry) {
            const auto *combo = qobject_cast<const QComboBox *>(control.place->control);
            widening = std::max(0, longestEntryWidth(combo) - control.rect.width());
        }
    }
    for (Placement::Placed &control : placement.placed) {
        control.rect.translate(qRound(widening * control.moveAlong), 0);
        if (control.place->width == Width::LongestEntry) {
            control.rect.setWidth(control.rect.width() + widening);
        } else if (control.place->width == Width::AsAsked && !control.rect.isEmpty()) {
            control.rect.setWidth(
                std::max(control.rect.width(), control.place->control->sizeHint().width()));
        }
    }
}

void DesignLayout::giveWay(Placement &placement, int roomWidth)
{
    for (Placement::Placed &decoration : placement.placed) {
        if (decoration.place->width != Width::Decoration || decoration.rect.isEmpty()
            || placement.neededWidth() <= roomWidth) {
            continue;
        }
        const int overflow = placement.neededWidth() - roomWidth;
        const int decorationRight = decoration.rect.right();
        int shift = overflow;
        if (overflow <= decoration.rect.width() / 2) {
            decoration.rect.setWidth(decoration.rect.width() - overflow);
        } else {
            // What stood right of it moves to the margin where the decoration began.
            int nextLeft = INT_MAX;
            for (const Placement::Placed &control : std::as_const(placement.placed)) {
                if (!control.rect.isEmpty() && control.rect.x() > decorationRight) {
                    nextLeft = std::min(nextLeft, control.rect.x());
                }
            }
            shift = nextLeft == INT_MAX ? 0 : nextLeft - decoration.rect.x() - placement.margin;
            decoration.rect = {};
            // Nor is the container kept as tall as the decoration was.
            placement.height
                = std::min(placement.height, placement.bottom() + 2 * placement.margin);
        }
        for (Placement::Placed &control : placement.placed) {
            if (!control.rect.isEmpty() && control.rect.x() > decorationRight) {
                control.rect.translate(-shift, 0);
            }
        }
        placement.designWidth -= shift;
    }
}

double DesignLayout::scale(const QFont &font)
{
    constexpr double designLineHeight = 14.0;
    constexpr double designAverageWidth = 7.45;
    static const QString letters
        = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"_s;
    const QFontMetricsF metrics(font);
    const double averageWidth = metrics.horizontalAdvance(letters) / double(letters.size());
    return std::max(
        { 1.0, metrics.height() / designLineHeight, averageWidth / designAverageWidth });
}
