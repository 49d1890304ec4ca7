// Answers a modal dialog from inside the exec() that shows it, so that the real
// blocking calls can be driven by a test.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace guitest {

// Runs `act` on the next modal dialog of type `Dialog` once it is up. A dialog the
// action leaves open is closed a little later and fails the test, so no test hangs.
template <class Dialog>
void WhenModalShown(std::function<void(Dialog*)> act) {
    auto* poll = new QTimer;
    auto waited = std::make_shared<QElapsedTimer>();
    waited->start();
    QObject::connect(poll, &QTimer::timeout, [poll, waited, act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            if (waited->elapsed() > 10000) {
                poll->stop();
                poll->deleteLater();
                ADD_FAILURE() << "no modal dialog came up";
            }
            return;
        }
        poll->stop();
        poll->deleteLater();
        QPointer<Dialog> guard(dialog);
        act(dialog);
        QTimer::singleShot(5000, [guard] {
            if (guard && guard->isVisible()) {
                ADD_FAILURE() << "the dialog was left open";
                guard->done(0);
            }
        });
    });
    poll->start(5);
}

// A dialog's buttons as the player sees them, left to right.
inline std::vector<QAbstractButton*> ButtonsLeftToRight(QWidget* dialog) {
    auto found = dialog->findChildren<QAbstractButton*>();
    std::vector<QAbstractButton*> buttons;
    for (QAbstractButton* button : found)
        if (button->isVisibleTo(dialog))
            buttons.push_back(button);
    std::sort(buttons.begin(), buttons.end(), [dialog](QAbstractButton* a, QAbstractButton* b) {
        return a->mapTo(dialog, QPoint(0, 0)).x() < b->mapTo(dialog, QPoint(0, 0)).x();
    });
    return buttons;
}

// UTF-8, so that a failing comparison prints readable text.
inline std::string Utf8(const QString& text) {
    return text.toStdString();
}

inline std::vector<std::string> TextsOf(const std::vector<QAbstractButton*>& buttons) {
    std::vector<std::string> texts;
    for (QAbstractButton* button : buttons)
        texts.push_back(Utf8(button->text()));
    return texts;
}

}  // namespace guitest
