#pragma once
// A datagram receiver that owns the section filter feeding it.
#include "kestrel/CDVBWinSock.h"
#include "kestrel/CPIDFilter.h"

class CFilterSocket : public CDVBWinSock {
  public:
    CPIDFilter& Filter() { return filter_; }
    const CPIDFilter& Filter() const { return filter_; }

  private:
    CPIDFilter filter_;
};
