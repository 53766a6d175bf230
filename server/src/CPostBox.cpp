#include "CPostBox.h"

#include <sys/eventfd.h>
#include <unistd.h>

namespace nvdvbsrv {

CPostBox::CPostBox() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

CPostBox::~CPostBox() {
    if (fd_ >= 0) close(fd_);
}

void CPostBox::Post(const PostedMessage& m) {
    std::lock_guard lock(mutex_);
    waiting_.push_back(m);
    const uint64_t one = 1;
    if (fd_ >= 0 && write(fd_, &one, sizeof one) != sizeof one) {
        // The counter is full: readable already.
    }
}

std::vector<PostedMessage> CPostBox::Take() {
    std::lock_guard lock(mutex_);
    uint64_t count = 0;
    if (fd_ >= 0 && read(fd_, &count, sizeof count) != sizeof count) count = 0;
    std::vector<PostedMessage> out;
    out.swap(waiting_);
    return out;
}

}  // namespace nvdvbsrv
