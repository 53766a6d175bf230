#pragma once
// Shows the client library's message when the card cannot be reached at load
// time, before main: the process ends right after (the library's exit code).
#include <QString>
#include <memory>

class QMessageBox;

class CCardFailureReport {
  public:
    /// True when a dialog can be seen: an X or Wayland display is named and
    /// the Qt platform is not one without a screen (offscreen, minimal).
    static bool DisplayAvailable();
    /// The box for `message`: stop icon, OK button, in front of all windows.
    static std::unique_ptr<QMessageBox> MakeBox(const QString& message);
    /// Shows `message` (UTF-8) and waits until the user closes the box, with a
    /// QApplication of its own when there is none yet. Does nothing without a
    /// display; the library has written the message to standard error.
    static void Show(const char* message);
};
