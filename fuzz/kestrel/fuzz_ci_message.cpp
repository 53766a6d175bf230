// The common interface's module message dispatch on arbitrary datagrams. The
// input is split into messages by a leading length byte pair, each copied to
// a buffer of its exact size. The overrides read every byte they are given,
// so that a call past the message shows. Without a server the module's
// filter requests are refused and their answers go nowhere.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "kestrel/CCommonInterface.h"

namespace {

volatile std::uint32_t g_sink = 0;

class ReadingCI : public CCommonInterface {
  public:
    void OnSlotStatus(std::uint8_t slot, std::uint8_t status, void* info) override {
        g_sink = g_sink + slot + status + *static_cast<std::uint8_t*>(info);
    }
    void OnCAStatus(std::uint8_t a, std::uint8_t type, std::uint8_t* data) override {
        g_sink = g_sink + a + type + *data;
    }
    void OnDisplayString(char* m, std::uint16_t n) override { Read(m, n); }
    void OnDisplayMenu(char* m, std::uint16_t n) override { Read(m, n); }
    void OnDisplayList(char* m, std::uint16_t n) override { Read(m, n); }
    void OnInputRequest(int blind, std::uint8_t length, std::uint32_t value) override {
        g_sink = g_sink + static_cast<std::uint32_t>(blind) + length + value;
    }

  private:
    static void Read(const char* m, std::uint16_t n) {
        for (std::uint16_t i = 0; i < n; ++i) g_sink = g_sink + static_cast<std::uint8_t>(m[i]);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReadingCI ci;
    std::size_t pos = 0;
    while (pos + 2 <= size) {
        const std::size_t n =
            std::min<std::size_t>((data[pos] << 8 | data[pos + 1]) % 8193, size - pos - 2);
        pos += 2;
        std::vector<std::uint8_t> message(data + pos, data + pos + n);  // exact size for ASan
        ci.ProcessCiData(message.data(), static_cast<int>(message.size()));
        pos += n;
    }
    return 0;
}
