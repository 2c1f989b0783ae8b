// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include "record/entrychoices.h"
#include "record/qsorecord.h"
#include "window/designlayout.h"

#include <QGroupBox>

class QComboBox;
class QLineEdit;

// The frame that holds the entries of one contact, a row of captions over a row of boxes: call
// sign, day, month and year, time, band, mode and report, with their choice lists. What the boxes
// hold is exactly what the operator typed or picked, the call sign kept in capitals. The window
// sets the frame's title.
class EntryRow : public QGroupBox {
    Q_OBJECT

public:
    explicit EntryRow(QWidget *parent);

    [[nodiscard]] QsoFields fields() const;
    void setPresets(const EntryPresets &presets);
    // Takes the keyboard to the entry, its text selected, ready to be corrected.
    void focusEntry(QsoEntry entry);
    // The boxes in the order Tab visits them.
    [[nodiscard]] QList<QWidget *> tabOrder() const;

    // Puts the captions and boxes in their places for the font, in one row or in two; the frame
    // then asks to be as wide as they need.
    void placeControls(DesignLayout::Arrangement arrangement);
    [[nodiscard]] QSize sizeHint() const override { return m_neededSize; }

private:
    void addCaptions();
    void onCallSignChanged();

    QLineEdit *m_callSign = nullptr;
    QComboBox *m_day = nullptr;
    QComboBox *m_month = nullptr;
    QComboBox *m_year = nullptr;
    QLineEdit *m_time = nullptr;
    QComboBox *m_band = nullptr;
    QComboBox *m_mode = nullptr;
    QLineEdit *m_report = nullptr;
    DesignLayout m_layout;
    QSize m_neededSize;
};
