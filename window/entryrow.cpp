// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "entryrow.h"

#include "record/logtext.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {

template <typename Control> Control *makeControl(QWidget *parent, const QString &name)
{
    auto *control = new Control(parent);
    control->setObjectName(name);
    return control;
}

QLineEdit *makeLineEdit(QWidget *parent, const QString &name, const QString &text)
{
    auto *edit = makeControl<QLineEdit>(parent, name);
    edit->setText(text);
    return edit;
}

// Editable; what is typed stays as typed: no completion, and Enter adds nothing to the list.
// Filling the list selects its first entry, so the design's text is put back afterwards.
QComboBox *makeComboBox(
    QWidget *parent, const QString &name, const QString &text, const QStringList &entries)
{
    auto *combo = makeControl<QComboBox>(parent, name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->addItems(entries);
    combo->setEditText(text);
    return combo;
}

// A caption with an "&" before its Alt+letter names the box it stands over, for screen readers,
// and takes the focus there on Alt+letter.
QLabel *makeLabel(QWidget *parent, const QString &name, const QString &caption, QWidget *buddy)
{
    auto *label = makeControl<QLabel>(parent, name);
    label->setText(caption);
    label->setBuddy(buddy);
    return label;
}

} // namespace

EntryRow::EntryRow(QWidget *parent)
    : QGroupBox(parent)
{
    setObjectName(u"Frame1"_s);
    setTitle(u"Frame1"_s);
    // The design's texts; start-up presets the date and the time.
    m_callSign = makeControl<QLineEdit>(this, u"Text1"_s);
    m_day = makeComboBox(this, u"Combo1"_s, u"Combo1"_s, dayChoices());
    m_month = makeComboBox(this, u"Combo2"_s, u"Combo2"_s, monthChoices());
    m_year = makeComboBox(this, u"Combo3"_s, u"Combo3"_s, yearChoices());
    m_time = makeLineEdit(this, u"Text2"_s, u"text2"_s);
    m_band = makeComboBox(this, u"Combo4"_s, u"10m"_s, bandChoices());
    m_mode = makeComboBox(this, u"Combo5"_s, u"SSB"_s, modeChoices());
    m_report = makeLineEdit(this, u"Text3"_s, u"59"_s);
    addCaptions();

    // Where each box stands in the frame, and how far it moves along when the month box widens
    // to show the longest month name. In two rows, band, mode and report form the second.
    using Width = DesignLayout::Width;
    m_layout.add(m_callSign, { 8, 48, 81, 21 });
    m_layout.add(m_day, { 104, 48, 57, 21 });
    m_layout.add(m_month, { 168, 48, 81, 21 }, Width::LongestEntry);
    m_layout.add(m_year, { 256, 48, 65, 21 }, Width::AsDrawn, 1);
    m_layout.add(m_time, { 328, 48, 57, 21 }, Width::AsDrawn, 1);
    m_layout.add(m_band, { 392, 48, 65, 21 }, Width::AsDrawn, 1, QRect(8, 96, 65, 21));
    m_layout.add(m_mode, { 464, 48, 65, 21 }, Width::AsDrawn, 1, QRect(80, 96, 65, 21));
    m_layout.add(m_report, { 536, 48, 57, 21 }, Width::AsDrawn, 1, QRect(152, 96, 57, 21));

    connect(m_callSign, &QLineEdit::textChanged, this, &EntryRow::onCallSignChanged);
}

void EntryRow::addCaptions()
{
    // The visible words stay as they are; the "&" only underlines the Alt+letter. The date
    // caption stands over the three date boxes, and moves half as far as the month box widens.
    const auto add = [this](const QString &name, const QString &caption, QWidget *buddy,
                         QRect place, double moveAlong, std::optional<QRect> twoRowPlace = {}) {
        m_layout.add(makeLabel(this, name, caption, buddy), place, DesignLayout::Width::AsDrawn,
            moveAlong, twoRowPlace);
    };
    add(u"Label1"_s, u"&CallSign"_s, m_callSign, { 24, 24, 57, 17 }, 0);
    add(u"Label2"_s, u"Date"_s, nullptr, { 184, 24, 65, 17 }, 0.5);
    add(u"Label3"_s, u"&UTC"_s, m_time, { 336, 24, 41, 17 }, 1);
    add(u"Label5"_s, u"&Band"_s, m_band, { 400, 24, 49, 17 }, 1, QRect(16, 72, 49, 17));
    add(u"Label6"_s, u"&Mode"_s, m_mode, { 472, 24, 49, 17 }, 1, QRect(88, 72, 49, 17));
    add(u"Label4"_s, u"&RST"_s, m_report, { 544, 24, 41, 17 }, 1, QRect(160, 72, 41, 17));
    // Each date box gets a name of its own from a label that is never shown.
    for (const auto &[box, name] : { std::pair { m_day, u"Day"_s },
             std::pair { m_month, u"Month"_s }, std::pair { m_year, u"Year"_s } }) {
        makeLabel(this, name + u"Label"_s, name, box)->hide();
    }
}

QsoFields EntryRow::fields() const
{
    return { m_callSign->text(), m_day->currentText(), m_month->currentText(),
        m_year->currentText(), m_time->text(), m_band->currentText(), m_mode->currentText(),
        m_report->text() };
}

void EntryRow::setPresets(const EntryPresets &presets)
{
    m_day->setEditText(presets.day);
    m_month->setEditText(presets.month);
    m_year->setEditText(presets.year);
    m_time->setText(presets.time);
}

void EntryRow::focusEntry(QsoEntry entry)
{
    const auto focus = [](QLineEdit *edit) {
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    };
    switch (entry) {
    case QsoEntry::Call:
        return focus(m_callSign);
    case QsoEntry::Date:
        return focus(m_day->lineEdit());
    case QsoEntry::Time:
        return focus(m_time);
    case QsoEntry::Band:
        return focus(m_band->lineEdit());
    case QsoEntry::Mode:
        return focus(m_mode->lineEdit());
    case QsoEntry::Report:
        return focus(m_report);
    }
}

QList<QWidget *> EntryRow::tabOrder() const
{
    return { m_callSign, m_day, m_month, m_year, m_time, m_report, m_band, m_mode };
}

void EntryRow::placeControls(DesignLayout::Arrangement arrangement)
{
    m_neededSize = m_layout.place(font(), arrangement);
}

void EntryRow::onCallSignChanged()
{
    const QString upper = callSignUpperCase(m_callSign->text());
    if (upper != m_callSign->text()) {
        m_callSign->setText(upper);
    }
    m_callSign->setCursorPosition(int(m_callSign->text().size()));
}
