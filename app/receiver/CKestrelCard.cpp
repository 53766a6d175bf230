#include "receiver/CKestrelCard.h"

#include "kestrel/CServerConnection.h"
#include "kestrel/IDispatcher.h"
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
}

void CKestrelCard::OnFrameTimer() {}

IReceiver* CKestrelCard::Receiver() const { return receiver_.get(); }

void CKestrelCard::TearDown() noexcept {
    if (!started_) return;
    started_ = false;
    try {
        // The receiver's filters and sockets go while their dispatcher is in place.
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
