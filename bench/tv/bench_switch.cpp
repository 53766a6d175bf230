// One program switch on the emulated card, from the request to the first
// present/following section of the new program, next to the sum of the
// pauses the switch keeps (the floor); and the longest time the window went
// without painting while the switches ran. Plays the Rai capture of the
// shared test data and the ARTE capture on one dish position. The card plays
// a transponder from its start when it locks, so a section can only arrive
// when the stream carries it after the filter is set: service 3411's first
// present/following section is 329 ms into the Rai capture (just after the
// floor), service 3401's at 401 ms; the second shows the stream's share.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "channellist/CLnb.h"
#include "channellist/CSVLFile.h"
#include "common/CProgramState.h"
#include "kestrel/CRegistry.h"
#include "kestrel/CServerConnection.h"
#include "receiver/CKestrelCard.h"
#include "receiver/IDeviceSet.h"
#include "tv/CProgramSwitcher.h"

namespace {

const std::filesystem::path kData = SVL_TESTDATA_DIR;
constexpr int kSwitches = 10;
// Tone burst 10 ms, zSetChannel, SendTime, ReadPSIFast and SetVideoPID 50 ms
// each, the event filter's shut-down 100 ms.
constexpr int kFloorMs = 10 + 4 * 50 + 100;

/// A window that asks to be painted again after every paint and keeps the
/// longest gap between two paints.
class PaintProbe : public QWidget {
  public:
    qint64 longestGapMs = 0;
    void Reset() {
        longestGapMs = 0;
        clock_.invalidate();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), (++frames_ & 1) ? Qt::black : Qt::darkGray);
        if (clock_.isValid()) longestGapMs = std::max(longestGapMs, clock_.elapsed());
        clock_.start();
        update();
    }

  private:
    QElapsedTimer clock_;
    int frames_ = 0;
};

std::unique_ptr<CProgramInfo> Program(const char* name, int frequency, int vertical,
                                      std::uint16_t sid) {
    auto p = std::make_unique<CProgramInfo>();
    p->Name = name;
    p->LnbName = "Astra";
    p->Frequency = frequency;
    p->PolarisationOrQam = vertical;
    p->SymbolRate = 27500000;
    p->ServiceId = sid;
    return p;
}

bool StartCard(const std::filesystem::path& dir) {
    const std::string config = (dir / "card.conf").string();
    std::ofstream(config) << "[card]\nbase_port = " << 32000 + (getpid() % 200) * 100
                          << "\n[position A]\ntransponder = 12188000 V 27500000 "
                          << (kData / "tsduck-test_108_rai-dvbt-full-mux.ts").string()
                          << "\ntransponder = 11836000 H 27500000 "
                          << (kData / "tsduck-test_012_arte-teletext.ts").string() << "\n";
    setenv("KESTREL_INSTANCE", ("benchswitch" + std::to_string(getpid())).c_str(), 1);
    setenv("KESTREL_REGISTRY", (dir / "registry.db").c_str(), 1);
    kestrel::CRegistry reg;
    reg.Open();
    reg.WriteString(kestrel::kServerSettingsKey, kestrel::kServerPathValue,
                    std::string(NVDVBSRV_PATH) + " --config " + config);
    auto& connection = kestrel::CServerConnection::Instance();
    if (connection.Connect({})) return true;
    std::fprintf(stderr, "card: %s\n", connection.LastError().c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::filesystem::exists(kData / "tsduck-test_108_rai-dvbt-full-mux.ts")) {
        std::printf("bench_switch: skipped, broadcast captures not found in %s\n", kData.c_str());
        return 0;
    }
    setenv("KESTREL_DEFER_CONNECT", "1", 1);
    QApplication app(argc, argv);
    const auto dir =
        std::filesystem::temp_directory_path() / ("bench_switch_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    if (!StartCard(dir)) return 1;
    const int serverPid = kestrel::CServerConnection::Instance().StartedServerPid();
    {
        CKestrelCard link;
        link.StartUp(nullptr);
        CProgramState state;
        CProgramSwitcher switcher(*link.Devices(), state);
        CSVLFile list;
        auto lnb = std::make_shared<CLnb>();
        lnb->LnbType = 3, lnb->SwitchFrequency = 11700000, lnb->LowBandLof = 9750000;
        lnb->HighBandLof = 10600000, lnb->PowerOn = 1, lnb->DiseqcType = 1;
        list.Lnbs.Set("Astra", lnb);
        list.Programs.push_back(Program("Arte", 11836000, 0, 1));
        for (const std::uint16_t sid : {3411, 3401})
            list.Programs.push_back(Program("Rai", 12188000, 1, sid));
        PaintProbe probe;
        probe.resize(320, 240);
        probe.show();

        QElapsedTimer sinceRequest;
        qint64 firstSection = -1;
        QObject::connect(&switcher, &CProgramSwitcher::eventSectionArrived, [&] {
            if (firstSection < 0) firstSection = sinceRequest.elapsed();
        });
        for (std::size_t program = 1; program < list.Programs.size(); ++program) {
            std::vector<qint64> times;
            qint64 longestGap = 0;
            for (int i = 0; i < kSwitches; ++i) {
                // Away to ARTE (no events of these services there), then back to Rai.
                switcher.SwitchToProgram(list, *list.Programs[0], true);
                while (switcher.Running()) app.processEvents(QEventLoop::WaitForMoreEvents);
                firstSection = -1;
                probe.Reset();
                sinceRequest.start();
                switcher.SwitchToProgram(list, *list.Programs[program], true);
                while (firstSection < 0 && sinceRequest.elapsed() < 5000)
                    app.processEvents(QEventLoop::WaitForMoreEvents, 5);
                longestGap = std::max(longestGap, probe.longestGapMs);
                times.push_back(firstSection);
            }
            std::sort(times.begin(), times.end());
            const qint64 median = times[times.size() / 2];
            const int sid = list.Programs[program]->ServiceId;
            std::printf(
                "BENCH switch_to_first_section sid %d median %lld ms (min %lld, max %lld) "
                "floor %d ms ratio %.3f over_floor %lld ms\n",
                sid, static_cast<long long>(median), static_cast<long long>(times.front()),
                static_cast<long long>(times.back()), kFloorMs,
                static_cast<double>(median) / kFloorMs, static_cast<long long>(median - kFloorMs));
            std::printf("BENCH switch_longest_paint_gap sid %d %lld ms over %d switches\n", sid,
                        static_cast<long long>(longestGap), kSwitches);
        }
    }
    kestrel::CServerConnection::Instance().Disconnect();
    if (serverPid > 0) {
        kill(serverPid, SIGTERM);
        waitpid(serverPid, nullptr, 0);
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}
