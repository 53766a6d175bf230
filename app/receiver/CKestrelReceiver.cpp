#include "receiver/CKestrelReceiver.h"

#include <map>
#include <thread>
#include <vector>

#include "channellist/CSVLFile.h"
#include "kestrel/IDispatcher.h"
#include "receiver/CSectionFeed.h"
#include "receiver/CTeletextFeed.h"

// The running feeds, reached by the handles through a weak pointer. A feed
// that ends is closed at once but destroyed only from the loop: it may be the
// one whose callback is running (the handle destroyed inside its callback).
struct CKestrelReceiver::Feeds {
    int nextId = 1;
    std::map<int, std::unique_ptr<CSectionFeed>> sections;
    std::unique_ptr<CTeletextFeed> teletext;
    int teletextId = 0;  ///< id of the running teletext feed's handle
    std::vector<std::unique_ptr<CSectionFeed>> retiredSections;
    std::vector<std::unique_ptr<CTeletextFeed>> retiredTeletext;
    bool purgeQueued = false;

    static void Purge(const std::weak_ptr<Feeds>& weak) {
        const auto feeds = weak.lock();
        if (!feeds) return;
        feeds->purgeQueued = false;
        feeds->retiredSections.clear();
        feeds->retiredTeletext.clear();
    }
    static void QueuePurge(const std::shared_ptr<Feeds>& feeds) {
        if (feeds->purgeQueued) return;
        feeds->purgeQueued = true;
        std::weak_ptr<Feeds> weak = feeds;
        kestrel::Dispatcher().Defer([weak] { Purge(weak); });
    }
};

namespace {

void RealSleep(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

constexpr std::uint32_t kChannelMode = 2;  // the mode the front end expects from the program

CHANNEL_TYPE ChannelOf(const CTuningPlan& plan) {
    CHANNEL_TYPE channel;
    channel.Frequency = plan.Frequency;
    channel.LOF = plan.Lof;
    channel.SymbolRate = plan.SymbolRate;
    channel.Polarisation = 0;
    channel.Mode = kChannelMode;
    channel.LNBVoltage = plan.LnbVoltage;
    channel.Tone22kHz = plan.Tone22kHz;
    channel.Reserved = 0;
    return channel;
}

CardResult ResultOf(ErrReturn r) { return {static_cast<int>(r)}; }

}  // namespace

CKestrelReceiver::CKestrelReceiver(Sleep sleep)
    : sleep_(sleep ? sleep : &RealSleep), feeds_(std::make_shared<Feeds>()) {}

CKestrelReceiver::~CKestrelReceiver() {
    // Feeds first: their filters and sockets go while the devices are there.
    feeds_->sections.clear();
    feeds_->teletext.reset();
    feeds_->retiredSections.clear();
    feeds_->retiredTeletext.clear();
}

void CKestrelReceiver::SendSwitchCommand(const CTuningPlan& plan) {
    std::vector<std::uint8_t> bytes(plan.SwitchBytes.begin(), plan.SwitchBytes.end());
    for (int i = 0; i < plan.SwitchRepeats; ++i) {
        frontend_.SendDiSEqCMsg(bytes.empty() ? nullptr : bytes.data(),
                                static_cast<std::uint32_t>(bytes.size()), plan.SwitchBurst, 0);
        if (!bytes.empty()) bytes[0] = 0xE1;  // repeated message
        if (plan.SwitchPauseMs > 0) sleep_(std::chrono::milliseconds(plan.SwitchPauseMs));
    }
}

TuneResult CKestrelReceiver::Tune(const CSVLFile& list, const CProgramInfo& program) {
    TuneResult result;
    const CLnb* lnb = list.FindLnb(program.LnbName);
    if (!lnb) {
        result.status = TuneStatus::NoLnb;
        return result;
    }
    result.plan = CTuningPlan::For(program, *lnb);
    // The switch's result is not looked at: a card without a switch still tunes.
    SendSwitchCommand(result.plan);
    std::uint16_t status = 0xFFFF;
    const ErrReturn r = frontend_.zSetChannel(status, ChannelOf(result.plan));
    result.cardResult = ResultOf(r);
    result.frontendStatus = static_cast<std::uint16_t>(status);
    if (r != CCommonDVB::RET_OK)
        result.status = TuneStatus::Failed;
    else
        result.status = status == 0 ? TuneStatus::Locked : TuneStatus::NotLocked;
    return result;
}

CSubscription CKestrelReceiver::SubscribeSections(const SectionFilter& filter,
                                                  SectionCallback callback, SubscribeError* error) {
    auto feed = std::make_unique<CSectionFeed>(std::move(callback));
    SubscribeError why;
    const bool opened = feed->Open(filter, why);
    if (error) *error = why;
    if (!opened) return {};
    const int id = feeds_->nextId++;
    feeds_->sections[id] = std::move(feed);
    std::weak_ptr<Feeds> weak = feeds_;
    return CSubscription([weak, id] {
        const auto feeds = weak.lock();
        if (!feeds) return;
        const auto it = feeds->sections.find(id);
        if (it == feeds->sections.end()) return;
        it->second->Close();
        feeds->retiredSections.push_back(std::move(it->second));
        feeds->sections.erase(it);
        Feeds::QueuePurge(feeds);
    });
}

CSubscription CKestrelReceiver::SubscribeTeletext(std::uint16_t pid, PageCallback callback,
                                                  SubscribeError* error) {
    if (feeds_->teletext) {
        if (error) *error = {SubscribeError::Busy, 0};
        return {};
    }
    auto feed = std::make_unique<CTeletextFeed>(teletext_, std::move(callback));
    SubscribeError why;
    const bool opened = feed->Open(pid, why);
    if (error) *error = why;
    if (!opened) return {};
    feeds_->teletext = std::move(feed);
    const int id = feeds_->teletextId = feeds_->nextId++;
    std::weak_ptr<Feeds> weak = feeds_;
    return CSubscription([weak, id] {
        const auto feeds = weak.lock();
        if (!feeds || !feeds->teletext || feeds->teletextId != id) return;
        feeds->teletext->Close();
        feeds->retiredTeletext.push_back(std::move(feeds->teletext));
        Feeds::QueuePurge(feeds);
    });
}

std::size_t CKestrelReceiver::SectionSubscriptionCount() const { return feeds_->sections.size(); }

CardResult CKestrelReceiver::SetVideoPid(std::uint16_t pid) {
    return ResultOf(decoder_.SetVideoPID(pid));
}

CardResult CKestrelReceiver::SetAudioPid(std::uint16_t pid) {
    return ResultOf(decoder_.SetAudioPID(pid));
}

DecoderState CKestrelReceiver::ReadDecoderState() {
    DecoderState state;
    VIDEOSTATE video;
    state.result = ResultOf(decoder_.GetDecoderStatus(&video));
    if (!state.result.Ok()) return state;
    std::uint16_t pid = 0;
    if (decoder_.GetVideoPID(pid) == CCommonDVB::RET_OK) state.videoPid = pid;
    if (decoder_.GetAudioPid(pid) == CCommonDVB::RET_OK) state.audioPid = pid;
    state.width = video.Width();
    state.height = video.Height();
    state.format = video.Format();
    state.frameRate = video.FrameRate();
    state.bitRate = video.BitRate();
    return state;
}
