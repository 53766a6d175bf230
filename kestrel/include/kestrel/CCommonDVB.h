#pragma once
// Common base of every device class and the result type of every operation.

class CCommonDVB {
  public:
    /// Result of every device operation. 1 is success; any other value is a
    /// failure, either one of the library's own below or the server's code,
    /// passed through unchanged (hence the fixed underlying type).
    enum ErrReturn : int {
        RET_OK = 1,
        RET_INVALID = 3,  ///< refused by the library before any request
        RET_FILE_ERROR = 4,
        RET_SOCKET_ERROR = 6,
        RET_NO_MEMORY = 8,
        RET_TIMEOUT = 9,  ///< parameter mutex not obtained (or no connection)
    };

    virtual ~CCommonDVB();
};

using ErrReturn = CCommonDVB::ErrReturn;
