#pragma once
// The card's part in the life of the main frame, on the client library.
// StartUp puts the library on the program's event loop: the Qt dispatcher
// serves the library's receivers and the connection's keep-alive and posted
// messages. It also makes the program's receiver and device objects. TearDown undoes that in
// reverse order and closes the connection.
#include <memory>

#include "common/ICardLifecycle.h"

class CKestrelDeviceSet;
class CKestrelReceiver;
class CQtDispatcher;
class IDeviceSet;
class IReceiver;

class CKestrelCard : public ICardLifecycle {
  public:
    CKestrelCard();
    /// Runs TearDown when it has not run.
    ~CKestrelCard() override;
    CKestrelCard(const CKestrelCard&) = delete;
    CKestrelCard& operator=(const CKestrelCard&) = delete;

    void StartUp(QWidget* frame) override;
    void OnFrameTimer() override;
    void TearDown() noexcept override;

    bool Started() const { return started_; }
    /// The receiver on the card, between StartUp and TearDown; null otherwise.
    IReceiver* Receiver() const;
    /// The process-wide device objects from StartUp on (null before); they
    /// stay after TearDown, their receivers closed.
    IDeviceSet* Devices() const;

  private:
    std::unique_ptr<CQtDispatcher> dispatcher_;
    std::unique_ptr<CKestrelReceiver> receiver_;
    std::unique_ptr<CKestrelDeviceSet> devices_;
    bool started_ = false;
};
