#include "receiver/CFakeReceiver.h"

#include "channellist/CSVLFile.h"

// The subscriptions live in a shared block that the handles reach through a
// weak pointer: a handle destroyed after the receiver does nothing, and one
// destroyed inside its own callback leaves the running callback alive (it is
// held by the delivery, not only by the table).
struct CFakeReceiver::State {
    struct Section {
        SectionFilter filter;
        std::shared_ptr<SectionCallback> callback;
    };
    struct Teletext {
        std::uint16_t pid = 0;
        std::shared_ptr<PageCallback> callback;
    };
    int nextId = 1;
    std::map<int, Section> sections;
    std::map<int, Teletext> teletext;
    std::vector<std::string>* calls = nullptr;
};

namespace {

std::string FilterText(const SectionFilter& f) {
    std::string text = std::to_string(f.pid) + "/" + std::to_string(f.tableId);
    if (f.tableIdExtension) text += "/" + std::to_string(*f.tableIdExtension);
    return text;
}

bool Matches(const SectionFilter& f, std::uint16_t pid, std::span<const std::uint8_t> s) {
    if (s.empty() || f.pid != pid || f.tableId != s[0]) return false;
    if (!f.tableIdExtension) return true;
    return s.size() >= 5 && ((s[3] << 8) | s[4]) == *f.tableIdExtension;
}

}  // namespace

CFakeReceiver::CFakeReceiver() : state_(std::make_shared<State>()) { state_->calls = &calls_; }

CFakeReceiver::~CFakeReceiver() { state_->calls = nullptr; }

TuneResult CFakeReceiver::Tune(const CSVLFile& list, const CProgramInfo& program) {
    calls_.push_back("Tune " + program.Name);
    TuneResult result;
    const CLnb* lnb = list.FindLnb(program.LnbName);
    if (!lnb) {
        result.status = TuneStatus::NoLnb;
        result.cardResult = {};
        return result;
    }
    result.plan = CTuningPlan::For(program, *lnb);
    tunedPlans_.push_back(result.plan);
    result.status = tuneStatus_;
    result.cardResult = tuneResult_;
    result.frontendStatus = frontendStatus_;
    return result;
}

void CFakeReceiver::ScriptTune(TuneStatus status, CardResult result, std::uint16_t frontendStatus) {
    tuneStatus_ = status;
    tuneResult_ = result;
    frontendStatus_ = frontendStatus;
}

bool CFakeReceiver::TakeScriptedFailure(SubscribeError* error) {
    if (!nextSubscribeFailure_) return false;
    if (error) *error = *nextSubscribeFailure_;
    nextSubscribeFailure_.reset();
    return true;
}

CSubscription CFakeReceiver::MakeHandle(int id, std::string unsubscribeLine) {
    std::weak_ptr<State> weak = state_;
    return CSubscription([weak, id, line = std::move(unsubscribeLine)] {
        const auto state = weak.lock();
        if (!state) return;
        state->sections.erase(id);
        state->teletext.erase(id);
        if (state->calls) state->calls->push_back(line);
    });
}

CSubscription CFakeReceiver::SubscribeSections(const SectionFilter& filter,
                                               SectionCallback callback, SubscribeError* error) {
    calls_.push_back("SubscribeSections " + FilterText(filter));
    if (TakeScriptedFailure(error)) return {};
    if (error) *error = {};
    const int id = state_->nextId++;
    state_->sections[id] = {filter, std::make_shared<SectionCallback>(std::move(callback))};
    return MakeHandle(id, "Unsubscribe " + FilterText(filter));
}

CSubscription CFakeReceiver::SubscribeTeletext(std::uint16_t pid, PageCallback callback,
                                               SubscribeError* error) {
    calls_.push_back("SubscribeTeletext " + std::to_string(pid));
    if (TakeScriptedFailure(error)) return {};
    if (!state_->teletext.empty()) {
        if (error) *error = {SubscribeError::Busy, 0};
        return {};
    }
    if (error) *error = {};
    const int id = state_->nextId++;
    state_->teletext[id] = {pid, std::make_shared<PageCallback>(std::move(callback))};
    return MakeHandle(id, "UnsubscribeTeletext " + std::to_string(pid));
}

std::vector<SectionFilter> CFakeReceiver::ActiveSectionFilters() const {
    std::vector<SectionFilter> out;
    for (const auto& [id, s] : state_->sections) out.push_back(s.filter);
    return out;
}

std::optional<std::uint16_t> CFakeReceiver::TeletextPid() const {
    if (state_->teletext.empty()) return std::nullopt;
    return state_->teletext.begin()->second.pid;
}

int CFakeReceiver::DeliverSection(std::uint16_t pid, std::span<const std::uint8_t> section) {
    // Ids first: a callback may end any subscription, its own included, or
    // make new ones (which see only later sections).
    std::vector<int> ids;
    for (const auto& [id, s] : state_->sections)
        if (Matches(s.filter, pid, section)) ids.push_back(id);
    int delivered = 0;
    for (int id : ids) {
        auto it = state_->sections.find(id);
        if (it == state_->sections.end()) continue;
        const std::shared_ptr<SectionCallback> callback = it->second.callback;
        (*callback)(section);
        ++delivered;
    }
    return delivered;
}

bool CFakeReceiver::DeliverTeletextPage(std::span<const std::uint8_t> page) {
    if (state_->teletext.empty()) return false;
    const std::shared_ptr<PageCallback> callback = state_->teletext.begin()->second.callback;
    (*callback)(page);
    return true;
}

CardResult CFakeReceiver::SetVideoPid(std::uint16_t pid) {
    calls_.push_back("SetVideoPid " + std::to_string(pid));
    if (cardResult_.Ok()) videoPid_ = pid;
    return cardResult_;
}

CardResult CFakeReceiver::SetAudioPid(std::uint16_t pid) {
    calls_.push_back("SetAudioPid " + std::to_string(pid));
    if (cardResult_.Ok()) audioPid_ = pid;
    return cardResult_;
}

DecoderState CFakeReceiver::ReadDecoderState() {
    calls_.push_back("ReadDecoderState");
    if (!cardResult_.Ok()) return DecoderState{cardResult_};
    DecoderState state = decoderState_;
    if (!state.result.Ok()) return DecoderState{state.result};
    state.videoPid = videoPid_;
    state.audioPid = audioPid_;
    return state;
}
