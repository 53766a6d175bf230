#include "CClientSession.h"

#include <unistd.h>

#include "kestrel/protocol/Names.h"
#include "kestrel/protocol/ParamBlock.h"

namespace nvdvbsrv {

namespace kp = kestrel::protocol;

CClientSession::~CClientSession() {
    Unregister();
    if (fd_ >= 0) close(fd_);
}

bool CClientSession::Register(uint16_t id, const std::string& suffix) {
    Unregister();
    memoryName_ = kp::ParamMemoryName(id, suffix);
    mutexName_ = kp::ParamMutexName(id, suffix);
    if (!memory_.Create(memoryName_, kp::kParamBlockSize) || !mutex_.Create(mutexName_)) {
        memory_.Close();
        mutex_.Close();
        kp::SharedMemory::Unlink(memoryName_);
        kp::SharedMemory::Unlink(mutexName_);
        return false;
    }
    id_ = id;
    return true;
}

void CClientSession::Unregister() {
    if (id_ == 0) return;
    memory_.Close();
    mutex_.Close();
    kp::SharedMemory::Unlink(memoryName_);
    kp::SharedMemory::Unlink(mutexName_);
    id_ = 0;
}

bool CClientSession::Send(const kp::Frame& frame) {
    if (out_.empty()) {
        const kp::SendStatus st = kp::TrySendFrame(fd_, frame);
        if (st != kp::SendStatus::Full) return st == kp::SendStatus::Sent;
        waitingSince_ = Clock::now();
    }
    if (out_.size() >= kMaxQueued) return false;
    out_.push_back(frame);
    return true;
}

bool CClientSession::Flush() {
    while (!out_.empty()) {
        const kp::SendStatus st = kp::TrySendFrame(fd_, out_.front());
        if (st == kp::SendStatus::Failed) return false;
        if (st == kp::SendStatus::Full) return true;
        out_.pop_front();
        waitingSince_ = Clock::now();  // the next one waits from now
    }
    return true;
}

}  // namespace nvdvbsrv
