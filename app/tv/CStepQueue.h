#pragma once
// Steps with pauses between them, run on the event loop: each step runs, then
// its pause is kept by a timer before the next one starts, so the windows keep
// painting and taking input. Steps added while others wait run after them.
#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

class CStepQueue : public QObject {
    Q_OBJECT
  public:
    struct Step {
        std::function<void()> run;
        int pauseMs = 0;  ///< kept after the step
    };

    explicit CStepQueue(QObject* parent = nullptr);

    /// Queues `steps`; they start at once when nothing waits.
    void Add(std::vector<Step> steps);
    /// True while steps are left or a pause runs.
    bool Busy() const { return running_ || !steps_.empty() || pause_.isActive(); }
    /// Called with the length of every pause as it begins (tests log them).
    void SetPauseObserver(std::function<void(int ms)> observer) { observer_ = std::move(observer); }

  private:
    void RunSteps();

    std::deque<Step> steps_;
    QTimer pause_;
    std::function<void(int)> observer_;
    bool running_ = false;
};
