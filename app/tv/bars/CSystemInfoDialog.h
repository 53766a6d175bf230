#pragma once
// The dialog "Systeminformationen": the machine ("Allgemein": system, screen,
// memory, processor clock) and the card ("DVB-S": board, firmware, network
// and hardware addresses). The processor clock takes a second to measure; it
// is measured on a worker thread while the dialog is already open, and its
// row is filled when the measurement is done.
#include <QDialog>
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <thread>

class IDeviceSet;
class QTableWidget;

class CSystemInfoDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int GeneralList = 1053;
    static constexpr int CardList = 1209;

    /// Counts the processor's ticks of one second; runs on the worker thread.
    using ClockMeasure = std::function<std::optional<std::uint64_t>(std::stop_token)>;

    /// `devices` may be null (no card): the "DVB-S" list stays empty.
    explicit CSystemInfoDialog(IDeviceSet* devices, QWidget* parent = nullptr,
                               ClockMeasure measure = {});
    ~CSystemInfoDialog() override;

    const QTableWidget& General() const { return *general_; }
    const QTableWidget& Card() const { return *card_; }
    /// True once the clock row shows the measured value.
    bool ClockShown() const { return clockShown_; }

  signals:
    void clockMeasured();

  private:
    QTableWidget* MakeList(int id);
    void ShowClock(std::optional<std::uint64_t> ticks);

    QTableWidget* general_;
    QTableWidget* card_;
    int clockRow_ = -1;
    bool clockShown_ = false;
    std::jthread worker_;  // last: stopped and joined before anything else goes
};
