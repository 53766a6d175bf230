#pragma once
// An IReceiver without a card, for the tests of the parts that use one. It
// records every call, lets the test deliver sections and teletext pages as the
// card would, and answers with results the test scripts.
//
// Tuning works out the same plan as the real receiver (NoLnb when the list has
// no such LNB) and reports Locked unless a result is scripted.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "receiver/IReceiver.h"

class CFakeReceiver : public IReceiver {
  public:
    CFakeReceiver();
    ~CFakeReceiver() override;

    TuneResult Tune(const CSVLFile& list, const CProgramInfo& program) override;
    CSubscription SubscribeSections(const SectionFilter& filter, SectionCallback callback,
                                    SubscribeError* error = nullptr) override;
    CSubscription SubscribeTeletext(std::uint16_t pid, PageCallback callback,
                                    SubscribeError* error = nullptr) override;
    CardResult SetVideoPid(std::uint16_t pid) override;
    CardResult SetAudioPid(std::uint16_t pid) override;
    DecoderState ReadDecoderState() override;

    // What happened: one line per call, e.g. "Tune Das Erste", "SetVideoPid 101",
    // "SubscribeSections 18/78", "Unsubscribe 18/78", "SubscribeTeletext 104".
    const std::vector<std::string>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }
    /// The plans of all tunes that got as far as the card, in order.
    const std::vector<CTuningPlan>& TunedPlans() const { return tunedPlans_; }
    /// The filters of the running section subscriptions, oldest first.
    std::vector<SectionFilter> ActiveSectionFilters() const;
    /// The PID of the running teletext subscription.
    std::optional<std::uint16_t> TeletextPid() const;

    // Delivering, as the card's data would arrive from the event loop.
    /// Hands the section to every running subscription whose filter matches
    /// its table id (byte 0) and extension (bytes 3-4); returns how many got it.
    int DeliverSection(std::uint16_t pid, std::span<const std::uint8_t> section);
    /// Hands the page to the running teletext subscription; false when none runs.
    bool DeliverTeletextPage(std::span<const std::uint8_t> page);

    // Scripted answers (each applies from now on, until scripted again).
    void ScriptTune(TuneStatus status, CardResult result = {}, std::uint16_t frontendStatus = 0);
    /// The next subscription of either kind fails with `error` (once).
    void ScriptSubscribeFailure(SubscribeError error) { nextSubscribeFailure_ = error; }
    /// Picture fields and result of ReadDecoderState (the PIDs are those last set).
    void ScriptDecoderState(const DecoderState& state) { decoderState_ = state; }
    /// Result of every decoder call.
    void ScriptCardResult(CardResult result) { cardResult_ = result; }

  private:
    struct State;
    bool TakeScriptedFailure(SubscribeError* error);
    CSubscription MakeHandle(int id, std::string unsubscribeLine);

    std::shared_ptr<State> state_;
    std::vector<std::string> calls_;
    std::vector<CTuningPlan> tunedPlans_;
    TuneStatus tuneStatus_ = TuneStatus::Locked;
    CardResult tuneResult_;
    std::uint16_t frontendStatus_ = 0;
    std::optional<SubscribeError> nextSubscribeFailure_;
    DecoderState decoderState_;
    CardResult cardResult_;
    std::uint16_t videoPid_ = 0;
    std::uint16_t audioPid_ = 0;
};
