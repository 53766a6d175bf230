#pragma once
// The common interface on the frame: the slot status every 2 s (timer 3005),
// the slots' ready flags that enable "Slot 1..." and "Slot 2..." and go on to
// the frame's status panes (message 1241), the dialog "CI-Menü" on those
// commands with the module's texts and input requests, and the module's CA
// status (type 12 sets the tuned program's audio PID again, type 13 goes to
// the view as message 1240). Lives as a child of the frame.
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "ci/CSlotReadyFlags.h"
#include "ci/windows/CCIMenuDialog.h"
#include "receiver/ICiListener.h"

class CMainFrame;
class CTvBinding;
class IDeviceSet;

class CCiBinding : public QObject, public ICiListener {
    Q_OBJECT
  public:
    CCiBinding(CMainFrame& frame, CTvBinding& tv, IDeviceSet& card);
    ~CCiBinding() override;

    const CSlotReadyFlags& Flags() const { return flags_; }
    /// The dialog once a menu command made it; null before.
    CCIMenuDialog* Dialog() const { return dialog_; }
    /// "Slot 1..." / "Slot 2...": the dialog with the waiting row, then the
    /// module's menu is asked for.
    void OpenMenu(int slot);

    void OnSlotStatus(int slot, int status) override;
    void OnCaStatus(int first, int type) override;
    void OnModuleText(std::span<const std::uint8_t> message, CiTextKind kind) override;
    void OnSwitchOff() override;
    void OnInputRequest(bool blind, int answerLength) override;

  private:
    void UpdateSlotCommands();

    CMainFrame& frame_;
    CTvBinding& tv_;
    IDeviceSet& card_;
    CSlotReadyFlags flags_;
    QTimer slotStatusTimer_;
    QPointer<CCIMenuDialog> dialog_;
};

CCiBinding* AttachCi(CMainFrame& frame, CTvBinding& tv, IDeviceSet& card);
