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

}  // namespace nvdvbsrv
