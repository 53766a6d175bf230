#pragma once
#include <QString>
class QWidget;

/// The DVB card's part in the life of the main frame: bringing the card up
/// when the frame is constructed (each failing step shows its own message and
/// the start goes on), the frame timer's duty, and leaving the card idle when
/// the frame goes away. Without one, the program is a plain list editor.
class ICardLifecycle {
  public:
    virtual ~ICardLifecycle() = default;
    /// Frame construction; `frame` owns the message boxes of failed steps.
    virtual void StartUp(QWidget* frame) = 0;
    /// Text of the front-end kind once the card is up: "Satellite", "Cabel",
    /// "Terrestrial" or "None".
    virtual QString FrontendKindText() const { return QStringLiteral("None"); }
    /// Frame timer tick (every 500 ms).
    virtual void OnFrameTimer() = 0;
    /// Frame destruction, after the frame saved its state. Must not throw.
    virtual void TearDown() noexcept = 0;
};
