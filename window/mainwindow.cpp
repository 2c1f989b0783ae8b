#include "mainwindow.h"

#include "announcer.h"
#include "logfiles/pendinglog.h"
#include "messagebox.h"
#include "record/entrychoices.h"
#include "record/logtext.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

template <typename Control> Control *makeControl(QWidget *parent, const QString &name)
{
    auto *control = new Control(parent);
    control->setObjectName(name);
    return control;
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

// Editable; what is typed stays as typed: no completion, and Enter adds nothing to the list.
QComboBox *makeComboBox(QWidget *parent, const QString &name)
{
    auto *combo = makeControl<QComboBox>(parent, name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    return combo;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *button = makeControl<QPushButton>(parent, name);
    button->setText(caption);
    button->setAutoDefault(false); // Enter has no effect of its own
    return button;
}

// The width an editable combo box needs to show the longest of the entries whole.
int comboWidthFor(const QComboBox *combo, const QStringList &entries)
{
    const QFontMetrics metrics(combo->font());
    int textWidth = 0;
    for (const QString &entry : entries) {
        textWidth = std::max(textWidth, metrics.horizontalAdvance(entry));
    }
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = true;
    const QSize content(textWidth, metrics.height());
    return combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option, content, combo).width();
}

// Filling a list selects its first entry; the box keeps the text it had.
void fillList(QComboBox *combo, const QStringList &entries)
{
    const QString text = combo->currentText();
    combo->addItems(entries);
    combo->setEditText(text);
}

// The window's places were drawn for a font whose lines are 14 pixels high and whose letters and
// digits are 7.45 pixels wide on average (9-point DejaVu Sans at 96 dots per inch). A larger font
// scales the whole design by as much as it is taller or wider; a smaller one leaves it as drawn.
double designScale(const QFont &font)
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

// The photograph is drawn for 244 x 287 design pixels; it comes also at twice that size.
QPixmap dialPhotograph(double scale, qreal devicePixelRatio)
{
    const double pixelsPerDesignPixel = scale * devicePixelRatio;
    QImage image(pixelsPerDesignPixel > 1.0 ? u":/assets/dial@2x.jpg"_s : u":/assets/dial.jpg"_s);
    const QSize size = (QSizeF(244, 287) * pixelsPerDesignPixel).toSize();
    if (image.size() != size) {
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    image.setDevicePixelRatio(devicePixelRatio);
    return QPixmap::fromImage(image);
}

} // namespace

MainWindow::MainWindow(LogFolder folder, Clock clock, MessagePresenter presenter, QWidget *parent)
    : QWidget(parent)
    , m_folder(std::move(folder))
    , m_clock(std::move(clock))
    , m_presenter(std::move(presenter))
{
    setObjectName(u"Form1"_s);
    setWindowTitle(u"Quillog v1.0 by Velmar"_s);
    // Twice each size as well, for screens with two device pixels to the pixel.
    QIcon icon;
    for (const int size : { 16, 24, 32, 48, 64, 96 }) {
        icon.addFile(u":/assets/quillog-%1.png"_s.arg(size), QSize(size, size));
    }
    setWindowIcon(icon);
    Announcer::installAccessibleRole();
    createControls();
    placeControls();
    setTabOrder();

    m_pending = new PendingLog(
        m_folder, [this] { return logText(); }, this);
    connect(m_pending, &PendingLog::tell, this, &MainWindow::present);
    connect(m_pending, &PendingLog::handedOver, m_logBox, &QPlainTextEdit::clear);

    connect(m_save, &QPushButton::clicked, this, &MainWindow::onSave);
    connect(m_exit, &QPushButton::clicked, this, &MainWindow::onExit);
    connect(m_generateLog, &QPushButton::clicked, this, &MainWindow::onGenerateLog);
    connect(m_callSign, &QLineEdit::textChanged, this, &MainWindow::onCallSignChanged);
    connect(m_logBox, &QPlainTextEdit::textChanged, this, &MainWindow::onLogBoxChanged);

    startUp();

    if (const QScreen *screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    m_callSign->setFocus();
}

void MainWindow::createControls()
{
    m_picture = makeControl<QLabel>(this, u"Picture1"_s);
    m_picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_picture->setFocusPolicy(Qt::TabFocus);
    m_picture->setAccessibleName(u"Radio tuning dial"_s);
    m_announcer = new Announcer(this);

    m_frame = makeControl<QGroupBox>(this, u"Frame1"_s);
    m_frame->setTitle(u"Frame1"_s);
    m_callSign = makeControl<QLineEdit>(m_frame, u"Text1"_s);
    m_day = makeComboBox(m_frame, u"Combo1"_s);
    m_month = makeComboBox(m_frame, u"Combo2"_s);
    m_year = makeComboBox(m_frame, u"Combo3"_s);
    m_time = makeControl<QLineEdit>(m_frame, u"Text2"_s);
    m_band = makeComboBox(m_frame, u"Combo4"_s);
    m_mode = makeComboBox(m_frame, u"Combo5"_s);
    m_report = makeControl<QLineEdit>(m_frame, u"Text3"_s);
    m_day->setEditText(u"Combo1"_s);
    m_month->setEditText(u"Combo2"_s);
    m_year->setEditText(u"Combo3"_s);
    m_time->setText(u"text2"_s);
    m_band->setEditText(u"10m"_s);
    m_mode->setEditText(u"SSB"_s);
    m_report->setText(u"59"_s);

    // The visible words stay as they are; the "&" only underlines the Alt+letter.
    const QList<QLabel *> captions {
        makeLabel(m_frame, u"Label1"_s, u"&CallSign"_s, m_callSign),
        makeLabel(m_frame, u"Label2"_s, u"Date"_s, nullptr),
        makeLabel(m_frame, u"Label3"_s, u"&UTC"_s, m_time),
        makeLabel(m_frame, u"Label5"_s, u"&Band"_s, m_band),
        makeLabel(m_frame, u"Label6"_s, u"&Mode"_s, m_mode),
        makeLabel(m_frame, u"Label4"_s, u"&RST"_s, m_report),
    };
    // One caption stands over the three date boxes; each box gets a name of its own from a
    // label that is never shown.
    for (const auto &[box, name] : { std::pair { m_day, u"Day"_s },
             std::pair { m_month, u"Month"_s }, std::pair { m_year, u"Year"_s } }) {
        makeLabel(m_frame, name + u"Label"_s, name, box)->hide();
    }

    // Plain text: it lays out only what is on screen, so tens of thousands of records stay quick.
    m_logBox = makeControl<QPlainTextEdit>(this, u"Text4"_s);
    m_logBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_logBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_logBox->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_logBox->setTabChangesFocus(true);
    m_logBox->setAccessibleName(u"Pending records"_s);

    m_save = makeButton(this, u"Command1"_s, u"&Save"_s);
    m_exit = makeButton(this, u"Command2"_s, u"E&xit"_s);
    m_generateLog = makeButton(this, u"Command4"_s, u"&Generate Log"_s);

    // Where each control stands in the design, and how far it moves along when the month box
    // widens: the controls to its right by the whole widening, the date caption by half of it.
    m_places = {
        { m_picture, { 0, 0, 233, 257 }, 0 },
        { m_frame, { 240, 8, 617, 89 }, 0 },
        { captions.at(0), { 24, 24, 57, 17 }, 0 },
        { captions.at(1), { 184, 24, 65, 17 }, 0.5 },
        { captions.at(2), { 336, 24, 41, 17 }, 1 },
        { captions.at(3), { 400, 24, 49, 17 }, 1 },
        { captions.at(4), { 472, 24, 49, 17 }, 1 },
        { captions.at(5), { 544, 24, 41, 17 }, 1 },
        { m_callSign, { 8, 48, 81, 21 }, 0 },
        { m_day, { 104, 48, 57, 21 }, 0 },
        { m_month, { 168, 48, 81, 21 }, 0 },
        { m_year, { 256, 48, 65, 21 }, 1 },
        { m_time, { 328, 48, 57, 21 }, 1 },
        { m_band, { 392, 48, 65, 21 }, 1 },
        { m_mode, { 464, 48, 65, 21 }, 1 },
        { m_report, { 536, 48, 57, 21 }, 1 },
        { m_logBox, { 240, 104, 617, 57 }, 0 },
        { m_save, { 424, 184, 73, 25 }, 0 },
        { m_exit, { 512, 184, 73, 25 }, 0 },
        { m_generateLog, { 744, 184, 81, 25 }, 0 },
    };
}

void MainWindow::placeControls()
{
    const double scale = designScale(font());
    const auto scaled = [scale](const QRect &place) {
        return QRect(qRound(place.x() * scale), qRound(place.y() * scale),
            qRound(place.width() * scale), qRound(place.height() * scale));
    };

    // Where the font needs more room for the longest month name than the design gives, the month
    // box widens and everything to its right moves along; where it needs more for "Generate Log",
    // that button widens. So every text stays readable whole.
    const int monthWidth = scaled({ 168, 48, 81, 21 }).width();
    const int widening = std::max(0, comboWidthFor(m_month, monthChoices()) - monthWidth);
    QRect inFrame; // what the entry controls cover, in the frame's coordinates
    for (const DesignPlace &place : std::as_const(m_places)) {
        QRect rect = scaled(place.rect).translated(qRound(widening * place.monthShift), 0);
        if (place.control == m_month) {
            rect.setWidth(monthWidth + widening);
        } else if (place.control == m_generateLog) {
            rect.setWidth(std::max(rect.width(), m_generateLog->sizeHint().width()));
        }
        place.control->setGeometry(rect);
        if (place.control->parentWidget() == m_frame) {
            inFrame |= rect;
        }
    }

    // The frame and the window grow with what they hold, should the widening ask for more.
    const int margin = qRound(8 * scale);
    m_frame->resize(std::max(m_frame->width(), inFrame.right() + 1 + margin), m_frame->height());
    const QRect design = scaled({ 0, 0, 865, 256 });
    setFixedSize(std::max({ design.width(), m_frame->geometry().right() + 1 + margin,
                     m_generateLog->geometry().right() + 1 + margin }),
        design.height());
    m_picture->setPixmap(dialPhotograph(scale, devicePixelRatioF()));
}

void MainWindow::setTabOrder()
{
    const QList<QWidget *> order { m_callSign, m_day, m_month, m_year, m_time, m_report, m_band,
        m_mode, m_save, m_exit, m_logBox, m_generateLog, m_picture };
    for (qsizetype i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
    }
}

void MainWindow::startUp()
{
    if (const FileOutcome folder = ensureLogFolder(m_folder); !folder.ok()) {
        present(folder.message());
    }
    fillList(m_day, dayChoices());
    fillList(m_month, monthChoices());
    fillList(m_year, yearChoices());
    fillList(m_band, bandChoices());
    fillList(m_mode, modeChoices());

    const EntryPresets presets = entryPresets(m_clock());
    m_day->setEditText(presets.day);
    m_frame->setTitle(startUpCountCaption());
    m_month->setEditText(presets.month);
    m_year->setEditText(presets.year);
    m_time->setText(presets.time);

    const FileResult<std::optional<QString>> loaded = loadTemporaryLog(m_folder);
    if (!loaded.ok()) {
        present(loaded.message());
    } else if (const std::optional<QString> &logText = loaded.value) {
        // Filled once, and counted from the text just loaded: the change handler would read the
        // whole box back out to count it, which costs as much again for a large list.
        {
            const QSignalBlocker loading(m_logBox);
            m_logBox->setPlainText(boxTextFromLogText(*logText));
        }
        m_frame->setTitle(recordCountCaption(countRecords(*logText)));
        m_logBox->moveCursor(QTextCursor::End);
    }
}

QString MainWindow::logText() const
{
    // The raw text: the plain-text view would turn a no-break space into a plain one and so change
    // a record that nobody touched.
    return logTextFromBoxText(m_logBox->document()->toRawText());
}

void MainWindow::onSave()
{
    const QsoRecordResult result = composeQsoRecord(enteredFields());
    if (!result.accepted()) {
        present({ MessageStyle::Validation, result.rejection });
        focusEntry(result.rejectedEntry);
        return;
    }
    appendToLogBox(result.record);
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

void MainWindow::onCallSignChanged()
{
    const QString upper = callSignUpperCase(m_callSign->text());
    if (upper != m_callSign->text()) {
        m_callSign->setText(upper);
    }
    m_callSign->setCursorPosition(int(m_callSign->text().size()));
}

void MainWindow::onLogBoxChanged()
{
    // Line ends hold no marker, so the box's own text counts the same as the log text.
    const QString caption = recordCountCaption(countRecords(m_logBox->document()->toRawText()));
    if (caption != m_frame->title()) {
        m_frame->setTitle(caption);
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
    if (event->type() == QEvent::FontChange && m_frame) {
        placeControls();
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
    // Only once the box has its real size can it scroll the last record into view.
    QTimer::singleShot(0, m_logBox, &QPlainTextEdit::ensureCursorVisible);
}

void MainWindow::appendToLogBox(const QString &record)
{
    // One insertion at the end, not a new text for the whole box: Save stays quick however many
    // records are pending.
    QTextCursor end(m_logBox->document());
    end.movePosition(QTextCursor::End);
    end.insertText(boxTextFromLogText(record));
}

QsoFields MainWindow::enteredFields() const
{
    return { m_callSign->text(), m_day->currentText(), m_month->currentText(),
        m_year->currentText(), m_time->text(), m_band->currentText(), m_mode->currentText(),
        m_report->text() };
}

void MainWindow::focusEntry(QsoEntry entry)
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

void MainWindow::present(const UserMessage &message)
{
    if (m_presenter) {
        m_presenter(message);
    } else {
        showMessageBox(this, message);
    }
}
