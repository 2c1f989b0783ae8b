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

DesignLayout::DesignLayout(QSize designSize)
    : m_designSize(designSize)
{
}

void DesignLayout::add(QWidget *control, QRect designRect, Width width, double moveAlong)
{
    m_places.append({ control, designRect, width, moveAlong });
}

QSize DesignLayout::place(const QFont &font) const
{
    const double scale = DesignLayout::scale(font);
    const auto scaled = [scale](const QRect &place) {
        return QRect(qRound(place.x() * scale), qRound(place.y() * scale),
            qRound(place.width() * scale), qRound(place.height() * scale));
    };

    int widening = 0;
    for (const Place &place : m_places) {
        if (place.width == Width::LongestEntry) {
            const int needed = longestEntryWidth(qobject_cast<const QComboBox *>(place.control));
            widening = std::max(0, needed - scaled(place.rect).width());
        }
    }
    int right = 0; // where the controls end
    for (const Place &place : m_places) {
        QRect rect = scaled(place.rect).translated(qRound(widening * place.moveAlong), 0);
        if (place.width == Width::LongestEntry) {
            rect.setWidth(rect.width() + widening);
        } else if (place.width == Width::AsAsked) {
            rect.setWidth(std::max(rect.width(), place.control->sizeHint().width()));
        }
        place.control->setGeometry(rect);
        right = std::max(right, rect.right() + 1);
    }

    // The container grows with what it holds, keeping the design's margin on the right.
    const QSize design = scaled(QRect(QPoint(), m_designSize)).size();
    return { std::max(design.width(), right + qRound(8 * scale)), design.height() };
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
