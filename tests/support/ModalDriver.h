#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

// Drives a modal dialog that the code under test is about to run: once a modal
// widget of type T is up, action runs inside its modal loop (it must end the
// dialog, for instance with EndDialog or a click on Close). Give up after
// timeoutMs; the returned flag tells whether the action ran.
template <class T>
std::shared_ptr<bool> WhenModal(std::function<void(T *)> action, int timeoutMs = 5000)
{
    auto ran = std::make_shared<bool>(false);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [ran, clock, poll, action, timeoutMs] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            *ran = true;
            action(dialog);
            *poll = nullptr; // break the cycle
            return;
        }
        if (clock->elapsed() > timeoutMs) {
            *poll = nullptr;
            return;
        }
        QTimer::singleShot(5, [poll] { if (*poll) (*poll)(); });
    };
    QTimer::singleShot(0, [poll] { if (*poll) (*poll)(); });
    return ran;
}
