#pragma once
// A dialog that fades out when it closes.
//
// Derive from CFadeOutDialog instead of QDialog. Closing with accept(), reject()
// or done() lowers the window's opacity to 0 over FadeDurationMs and only then
// ends the dialog (exec() returns, finished() is emitted). With fade-out switched
// off (the "Fade-Out deaktivieren" option) or while hidden it closes at once.
// Further close requests during the fade are ignored, and IsClosing() lets a
// subclass's OK handler refuse to run twice.
#include <QDialog>
#include <QPointer>

class QBoxLayout;
class QVBoxLayout;
class QPropertyAnimation;

class CFadeOutDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int FadeDurationMs = 300;

    explicit CFadeOutDialog(bool fadeOutOff, QWidget* parent = nullptr);

    void SetFadeOutOff(bool off) { fadeOutOff_ = off; }
    bool FadeOutOff() const { return fadeOutOff_; }
    /// True from the first close request until the dialog has ended.
    bool IsClosing() const { return closing_; }

    void done(int result) override;

  protected:
    /// Adds "OK" (the default button, object name "IDOK") and "Abbrechen"
    /// ("IDCANCEL") to `row`, tied to accept() and reject().
    void AddOkCancel(QBoxLayout* row);
    /// Lays the dialog out as `content` above a right-aligned OK/Abbrechen row;
    /// returns the dialog's layout.
    QVBoxLayout* LayOutWithOkCancel(QWidget* content);

  private:
    void Finish(int result);

    bool fadeOutOff_;
    bool closing_ = false;
    QPointer<QPropertyAnimation> animation_;
};
