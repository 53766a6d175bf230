// Messages the card posts to its clients' windows (the recorder's status
// changes), collected from any thread and sent by the server's thread on
// each client's connection. Fd() becomes readable while messages wait.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace nvdvbsrv {

struct PostedMessage {
    uint32_t client = 0;
    uint32_t window = 0;
    uint32_t message = 0;
    uint32_t wParam = 0;
    uint32_t lParam = 0;
};

class CPostBox {
  public:
    CPostBox();
    ~CPostBox();
    CPostBox(const CPostBox&) = delete;
    CPostBox& operator=(const CPostBox&) = delete;

    int Fd() const { return fd_; }
    void Post(const PostedMessage& m);
    // What waits, oldest first; Fd() is quiet again.
    std::vector<PostedMessage> Take();

  private:
    int fd_ = -1;
    std::mutex mutex_;
    std::vector<PostedMessage> waiting_;
};

}  // namespace nvdvbsrv
