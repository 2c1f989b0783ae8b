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

QSize DesignLayout::place(const QFont &font, Arrangement arrangement, int roomWidth) const
{
    const double scale = DesignLayout::scale(font);
    const auto scaled = [scale](const QRect &place) {
        return QRect(qRound(place.x() * scale), qRound(place.y() * scale),
            qRound(place.width() * scale), qRound(place.height() * scale));
    };
    const bool twoRows = arrangement == Arrangement::TwoRows;
    const auto designRect = [twoRows](const Place &place) {
        return twoRows && place.twoRowRect ? *place.twoRowRect : place.rect;
    };

    int widening = 0;
    for (const Place &place : m_places) {
        if (place.width == Width::LongestEntry) {
            const int needed = longestEntryWidth(qobject_cast<const QComboBox *>(place.control));
            widening = std::max(0, needed - scaled(designRect(place)).width());
        }
    }
    struct Placed {
        const Place *place;
        QRect rect; // empty: not shown
    };
    QList<Placed> placed;
    for (const Place &place : m_places) {
        // A control placed anew for two rows stands in a row the widening does not reach.
        const double moveAlong = twoRows && place.twoRowRect ? 0 : place.moveAlong;
        QRect rect = scaled(designRect(place)).translated(qRound(widening * moveAlong), 0);
        if (place.width == Width::LongestEntry) {
            rect.setWidth(rect.width() + widening);
        } else if (place.width == Width::AsAsked && !rect.isEmpty()) {
            rect.setWidth(std::max(rect.width(), place.control->sizeHint().width()));
        }
        placed.append({ &place, rect });
    }

    // The container grows with what it holds, keeping the design's margin on the right.
    const int margin = qRound(8 * scale);
    const QSize design = scaled(QRect(QPoint(), twoRows ? m_twoRowSize : m_designSize)).size();
    int designWidth = design.width();
    int height = design.height();
    const auto neededWidth = [&] {
        int right = 0; // where the controls end
        for (const Placed &control : std::as_const(placed)) {
            right = control.rect.isEmpty() ? right : std::max(right, control.rect.right() + 1);
        }
        return std::max(designWidth, right + margin);
    };
    for (Placed &decoration : placed) {
        if (decoration.place->width != Width::Decoration || decoration.rect.isEmpty()
            || neededWidth() <= roomWidth) {
            continue;
        }
        const int overflow = neededWidth() - roomWidth;
        const int decorationRight = decoration.rect.right();
        int shift = overflow;
        if (overflow <= decoration.rect.width() / 2) {
            decoration.rect.setWidth(decoration.rect.width() - overflow);
        } else {
            // What stood right of it moves to the margin where the decoration began.
            int nextLeft = INT_MAX;
            for (const Placed &control : std::as_const(placed)) {
                if (!control.rect.isEmpty() && control.rect.x() > decorationRight) {
                    nextLeft = std::min(nextLeft, control.rect.x());
                }
            }
            shift = nextLeft == INT_MAX ? 0 : nextLeft - decoration.rect.x() - margin;
            decoration.rect = {};
            // Nor is the container kept as tall as the decoration was.
            int bottom = 0;
            for (const Placed &control : std::as_const(placed)) {
                bottom
                    = control.rect.isEmpty() ? bottom : std::max(bottom, control.rect.bottom() + 1);
            }
            height = std::min(height, bottom + 2 * margin);
        }
        for (Placed &control : placed) {
            if (!control.rect.isEmpty() && control.rect.x() > decorationRight) {
                control.rect.translate(-shift, 0);
            }
        }
        designWidth -= shift;
    }

    for (const Placed &control : std::as_const(placed)) {
        control.place->control->setHidden(control.rect.isEmpty());
        if (!control.rect.isEmpty()) {
            control.place->control->setGeometry(control.rect);
        }
    }
    return { neededWidth(), height };
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
