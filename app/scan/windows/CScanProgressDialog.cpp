#include "scan/windows/CScanProgressDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "channellist/Windows1252.h"
#include "scan/CScanRun.h"
#include "scan/windows/ScanChoices.h"
#include "scan/windows/ScanWindowTexts.h"

CScanProgressDialog::CScanProgressDialog(CScanRun& run, QWidget* parent, int periodMs)
    : QDialog(parent), run_(run) {
    setWindowTitle(ScanWindowTexts::ProgressTitle);
    setObjectName(QStringLiteral("ScanProgressDialog"));
    auto* layout = new QVBoxLayout(this);
    transponder_ = new QLabel(this);
    state_ = new QLabel(this);
    bar_ = new QProgressBar(this);
    found_ = new QLabel(this);
    names_ = new QListWidget(this);
    names_->setMinimumSize(360, 160);
    for (QWidget* w : std::initializer_list<QWidget*>{transponder_, state_, bar_, found_, names_})
        layout->addWidget(w);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(ScanWindowTexts::Cancel, QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::rejected, this, &CScanProgressDialog::reject);
    layout->addWidget(buttons);

    timer_.setInterval(periodMs);
    connect(&timer_, &QTimer::timeout, this, &CScanProgressDialog::Tick);
    clock_.start();
    Refresh();
}

void CScanProgressDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    timer_.start();
}

void CScanProgressDialog::Tick() {
    run_.Step(std::uint64_t(clock_.elapsed()));
    Refresh();
    if (!run_.Done()) return;
    timer_.stop();
    QDialog::accept();
}

void CScanProgressDialog::reject() {
    timer_.stop();
    run_.Cancel();
    Refresh();
    QDialog::reject();
}

void CScanProgressDialog::Refresh() {
    const int count = run_.Count();
    const int index = run_.CurrentIndex();
    if (index < count)
        transponder_->setText(ScanWindowTexts::TransponderOf.arg(index + 1).arg(count).arg(
            ScanChoices::DisplayText(run_.Transponders()[std::size_t(index)])));
    else
        transponder_->setText(ScanWindowTexts::Finished);
    state_->setText(QString::fromStdString(run_.StateText()));
    bar_->setRange(0, count);
    bar_->setValue(std::min(index, count));
    const auto& found = run_.Found();
    found_->setText(ScanWindowTexts::FoundSoFar.arg(found.size()));
    for (std::size_t i = std::size_t(names_->count()); i < found.size(); ++i)
        names_->addItem(QString::fromStdString(Windows1252ToUtf8(found[i].Name)));
    if (names_->count() > 0) names_->scrollToBottom();
}

QString CScanProgressDialog::TransponderLine() const { return transponder_->text(); }
QString CScanProgressDialog::StateLine() const { return state_->text(); }
QString CScanProgressDialog::FoundLine() const { return found_->text(); }
int CScanProgressDialog::ProgressValue() const { return bar_->value(); }
int CScanProgressDialog::ProgressMaximum() const { return bar_->maximum(); }

QStringList CScanProgressDialog::FoundNames() const {
    QStringList names;
    for (int i = 0; i < names_->count(); ++i) names << names_->item(i)->text();
    return names;
}
