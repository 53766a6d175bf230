#pragma once
#include <QString>

/// Where the editing commands show their messages. The program uses CMessageBoxSink;
/// tests record the messages instead of showing boxes.
class IMessageSink {
  public:
    enum class Icon { Information, Warning, Error };

    virtual ~IMessageSink() = default;
    /// Shows one message and waits until the user has read it. `topmost` puts the box in
    /// front of all windows.
    virtual void Show(Icon icon, const QString& caption, const QString& text,
                      bool topmost = false) = 0;
};
