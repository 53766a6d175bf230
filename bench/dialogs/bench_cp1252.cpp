// Converting 16 MiB of channel-list text between Windows-1252 and UTF-16 (the
// dialogs' QString boundary), against Qt's Latin-1 conversion of the same
// bytes as the baseline: the same job without the 0x80-0x9F table.
//
// Prints one line per figure:
//   BENCH <name> <value> <unit> baseline <value> <unit> ratio <r>
// where ratio is the operation's time over the baseline's time.
#include <QString>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "dialogs/Cp1252.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t Size = 16u << 20;
constexpr int Rounds = 7;

// Program and provider names as lists hold them: mostly ASCII, umlauts, and
// now and then a dash or quote from the 0x80-0x9F range.
std::string SampleText() {
    const std::string pieces[] = {"Das Erste ",
                                  "M\xFCnchen ",
                                  "ARD \x96 ",
                                  "\x84Sport\x93 ",
                                  "Bayerisches Fernsehen ",
                                  "S\xFC"
                                  "dwest ",
                                  "3sat ",
                                  "\x80uro "};
    std::string s;
    s.reserve(Size + 32);
    for (std::size_t i = 0; s.size() < Size; ++i) s += pieces[i % 8];
    s.resize(Size);
    return s;
}

// Best of `Rounds` runs, in milliseconds.
double Best(const std::function<void()>& run) {
    double best = 1e300;
    for (int r = 0; r < Rounds; ++r) {
        const auto start = Clock::now();
        run();
        best =
            std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

void Report(const char* name, double value, double baseline) {
    std::printf("BENCH %s %.3f ms baseline %.3f ms ratio %.2f\n", name, value, baseline,
                value / baseline);
}

}  // namespace

int main() {
    const std::string bytes = SampleText();
    std::size_t sink = 0;

    std::u16string units;
    const double decode = Best([&] { units = Cp1252::ToUtf16(bytes); });
    QString latin;
    const double decodeBase = Best(
        [&] { latin = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())); });
    sink += units.size() + static_cast<std::size_t>(latin.size());

    const QString text = QString::fromStdU16String(units);
    std::string back;
    const double encode = Best([&] { back = Cp1252::FromUtf16(units); });
    QByteArray latinBack;
    const double encodeBase = Best([&] { latinBack = text.toLatin1(); });
    sink += back.size() + static_cast<std::size_t>(latinBack.size());

    if (back != bytes) {
        std::fprintf(stderr, "round trip failed\n");
        return 1;
    }
    Report("cp1252_decode_16MiB", decode, decodeBase);
    Report("cp1252_encode_16MiB", encode, encodeBase);
    return sink == 0 ? 1 : 0;
}
