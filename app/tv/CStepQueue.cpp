#include "tv/CStepQueue.h"

CStepQueue::CStepQueue(QObject* parent) : QObject(parent) {
    pause_.setSingleShot(true);
    pause_.setTimerType(Qt::PreciseTimer);
    connect(&pause_, &QTimer::timeout, this, &CStepQueue::RunSteps);
}

void CStepQueue::Add(std::vector<Step> steps) {
    for (Step& step : steps) steps_.push_back(std::move(step));
    if (!running_ && !pause_.isActive()) RunSteps();
}

void CStepQueue::RunSteps() {
    running_ = true;
    while (!steps_.empty()) {
        Step step = std::move(steps_.front());
        steps_.pop_front();
        if (step.run) step.run();  // a message box in a step runs the loop
        if (step.pauseMs > 0) {
            if (observer_) observer_(step.pauseMs);
            pause_.start(step.pauseMs);
            break;
        }
    }
    running_ = false;
}
