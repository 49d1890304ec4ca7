#include "platform/qt/qt_services.h"

#include <QApplication>
#include <QEventLoop>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

#include "platform/qt/ansi.h"

namespace platform::qt {
namespace {

constexpr char kAnswerProperty[] = "quarveltAnswer";

QString ButtonText(int answer) {
    switch (answer) {
        case AnswerOk:
            return QStringLiteral("OK");
        case AnswerCancel:
            return QStringLiteral("Cancel");
        case AnswerAbort:
            return QStringLiteral("&Abort");
        case AnswerRetry:
            return QStringLiteral("&Retry");
        case AnswerIgnore:
            return QStringLiteral("&Ignore");
        case AnswerYes:
            return QStringLiteral("&Yes");
        case AnswerNo:
            return QStringLiteral("&No");
        default:
            return QString();
    }
}

QMessageBox::Icon IconOfFlags(int flags) {
    switch (IconOf(flags)) {
        case MsgCritical:
            return QMessageBox::Critical;
        case MsgQuestion:
            return QMessageBox::Question;
        case MsgExclamation:
            return QMessageBox::Warning;
        case MsgInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

int AnswerProperty(const QAbstractButton* button) {
    if (!button)
        return 0;
    bool ok = false;
    int answer = button->property(kAnswerProperty).toInt(&ok);
    return ok ? answer : 0;
}

// Commonly installed Linux system-information programs, most informative first.
const char* const kSystemInfoPrograms[] = {
    "hardinfo",  "hardinfo2",           "gnome-system-monitor", "plasma-systemmonitor",
    "ksysguard", "mate-system-monitor", "xfce4-taskmanager",    "lxtask",
};

}  // namespace

std::unique_ptr<QMessageBox> BuildMessageBox(const std::string& text, int flags,
                                             const std::string& title, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(FromAnsi(title));
    box->setTextFormat(Qt::PlainText);
    box->setText(FromAnsiMessage(text));
    box->setIcon(IconOfFlags(flags));

    const int defaultAnswer = DefaultAnswerOf(flags);
    const int escapeAnswer = EscapeAnswerOf(flags);
    for (int answer : AnswersOf(flags)) {
        // One role for all keeps them in our order under every desktop's button layout, and
        // stops Qt from picking an escape button of its own (a No button, say).
        QPushButton* button = box->addButton(ButtonText(answer), QMessageBox::ActionRole);
        button->setProperty(kAnswerProperty, answer);
        if (answer == defaultAnswer)
            box->setDefaultButton(button);
        if (answer == escapeAnswer)
            box->setEscapeButton(button);
    }
    return box;
}

int AnswerOfButton(const QMessageBox& box, const QAbstractButton* clicked) {
    if (clicked)
        return AnswerProperty(clicked);
    return AnswerProperty(box.escapeButton());
}

int QtMessageBoxes::Show(const std::string& text, int flags, const std::string& title) {
    auto box = BuildMessageBox(text, flags, title, QApplication::activeWindow());
    box->exec();
    return AnswerOfButton(*box, box->clickedButton());
}

void QtMessageBoxes::Beep() {
    QApplication::beep();
}

std::string QtInputBoxes::Ask(const std::string& prompt, const std::string& title,
                              const std::string& defaultText) {
    bool ok = false;
    QString text = QInputDialog::getText(QApplication::activeWindow(), FromAnsi(title),
                                         FromAnsiMessage(prompt), QLineEdit::Normal,
                                         FromAnsi(defaultText), &ok);
    return ok ? ToAnsi(text) : std::string();
}

void QtMousePointer::Set(Pointer pointer) {
    if (pointer == Pointer::Hourglass) {
        if (!hourglassShown_)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        hourglassShown_ = true;
    } else {
        if (hourglassShown_)
            QApplication::restoreOverrideCursor();
        hourglassShown_ = false;
    }
}

QtEventLoop::QtEventLoop() {
    clock_.start();
}

void QtEventLoop::ProcessEvents() {
    QCoreApplication::processEvents();
}

void QtEventLoop::WaitForEvents(int maxMilliseconds) {
    if (maxMilliseconds <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(maxMilliseconds);
    loop.exec();
}

double QtEventLoop::Seconds() {
    return static_cast<double>(clock_.nsecsElapsed()) / 1e9;
}

WorkArea QtDesktop::GetWorkArea() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {0, 0, 1024, 768};
    QRect area = screen->availableGeometry();
    return {area.left(), area.top(), area.width(), area.height()};
}

bool QtDesktop::StartSystemInfo() {
    for (const char* name : kSystemInfoPrograms) {
        QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty() && QProcess::startDetached(path, {}))
            return true;
    }
    return false;
}

void InstallQtServices() {
    static QtMessageBoxes boxes;
    static QtInputBoxes inputs;
    static QtMousePointer pointer;
    static QtEventLoop events;
    static QtDesktop desktop;
    Services services;
    services.boxes = &boxes;
    services.inputs = &inputs;
    services.pointer = &pointer;
    services.events = &events;
    services.desktop = &desktop;
    Install(services);
}

}  // namespace platform::qt
