#include "tv/bars/CDecoderStatusBar.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "common/CommandIds.h"
#include "receiver/IDeviceSet.h"
#include "tv/bars/BarRules.h"
#include "tv/bars/BarsTexts.h"

CDecoderStatusBar::CDecoderStatusBar(IDeviceSet* devices, QWidget* parent)
    : QWidget(parent), devices_(devices), list_(new QTableWidget(0, 2, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    auto* box = new QGroupBox(BarsTexts::DecoderBox, this);
    auto* inner = new QVBoxLayout(box);
    inner->setContentsMargins(4, 2, 4, 4);
    inner->addWidget(list_);
    layout->addWidget(box);

    list_->setProperty("controlId", StatusList);
    list_->setHorizontalHeaderLabels({BarsTexts::TypeColumn, BarsTexts::ValueColumn});
    // At least the list's own widths (60 and 80), wide enough for the longest texts.
    const QFontMetrics metrics = list_->fontMetrics();
    list_->setColumnWidth(0, std::max(60, metrics.horizontalAdvance(BarsTexts::Repeated) + 12));
    list_->setColumnWidth(
        1, std::max(80, metrics.horizontalAdvance(QStringLiteral("99.999 MBit/s")) + 12));
    list_->horizontalHeader()->setStretchLastSection(true);
    // Both columns always in view: the bar is as wide as the list needs.
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    list_->setMinimumWidth(list_->columnWidth(0) + list_->columnWidth(1) + 2 * list_->frameWidth() +
                           2);
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 4);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);

    timer_.setInterval(TimerId::DecoderStatusPeriodMs);
    timer_.setProperty("timerId", TimerId::DecoderStatus);
    connect(&timer_, &QTimer::timeout, this, &CDecoderStatusBar::Refresh);
    if (devices_) timer_.start();
}

void CDecoderStatusBar::Refresh() {
    if (!devices_) return;
    const DecoderState state = devices_->GetDecoderStatus();
    if (!state.result.Ok()) return;
    const auto rows = BarRules::DecoderRows(state);
    list_->setRowCount(int(rows.size()));
    for (int row = 0; row < int(rows.size()); ++row) {
        list_->setItem(row, 0, new QTableWidgetItem(rows[std::size_t(row)].first));
        list_->setItem(row, 1, new QTableWidgetItem(rows[std::size_t(row)].second));
    }
}
