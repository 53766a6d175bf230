#include "receiver/CKestrelCard.h"

#include "kestrel/CServerConnection.h"
#include "kestrel/IDispatcher.h"
#include "receiver/CKestrelDeviceSet.h"
#include "receiver/CKestrelReceiver.h"
#include "receiver/CQtDispatcher.h"

CKestrelCard::CKestrelCard() = default;

CKestrelCard::~CKestrelCard() { TearDown(); }

void CKestrelCard::StartUp(QWidget*) {
    if (started_) return;
    started_ = true;
    // The dispatcher is made here, not earlier: it needs the application's
    // event loop, which exists by the time the frame is built.
    if (!dispatcher_) dispatcher_ = std::make_unique<CQtDispatcher>();
    kestrel::SetDispatcher(dispatcher_.get());
    kestrel::CServerConnection::Instance().AttachDispatcher(*dispatcher_);
    receiver_ = std::make_unique<CKestrelReceiver>();
    // The device objects live as long as the card object: the program's parts
    // hold on to them until their windows go, after the card's tear-down.
    if (!devices_) devices_ = std::make_unique<CKestrelDeviceSet>();
}

void CKestrelCard::OnFrameTimer() {}

IReceiver* CKestrelCard::Receiver() const { return receiver_.get(); }

IDeviceSet* CKestrelCard::Devices() const { return devices_.get(); }

void CKestrelCard::TearDown() noexcept {
    if (!started_) return;
    started_ = false;
    try {
        // The filters and sockets go while their dispatcher is in place.
        if (devices_) devices_->CloseReceivers();
        receiver_.reset();
        auto& connection = kestrel::CServerConnection::Instance();
        connection.DetachDispatcher();
        kestrel::SetDispatcher(nullptr);
        connection.Disconnect();
    } catch (...) {
        // Leaving the card must never stop the program's end; the connection
        // is closed again when the library unloads.
        kestrel::SetDispatcher(nullptr);
    }
}
