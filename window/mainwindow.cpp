// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "mainwindow.h"

#include "announcer.h"
#include "dialpicture.h"
#include "entryrow.h"
#include "logbox.h"
#include "logfiles/pendinglog.h"
#include "logfiles/programname.h"
#include "messagebox.h"
#include "record/entrychoices.h"
#include "record/logtext.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <climits>

using namespace Qt::StringLiterals;

namespace {

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false); // Enter has no effect of its own
    return button;
}

// Tab visits the controls in the order given.
void chainFocus(const QList<QWidget *> &order)
{
    for (qsizetype i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
    }
}

} // namespace

MainWindow::MainWindow(LogFolder folder, Clock clock, MessagePresenter presenter, QWidget *parent)
    : QWidget(parent)
    , m_folder(std::move(folder))
    , m_clock(std::move(clock))
    , m_presenter(std::move(presenter))
{
    setObjectName(u"Form1"_s);
    setWindowTitle(u"%1 v%2 by Velmar"_s.arg(programName(), programVersion()));
    // Twice each size as well, for screens with two device pixels to the pixel.
    QIcon icon;
    for (const int size : { 16, 24, 32, 48, 64, 96 }) {
        icon.addFile(u":/assets/quillog-%1.png"_s.arg(size), QSize(size, size));
    }
    setWindowIcon(icon);
    Announcer::installAccessibleRole();
    createControls();
    placeControlsOnScreen();
    chainFocus(m_entries->tabOrder()
        + QList<QWidget *> { m_save, m_exit, m_logBox, m_generateLog, m_picture });
    m_pending = new PendingLog(
        m_folder, [this] { return logText(); }, this);
    connectHandlers();
    startUp();
    centreOnScreen();
    m_entries->focusEntry(QsoEntry::Call);
}

void MainWindow::connectHandlers()
{
    connect(m_pending, &PendingLog::tell, this, &MainWindow::present);
    connect(m_pending, &PendingLog::handedOver, m_logBox, &QPlainTextEdit::clear);
    connect(m_pending, &PendingLog::refusedAt, m_logBox, &LogBox::selectLines);
    connect(m_save, &QPushButton::clicked, this, &MainWindow::onSave);
    connect(m_exit, &QPushButton::clicked, this, &MainWindow::onExit);
    connect(m_generateLog, &QPushButton::clicked, this, &MainWindow::onGenerateLog);
    connect(m_logBox, &QPlainTextEdit::textChanged, this, &MainWindow::onLogBoxChanged);
}

void MainWindow::centreOnScreen()
{
    if (const QScreen *screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        const QPoint centred = available.center() - rect().center();
        move(std::max(centred.x(), available.x()), std::max(centred.y(), available.y()));
    }
}

void MainWindow::createControls()
{
    m_picture = new DialPicture(this);
    m_announcer = new Announcer(this);
    m_entries = new EntryRow(this);

    m_logBox = new LogBox(this);

    m_save = makeButton(this, u"Command1"_s, u"&Save"_s);
    m_exit = makeButton(this, u"Command2"_s, u"E&xit"_s);
    m_generateLog = makeButton(this, u"Command4"_s, u"&Generate Log"_s);

    // The frame is as wide as its entries need, and "Generate Log" as wide as its caption. With the
    // entries in two rows, the frame is taller, the photograph is not shown, and the list and the
    // buttons stand below the entries as drawn, in the narrower window.
    using Width = DesignLayout::Width;
    m_layout.add(m_picture, { 0, 0, 233, 257 }, Width::Decoration, 0, QRect());
    m_layout.add(m_entries, { 240, 8, 617, 89 }, Width::AsAsked, 0, QRect(8, 8, 409, 125));
    m_layout.add(m_logBox, { 240, 104, 617, 57 }, Width::AsDrawn, 0, QRect(8, 140, 409, 57));
    m_layout.add(m_save, { 424, 184, 73, 25 }, Width::AsDrawn, 0, QRect(112, 209, 73, 25));
    m_layout.add(m_exit, { 512, 184, 73, 25 }, Width::AsDrawn, 0, QRect(200, 209, 73, 25));
    m_layout.add(m_generateLog, { 744, 184, 81, 25 }, Width::AsAsked, 0, QRect(320, 209, 81, 25));
}

