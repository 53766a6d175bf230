#pragma once
// The card's part in the life of the main frame for the TV program: the link
// to the card comes up first (the library on the event loop, the device
// objects made), then the card's own start-up steps run on the device objects;
// the frame timer sends the time to the CAMs; at the end the card is left
// idle and then the link goes. Failures of the card never stop the frame.
#include <QString>
#include <functional>

#include "common/ICardLifecycle.h"
#include "tv/CardStartUp.h"

class IDeviceSet;

class CTvCardLifecycle : public ICardLifecycle {
  public:
    /// `link` brings the library up and down; `devices` gives the device
    /// objects once the link is up (null: no card).
    CTvCardLifecycle(ICardLifecycle& link, std::function<IDeviceSet*()> devices);

    /// The start-up's messages (default: none) and pauses (default: sleeping).
    void SetErrorBox(CardStartUp::ErrorBox box) { errorBox_ = std::move(box); }
    void SetSleep(CardStartUp::Sleep sleep) { sleep_ = std::move(sleep); }
    /// The firmware folder the board boots from.
    void SetFirmwareFolder(const QString& folder) { firmwareFolder_ = folder; }

    void StartUp(QWidget* frame) override;
    void OnFrameTimer() override;
    void TearDown() noexcept override;
    QString FrontendKindText() const override { return frontendKind_; }

    IDeviceSet* Devices() const;

  private:
    ICardLifecycle& link_;
    std::function<IDeviceSet*()> devices_;
    CardStartUp::ErrorBox errorBox_;
    CardStartUp::Sleep sleep_;
    QString firmwareFolder_;
    QString frontendKind_ = QStringLiteral("None");
    bool up_ = false;
};
