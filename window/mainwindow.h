#pragma once

#include "logfiles/logfolder.h"
#include "logfiles/usermessage.h"
#include "record/qsorecord.h"

#include <QDateTime>
#include <QWidget>

#include <functional>

class Announcer;
class PendingLog;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The program's one window: the entry boxes of a contact, the log box with the pending records,
// and the Save, Exit and Generate Log buttons. The log box's text is the log text; no copy of it
// is kept anywhere else.
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

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createControls();
    // Puts every control in its place, the design scaled to the font; again when the font changes.
    void placeControls();
    void setTabOrder();
    void startUp();

    void onSave();
    void onExit();
    void onGenerateLog();
    void onCallSignChanged();
    void onLogBoxChanged();

    void appendToLogBox(const QString &record);
    [[nodiscard]] QsoFields enteredFields() const;
    // Takes the keyboard to the entry, its text selected, ready to be corrected.
    void focusEntry(QsoEntry entry);
    void present(const UserMessage &message);

    LogFolder m_folder;
    Clock m_clock;
    MessagePresenter m_presenter;
    PendingLog *m_pending = nullptr;

    struct DesignPlace {
        QWidget *control;
        QRect rect; // in design pixels
        double monthShift; // how much of the month box's widening it moves along by
    };
    QList<DesignPlace> m_places;

    QLabel *m_picture = nullptr;
    Announcer *m_announcer = nullptr;
    QGroupBox *m_frame = nullptr;
    QLineEdit *m_callSign = nullptr;
    QComboBox *m_day = nullptr;
    QComboBox *m_month = nullptr;
    QComboBox *m_year = nullptr;
    QLineEdit *m_time = nullptr;
    QComboBox *m_band = nullptr;
    QComboBox *m_mode = nullptr;
    QLineEdit *m_report = nullptr;
    QPlainTextEdit *m_logBox = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_exit = nullptr;
    QPushButton *m_generateLog = nullptr;
};
