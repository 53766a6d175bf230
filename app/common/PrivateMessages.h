#pragma once
// The program's private messages between frame, view and bars. Each number is a
// QEvent type of its own (QEvent::User + number). Receivers register themselves
// in a process-wide table when they are created; senders post or send to
// whatever object is registered for the number.
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <array>

namespace Msg {
constexpr int GuidePage = 1227;       ///< view: 1 short info, 2 current, 3 next, 4 close
constexpr int ProgramStep = 1228;     ///< view: 2 next program, 1 previous
constexpr int PictureReapply = 1229;  ///< picture/sound bar
constexpr int VcrCommand = 1230;      ///< VCR bar: command code, playlist index
constexpr int GuideKeys = 1231;       ///< view
constexpr int RemoteKey = 1232;       ///< view, frame or picture/sound bar
constexpr int ProgramFilter = 1234;   ///< view: new filter index 0..3
constexpr int ViewRequest = 1235;     ///< view: 1 audio PID, 2 quick timer entry
constexpr int VideotextPage = 1236;
constexpr int RecPlayStatus = 1239;  ///< VCR bar
constexpr int CiMenu = 1240;
constexpr int CamSlotStatus = 1241;  ///< view, then frame

constexpr int First = GuidePage;
constexpr int Last = CamSlotStatus;
}  // namespace Msg

/// A private message with its two parameters.
class PrivateMessageEvent : public QEvent {
  public:
    PrivateMessageEvent(int number, qintptr wParam, qintptr lParam)
        : QEvent(TypeOf(number)), number_(number), wParam_(wParam), lParam_(lParam) {}

    static QEvent::Type TypeOf(int number) { return QEvent::Type(QEvent::User + number); }
    static bool IsPrivate(const QEvent* e) {
        const int t = int(e->type()) - int(QEvent::User);
        return t >= Msg::First && t <= Msg::Last;
    }
    int number() const { return number_; }
    qintptr wParam() const { return wParam_; }
    qintptr lParam() const { return lParam_; }

  private:
    int number_;
    qintptr wParam_;
    qintptr lParam_;
};

/// The windows that take part in the private messages. A message such as
/// 1232 goes to different windows depending on its parameter, so senders
/// can also address a window by its role.
enum class MessageWindow { Frame, View, VcrBar, PictureBar, Count };

/// Process-wide table: message number -> registered receiver, and window
/// role -> registered window.
class PrivateMessages {
  public:
    static void RegisterWindow(MessageWindow role, QObject* window) { windowSlot(role) = window; }
    static QObject* Window(MessageWindow role) { return windowSlot(role).data(); }

    /// Queues a message for the window of that role; false when none is registered.
    static bool PostTo(MessageWindow role, int number, qintptr wParam = 0, qintptr lParam = 0) {
        QObject* r = Window(role);
        if (!r) return false;
        QCoreApplication::postEvent(r, new PrivateMessageEvent(number, wParam, lParam));
        return true;
    }
    /// Delivers a message to the window of that role at once.
    static bool SendTo(MessageWindow role, int number, qintptr wParam = 0, qintptr lParam = 0) {
        QObject* r = Window(role);
        if (!r) return false;
        PrivateMessageEvent e(number, wParam, lParam);
        return QCoreApplication::sendEvent(r, &e);
    }

    static void Register(int number, QObject* receiver) { slot(number) = receiver; }
    static QObject* Receiver(int number) { return slot(number).data(); }

    /// Queues the message for its receiver; false when none is registered.
    static bool Post(int number, qintptr wParam = 0, qintptr lParam = 0) {
        QObject* r = Receiver(number);
        if (!r) return false;
        QCoreApplication::postEvent(r, new PrivateMessageEvent(number, wParam, lParam));
        return true;
    }
    /// Delivers the message at once; false when none is registered or it was not handled.
    static bool Send(int number, qintptr wParam = 0, qintptr lParam = 0) {
        QObject* r = Receiver(number);
        if (!r) return false;
        PrivateMessageEvent e(number, wParam, lParam);
        return QCoreApplication::sendEvent(r, &e);
    }

  private:
    static QPointer<QObject>& windowSlot(MessageWindow role);
    static QPointer<QObject>& slot(int number);
};
