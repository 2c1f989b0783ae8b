// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include "logfiles/logfolder.h"
#include "logfiles/usermessage.h"
#include "window/designlayout.h"

#include <QDateTime>
#include <QWidget>

#include <functional>

class Announcer;
class DialPicture;
class EntryRow;
class LogBox;
class PendingLog;
class QPushButton;

// The program's one window: the entries of a contact, the log box with the pending records, and
// the Save, Exit and Generate Log buttons. The log box's text is the log text; no copy of it is
// kept anywhere else.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    // The local date and time, read at start-up for the presets and by Generate Log for the name
    // of the day's file.
    using Clock = std::function<QDateTime()>;
    // Every message to the operator goes through here; without one, a message box is shown.
    using MessagePresenter = std::function<void(const UserMessage &)>;

    MainWindow(
        LogFolder folder, Clock clock, MessagePresenter presenter = {}, QWidget *parent = nullptr);

    // The log box's text with CR LF line ends, as it is saved and counted.
    [[nodiscard]] QString logText() const;

    // When the list is written to the temporary log; the end of the session and the signals to
    // stop reach it here.
    [[nodiscard]] PendingLog &pendingLog() const { return *m_pending; }

    // Puts every control in its place, the design scaled to the font and fitted to a screen with
    // that much room for the window: as drawn where it fits, else giving way as the design layout
    // does. Done for the window's own screen at start, and again when the font or the screen
    // changes.
    void placeControls(QSize room);

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createControls();
    void connectHandlers();
    void placeControlsOnScreen();
    void centreOnScreen();
    void startUp();

    void onSave();
    void onExit();
    void onGenerateLog();
    void onLogBoxChanged();

    void present(const UserMessage &message);

    LogFolder m_folder;
    Clock m_clock;
    MessagePresenter m_presenter;
    PendingLog *m_pending = nullptr;
    DesignLayout m_layout { { 865, 256 }, { 425, 242 } };

    DialPicture *m_picture = nullptr;
    Announcer *m_announcer = nullptr;
    EntryRow *m_entries = nullptr;
    LogBox *m_logBox = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_exit = nullptr;
    QPushButton *m_generateLog = nullptr;
};
