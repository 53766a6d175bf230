#pragma once
// Registered window messages: a name gives the same number everywhere in the
// process for its life (the first name registered gets a number no fixed
// message of the program uses). A message is a QEvent of its own type with
// two parameters; windows are top-level widgets found by their title.
#include <QEvent>
#include <QString>

class QObject;
class QWidget;

namespace VideoMessages {

inline const QString Hwnd = QStringLiteral("UM_DVBAPP_HWND");
inline const QString Top = QStringLiteral("UM_DVBAPP_TOP");
inline const QString CtrlVideo = QStringLiteral("UM_DVBAPP_CTRLVIDEO");
inline constexpr int CtrlMirror = 4, CtrlNormal = 8;
inline const QString WindowTitle = QStringLiteral("DVB - Viewer");

/// The number of a registered message (QEvent type).
unsigned Register(const QString& name);

/// A registered message with its two parameters (the second often a widget
/// pointer, or x | y << 16).
class Event : public QEvent {
  public:
    Event(unsigned number, qintptr wParam, qintptr lParam)
        : QEvent(QEvent::Type(number)), wParam_(wParam), lParam_(lParam) {}
    unsigned number() const { return unsigned(type()); }
    qintptr wParam() const { return wParam_; }
    qintptr lParam() const { return lParam_; }

  private:
    qintptr wParam_;
    qintptr lParam_;
};

/// The top-level widget with this title, or null.
QWidget* FindWindow(const QString& title);
/// Delivers the message at once; false when `to` is null.
bool Send(QObject* to, unsigned number, qintptr wParam = 0, qintptr lParam = 0);
/// Queues the message; false when `to` is null.
bool Post(QObject* to, unsigned number, qintptr wParam = 0, qintptr lParam = 0);
/// Sends the message to every top-level widget.
void Broadcast(unsigned number, qintptr wParam = 0, qintptr lParam = 0);

}  // namespace VideoMessages
