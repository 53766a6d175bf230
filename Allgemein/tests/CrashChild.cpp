// A program that faults on purpose, for the crash guard's tests:
//   allgemein_crash_child divide|null|overflow|thread|outside
// divide, null and overflow fault in the handling of a posted event; thread
// faults in a second thread and outside before the event loop runs. When the
// dialog "Crash Details" comes up, a timer prints what it shows to standard
// output and presses OK.
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "Allgemein/CCrashDialog.h"
#include "Allgemein/CGuardedApplication.h"

namespace {

// The faults are written in assembly so that the sanitizers' checks in front
// of a division or a load do not catch them first.
[[gnu::noinline]] int DivideByZero(int dividend) {
    int quotient = 0;
    int zero = 0;
    asm volatile("cltd\n\tidivl %2" : "=a"(quotient) : "a"(dividend), "r"(zero) : "edx", "cc");
    return quotient;
}

[[gnu::noinline]] int ReadAddressZero() {
    int value = 0;
    const int* address = nullptr;
    asm volatile("movl (%1), %0" : "=r"(value) : "r"(address) : "memory");
    return value;
}

[[gnu::noinline]] int Recurse(int depth) {
    if (depth < 0) return 0;
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    return Recurse(depth + 1) + frame[0];
}

// Overwrites the stack below the caller, where the frames of a dispatch that
// has ended were.
[[gnu::noinline]] void OverwriteStack() {
    volatile char area[64 * 1024];
    for (std::size_t i = 0; i < sizeof area; ++i) area[i] = static_cast<char>(0xA5);
}

const QEvent::Type FaultEvent = static_cast<QEvent::Type>(QEvent::User + 1);
const QEvent::Type InnerEvent = static_cast<QEvent::Type>(QEvent::User + 2);

// Faults while it handles an event sent to it from another handler.
class CInner : public QObject {
  public:
    bool divide = false;
    bool event(QEvent* e) override {
        if (e->type() != InnerEvent) return QObject::event(e);
        if (divide) std::printf("result %d\n", DivideByZero(7));
        return true;
    }
};

class COuter : public QObject {
  public:
    explicit COuter(QString mode) : mode_(std::move(mode)) {}
    bool event(QEvent* e) override {
        if (e->type() != FaultEvent) return QObject::event(e);
        QEvent inner(InnerEvent);
        if (mode_ == QStringLiteral("divide")) {
            inner_.divide = true;  // the fault comes in the nested dispatch
            QCoreApplication::sendEvent(&inner_, &inner);
        } else if (mode_ == QStringLiteral("null")) {
            QCoreApplication::sendEvent(&inner_, &inner);  // ends normally first
            OverwriteStack();
            std::printf("value %d\n", ReadAddressZero());
        } else if (mode_ == QStringLiteral("overflow")) {
            std::printf("depth %d\n", Recurse(0));
        } else if (mode_ == QStringLiteral("thread")) {
            std::thread([] { std::printf("value %d\n", ReadAddressZero()); }).join();
        }
        return true;
    }

  private:
    QString mode_;
    CInner inner_;
};

void CloseCrashDialog() {
    auto* dialog = qobject_cast<CCrashDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    auto* edit = dialog->findChild<QPlainTextEdit*>(CCrashDialog::EditName);
    auto* ok = dialog->findChild<QPushButton*>();
    if (edit == nullptr || ok == nullptr) return;
    std::printf("title: %s\nread-only: %d\nok: %s\n", qPrintable(dialog->windowTitle()),
                edit->isReadOnly() ? 1 : 0, qPrintable(ok->text()));
    std::printf("text:\n%s", qPrintable(edit->toPlainText()));
    std::fflush(stdout);
    ok->click();
}

}  // namespace

int main(int argc, char** argv) {
    CGuardedApplication app(argc, argv);
    app.SetProgramPath(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
    app.SetVersionText(QStringLiteral("9.8.7.6"));
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == QStringLiteral("outside")) return ReadAddressZero();

    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, &CloseCrashDialog);
    closer.start(20);
    QTimer::singleShot(10000, [] { std::_Exit(99); });  // no report came

    COuter outer(mode);
    QCoreApplication::postEvent(&outer, new QEvent(FaultEvent));
    return QApplication::exec();
}