void MainWindow::placeControls(QSize room)
{
    QSize size;
    for (const auto arrangement :
        { DesignLayout::Arrangement::AsDrawn, DesignLayout::Arrangement::TwoRows }) {
        m_entries->placeControls(arrangement);
        size = m_layout.place(font(), arrangement, room.width());
        if (size.width() <= room.width() && size.height() <= room.height()) {
            break;
        }
    }
    setFixedSize(size);
    m_picture->showAtScale(DesignLayout::scale(font()));
}

void MainWindow::placeControlsOnScreen()
{
    const QScreen *screen = this->screen();
    if (!screen) {
        return placeControls({ INT_MAX, INT_MAX });
    }
    // The window's frame, as the window manager draws it once the window is shown; before, room
    // for a usual one.
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(16, 48);
    placeControls(screen->availableGeometry().size() - frame);
}

void MainWindow::startUp()
{
    m_entries->setTitle(startUpCountCaption());
    m_entries->setPresets(entryPresets(m_clock()));

    const FileResult<std::optional<QString>> loaded = loadTemporaryLog(m_folder);
    if (!loaded.ok()) {
        present(loaded.message());
    } else if (const std::optional<QString> &logText = loaded.value) {
        // Filled once, and counted from the text just loaded: the change handler would read the
        // whole box back out to count it, which costs as much again for a large list.
        m_logBox->load(*logText);
        m_entries->setTitle(recordCountCaption(countRecords(*logText)));
    }
}

QString MainWindow::logText() const
{
    return m_logBox->logText();
}

void MainWindow::onSave()
{
    const QsoRecordResult result = composeQsoRecord(m_entries->fields());
    if (!result.accepted()) {
        present({ MessageStyle::Validation, result.rejection });
        m_entries->focusEntry(result.rejectedEntry);
        return;
    }
    m_logBox->append(result.record);
    m_pending->recordSaved();
}

void MainWindow::onExit()
{
    close();
}

void MainWindow::onGenerateLog()
{
    m_pending->generateDailyLog(m_clock().date(), QLocale::system());
}

void MainWindow::onLogBoxChanged()
{
    if (const QStringList leftOut = m_logBox->keepOnlyLatin1(); !leftOut.isEmpty()) {
        // Told once the change is done, not from inside the key press that made it.
        QTimer::singleShot(0, this, [this, leftOut] {
            present({ MessageStyle::Validation, charactersLeftOutMessage(leftOut) });
        });
    }
    // Line ends hold no marker, so the box's own text counts the same as the log text.
    const QString caption = recordCountCaption(countRecords(m_logBox->document()->toRawText()));
    if (caption != m_entries->title()) {
        m_entries->setTitle(caption);
        if (isVisible()) {
            m_announcer->announce(caption);
        }
    }
    m_logBox->moveCursor(QTextCursor::End);
    m_pending->editedByHand();
}

void MainWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && m_entries) {
        placeControlsOnScreen();
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The desktop session closes the window as it ends: save, but show nothing that would hold
    // the log-out up.
    if (qGuiApp->isSavingSession()) {
        m_pending->saveQuietly();
        event->accept();
        return;
    }
    // The title-bar button, the system menu and Alt+F4 save like Exit does.
    event->setAccepted(m_pending->saveBeforeClosing());
}

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Moved to another screen, the window fits that one.
    connect(windowHandle(), &QWindow::screenChanged, this, &MainWindow::placeControlsOnScreen,
        Qt::UniqueConnection);
    // Only once the box has its real size can it scroll the last record into view.
    QTimer::singleShot(0, m_logBox, &QPlainTextEdit::ensureCursorVisible);
}

void MainWindow::present(const UserMessage &message)
{
    if (m_presenter) {
        m_presenter(message);
    } else {
        showMessageBox(this, message);
    }
}
