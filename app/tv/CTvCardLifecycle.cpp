#include "tv/CTvCardLifecycle.h"

#include <thread>

#include "receiver/IDeviceSet.h"

CTvCardLifecycle::CTvCardLifecycle(ICardLifecycle& link, std::function<IDeviceSet*()> devices)
    : link_(link),
      devices_(std::move(devices)),
      sleep_([](std::chrono::milliseconds d) { std::this_thread::sleep_for(d); }) {}

IDeviceSet* CTvCardLifecycle::Devices() const { return up_ && devices_ ? devices_() : nullptr; }

void CTvCardLifecycle::StartUp(QWidget* frame) {
    if (up_) return;
    link_.StartUp(frame);
    up_ = true;
    if (IDeviceSet* card = Devices())
        frontendKind_ = CardStartUp::Run(*card, firmwareFolder_, errorBox_, sleep_);
}

void CTvCardLifecycle::OnFrameTimer() {
    if (IDeviceSet* card = Devices()) card->SendTime();
}

void CTvCardLifecycle::TearDown() noexcept {
    if (!up_) return;
    if (IDeviceSet* card = Devices()) CardStartUp::TearDown(*card);
    up_ = false;
    link_.TearDown();
}
