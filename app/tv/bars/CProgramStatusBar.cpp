#include "tv/bars/CProgramStatusBar.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

#include "common/CommandIds.h"
#include "tv/bars/BarRules.h"
#include "tv/bars/BarsTexts.h"
#include "tv/bars/CLevelBar.h"

CProgramStatusBar::CProgramStatusBar(IDeviceSet* devices, QWidget* parent)
    : QWidget(parent), devices_(devices) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    auto* box = new QGroupBox(BarsTexts::StatusBox, this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setVerticalSpacing(3);
    grid->setHorizontalSpacing(6);
    layout->addWidget(box);

    struct BarDef {
        int id;
        const QString& label;
        double maximum;
        const char* unit;
        int decimals;
        bool redToGreen;
    };
    const BarDef bars[] = {
        {QualityBar, BarsTexts::Quality, 100, "%", 0, true},
        {StrengthBar, BarsTexts::Strength, 20, "dB", 1, true},
        {AfcBar, BarsTexts::Afc, 1000, "kHz", 0, true},
        {AudioBufferBar, BarsTexts::AudioBuffer, 100, "%", 0, false},
        {ErrorRateBar, BarsTexts::ErrorRate, 100, "%", 2, false},
    };
    // The bars on the left, one a row; the texts beside them on the right.
    int row = 0;
    for (const BarDef& def : bars) {
        CLevelBar* bar = AddBar(def.id, def.maximum, QString::fromLatin1(def.unit), def.decimals);
        if (def.redToGreen)
            bar->SetColours(CLevelBar::Red, CLevelBar::Green);
        else
            bar->SetColours(CLevelBar::Green, CLevelBar::Red);
        grid->addWidget(new QLabel(def.label, box), row, 0);
        grid->addWidget(bar, row, 1);
        ++row;
    }
    const std::pair<int, const QString&> texts[] = {{FrequencyText, BarsTexts::Frequency},
                                                    {SymbolRateText, BarsTexts::SymbolRate},
                                                    {PolarisationText, BarsTexts::Polarisation},
                                                    {VideoPidText, BarsTexts::VideoPid},
                                                    {AudioPidText, BarsTexts::AudioPid}};
    row = 0;
    for (const auto& [id, label] : texts) {
        auto* text = new QLabel(box);
        text->setProperty("controlId", id);
        text->setMinimumWidth(
            text->fontMetrics().horizontalAdvance(QStringLiteral("12345.678 Mhz")));
        texts_.insert(id, text);
        grid->addWidget(new QLabel(label, box), row, 3);
        grid->addWidget(text, row, 4);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(2, 8);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(row, 1);

    timer_.setInterval(TimerId::ProgramStatusPeriodMs);
    timer_.setProperty("timerId", TimerId::ProgramStatus);
    connect(&timer_, &QTimer::timeout, this, &CProgramStatusBar::Refresh);
    if (devices_) timer_.start();
}

CLevelBar* CProgramStatusBar::AddBar(int id, double maximum, const QString& unit, int decimals) {
    auto* bar = new CLevelBar(maximum, unit, decimals, this);
    bar->setProperty("controlId", id);
    bars_.insert(id, bar);
    return bar;
}

QString CProgramStatusBar::Text(int controlId) const {
    const QLabel* label = texts_.value(controlId);
    return label ? label->text() : QString();
}

void CProgramStatusBar::SetPidHexDisplay(bool hex) {
    pidHex_ = hex;
    ShowPids();
}

void CProgramStatusBar::ShowPids() {
    if (videoPid_) texts_[VideoPidText]->setText(BarRules::PidText(*videoPid_, pidHex_));
    if (audioPid_) texts_[AudioPidText]->setText(BarRules::PidText(*audioPid_, pidHex_));
}

void CProgramStatusBar::Refresh() {
    if (!devices_) return;
    const auto signal = devices_->zGetSignal(SignalRequest);
    if (signal.result.Ok()) signal_ = signal.record;
    if (signal.Good()) {
        bars_[QualityBar]->SetValue(signal_.quality);
        bars_[StrengthBar]->SetValue(BarRules::StrengthDb(signal_.strengthTenths));
        const BarRules::AfcBar afc = BarRules::Afc(signal_.afc);
        if (afc.redToGreen)
            bars_[AfcBar]->SetColours(CLevelBar::Red, CLevelBar::Green);
        else
            bars_[AfcBar]->SetColours(CLevelBar::Green, CLevelBar::Red);
        bars_[AfcBar]->SetValue(double(afc.value));
    }

    const auto channel = devices_->zGetChannel();
    if (channel.result.Ok()) channel_ = channel.record;
    if (channel.Good()) {
        texts_[FrequencyText]->setText(BarRules::FrequencyText(channel_.frequency));
        texts_[PolarisationText]->setText(BarRules::PolarisationText(channel_.polarisation));
        texts_[SymbolRateText]->setText(BarRules::SymbolRateText(channel_.symbolRate));
        bars_[ErrorRateBar]->SetValue(
            BarRules::ErrorRatePercent(signal_.berMantissa, signal_.berExponent));
    }

    std::uint16_t pid = 0;
    if (devices_->GetVideoPID(pid).Ok()) videoPid_ = pid;
    if (devices_->GetAudioPid(pid).Ok()) audioPid_ = pid;
    ShowPids();
    std::uint8_t fill = 0;
    if (devices_->GetAudioBufferStatus(fill).Ok()) bars_[AudioBufferBar]->SetValue(fill);
}
