#pragma once

#include "logfiles/logfolder.h"
#include "record/qsorecord.h"
#include "record/usermessage.h"

#include <QDateTime>
#include <QWidget>

#include <functional>

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

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createControls();
    void setTabOrder();
    void startUp();

    void onSave();
    void onExit();
    void onGenerateLog();
    void onCallSignChanged();
    void onLogBoxChanged();

    // Saves the pending records and confirms it; false when the save failed and the window must
    // stay open so that nothing is lost.
    bool saveBeforeClosing();
    void appendToLogBox(const QString &record);
    [[nodiscard]] QsoFields enteredFields() const;
    void present(const UserMessage &message);

    LogFolder m_folder;
    Clock m_clock;
    MessagePresenter m_presenter;

    QLabel *m_picture = nullptr;
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
