#include "videodisplay/VideoMessages.h"

#include <QApplication>
#include <QHash>
#include <QPointer>
#include <QWidget>
#include <mutex>

namespace VideoMessages {

unsigned Register(const QString& name) {
    static std::mutex lock;
    static QHash<QString, unsigned> numbers;
    const std::lock_guard guard(lock);
    auto it = numbers.constFind(name);
    if (it != numbers.constEnd()) return *it;
    const int number = QEvent::registerEventType();
    if (number < 0) return 0;  // every type is taken: the message cannot exist
    numbers.insert(name, unsigned(number));
    return unsigned(number);
}

QWidget* FindWindow(const QString& title) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == title) return w;
    return nullptr;
}

bool Send(QObject* to, unsigned number, qintptr wParam, qintptr lParam) {
    if (!to) return false;
    Event e(number, wParam, lParam);
    QCoreApplication::sendEvent(to, &e);
    return true;
}

bool Post(QObject* to, unsigned number, qintptr wParam, qintptr lParam) {
    if (!to) return false;
    QCoreApplication::postEvent(to, new Event(number, wParam, lParam));
    return true;
}

void Broadcast(unsigned number, qintptr wParam, qintptr lParam) {
    // A receiver may close windows while it handles the message: walk a
    // guarded copy of the list.
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) windows.append(w);
    for (const QPointer<QWidget>& w : windows)
        if (w) Send(w, number, wParam, lParam);
}

}  // namespace VideoMessages
