#include "tv/bars/CSystemInfoDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "tv/bars/BarsTexts.h"
#include "tv/bars/SystemInfoRows.h"

namespace {
void Fill(QTableWidget& list, const std::vector<SystemInfoRows::Row>& rows) {
    list.setRowCount(int(rows.size()));
    for (int row = 0; row < int(rows.size()); ++row) {
        list.setItem(row, 0, new QTableWidgetItem(rows[std::size_t(row)].first));
        list.setItem(row, 1, new QTableWidgetItem(rows[std::size_t(row)].second));
    }
}
}  // namespace

CSystemInfoDialog::CSystemInfoDialog(IDeviceSet* devices, QWidget* parent, ClockMeasure measure)
    : QDialog(parent), general_(MakeList(GeneralList)), card_(MakeList(CardList)) {
    setWindowTitle(BarsTexts::SystemInfoTitle);
    auto* layout = new QVBoxLayout(this);
    for (const auto& [title, list] :
         {std::pair{BarsTexts::GeneralBox, general_}, std::pair{BarsTexts::DvbBox, card_}}) {
        auto* box = new QGroupBox(title, this);
        auto* inner = new QVBoxLayout(box);
        inner->addWidget(list);
        layout->addWidget(box);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    buttons->button(QDialogButtonBox::Ok)->setFocus();

    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize();
    auto rows = SystemInfoRows::GeneralRows(size.width(), size.height());
    clockRow_ = int(rows.size());
    rows.emplace_back(BarsTexts::Clock, BarsTexts::ClockMeasuring);
    Fill(*general_, rows);
    if (devices) Fill(*card_, SystemInfoRows::CardRows(*devices));
    for (QTableWidget* list : {general_, card_}) {
        list->resizeColumnToContents(0);
        list->setColumnWidth(0, std::max(110, list->columnWidth(0)));
        list->resizeColumnToContents(1);
        list->setColumnWidth(1, std::max(200, list->columnWidth(1)));
        list->setMinimumWidth(list->columnWidth(0) + list->columnWidth(1) + 24);
        // Tall enough for its rows (at least three), so that nothing needs scrolling.
        const int rows = std::max(3, list->rowCount());
        list->setMinimumHeight(list->horizontalHeader()->sizeHint().height() +
                               rows * list->verticalHeader()->defaultSectionSize() +
                               2 * list->frameWidth() + 2);
    }

    if (!measure) measure = &SystemInfoRows::MeasureTicksPerSecond;
    worker_ = std::jthread([this, measure = std::move(measure)](std::stop_token stop) {
        const auto ticks = measure(stop);
        if (stop.stop_requested()) return;
        QMetaObject::invokeMethod(
            this, [this, ticks] { ShowClock(ticks); }, Qt::QueuedConnection);
    });
}

CSystemInfoDialog::~CSystemInfoDialog() {
    worker_.request_stop();
    if (worker_.joinable()) worker_.join();
}

QTableWidget* CSystemInfoDialog::MakeList(int id) {
    auto* list = new QTableWidget(0, 2, this);
    list->setProperty("controlId", id);
    list->setHorizontalHeaderLabels({BarsTexts::TypeColumn, BarsTexts::ValueColumn});
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list->horizontalHeader()->setStretchLastSection(true);
    list->setColumnWidth(0, 110);
    list->setColumnWidth(1, 200);
    list->verticalHeader()->hide();
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 4);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setShowGrid(false);
    list->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    return list;
}

void CSystemInfoDialog::ShowClock(std::optional<std::uint64_t> ticks) {
    general_->item(clockRow_, 1)
        ->setText(ticks ? SystemInfoRows::ClockText(*ticks) : BarsTexts::ClockUnknown);
    general_->resizeColumnToContents(1);
    clockShown_ = true;
    emit clockMeasured();
}
