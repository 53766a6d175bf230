#include "scan/windows/CScanDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "channellist/CSVLFile.h"
#include "channellist/Windows1252.h"
#include "scan/windows/ScanWindowTexts.h"

namespace {
constexpr int kCableEntry = -1;  // data of the reception entry "Kabel"
constexpr int kQamOrders[] = {16, 32, 64, 128, 256};
}  // namespace

CScanDialog::CScanDialog(const CSVLFile& list, bool satellite, bool cable, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(ScanWindowTexts::Caption);
    setObjectName(QStringLiteral("ScanDialog"));
    setMinimumWidth(380);
    auto* layout = new QVBoxLayout(this);
    BuildReception(list, satellite, cable);
    auto* receptionBox = new QGroupBox(ScanWindowTexts::Reception, this);
    auto* receptionLayout = new QFormLayout(receptionBox);
    receptionLayout->addRow(ScanWindowTexts::LnbLabel, reception_);
    layout->addWidget(receptionBox);
    layout->addWidget(BuildSources());

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* start = buttons->addButton(ScanWindowTexts::Start, QDialogButtonBox::AcceptRole);
    start->setObjectName(QStringLiteral("Start"));
    start->setDefault(true);
    buttons->addButton(ScanWindowTexts::Cancel, QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CScanDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CScanDialog::reject);
    layout->addWidget(buttons);

    showError_ = [this](const QString& text) {
        QMessageBox::warning(this, ScanWindowTexts::Caption, text);
    };
    chooseFile_ = [this] {
        return QFileDialog::getOpenFileName(this, ScanWindowTexts::FromFile, file_->text(),
                                            ScanWindowTexts::FileFilter);
    };
    UpdateEnabled();
}

void CScanDialog::BuildReception(const CSVLFile& list, bool satellite, bool cable) {
    reception_ = new QComboBox(this);
    reception_->setObjectName(QStringLiteral("Reception"));
    if (satellite)
        for (const CLnbTable::Entry& entry : list.Lnbs.Entries())
            reception_->addItem(QString::fromStdString(Windows1252ToUtf8(entry.key)),
                                QByteArray::fromStdString(entry.key));
    if (cable) reception_->addItem(ScanWindowTexts::Cable, kCableEntry);
    connect(reception_, &QComboBox::currentIndexChanged, this, &CScanDialog::UpdateEnabled);
}

QWidget* CScanDialog::BuildSources() {
    auto* box = new QGroupBox(ScanWindowTexts::Source, this);
    auto* layout = new QVBoxLayout(box);
    sources_ = new QButtonGroup(this);
    const auto radio = [&](const QString& text, const char* name, ScanSource source) {
        auto* button = new QRadioButton(text, box);
        button->setObjectName(QString::fromLatin1(name));
        sources_->addButton(button, int(source));
        layout->addWidget(button);
        return button;
    };
    fromList_ = radio(ScanWindowTexts::FromList, "FromList", ScanSource::ListTransponders);
    fromNit_ = radio(ScanWindowTexts::FromNit, "FromNit", ScanSource::TunedNit);
    fromFile_ = radio(ScanWindowTexts::FromFile, "FromFile", ScanSource::TransponderFile);
    auto* fileRow = new QHBoxLayout;
    file_ = new QLineEdit(box);
    file_->setObjectName(QStringLiteral("File"));
    browse_ = new QPushButton(ScanWindowTexts::Browse, box);
    browse_->setObjectName(QStringLiteral("Browse"));
    fileRow->addSpacing(20);
    fileRow->addWidget(file_, 1);
    fileRow->addWidget(browse_);
    layout->addLayout(fileRow);
    fromCable_ = radio(ScanWindowTexts::FromCable, "FromCable", ScanSource::CableChannels);
    auto* cableRow = new QFormLayout;
    qam_ = new QComboBox(box);
    qam_->setObjectName(QStringLiteral("Qam"));
    for (int order : kQamOrders) qam_->addItem(QStringLiteral("QAM%1").arg(order), order);
    qam_->setCurrentIndex(2);
    symbolRate_ = new QSpinBox(box);
    symbolRate_->setObjectName(QStringLiteral("SymbolRate"));
    symbolRate_->setRange(1000, 7200);
    symbolRate_->setValue(6900);
    cableRow->addRow(ScanWindowTexts::Modulation, qam_);
    cableRow->addRow(ScanWindowTexts::SymbolRate, symbolRate_);
    cableRow->setContentsMargins(20, 0, 0, 0);
    layout->addLayout(cableRow);
    fromList_->setChecked(true);
    connect(sources_, &QButtonGroup::idClicked, this, &CScanDialog::UpdateEnabled);
    connect(browse_, &QPushButton::clicked, this, &CScanDialog::ChooseFile);
    return box;
}

bool CScanDialog::CableChosen() const {
    return reception_->currentData().typeId() == QMetaType::Int;
}

// The sources of the other kind of reception are not on offer; a choice
// among them moves to the first that is.
void CScanDialog::UpdateEnabled() {
    const bool cable = CableChosen();
    const bool any = reception_->count() > 0;
    for (QRadioButton* button : {fromList_, fromNit_, fromFile_}) button->setEnabled(any && !cable);
    fromCable_->setEnabled(cable);
    if (cable && !fromCable_->isChecked()) fromCable_->setChecked(true);
    if (!cable && fromCable_->isChecked()) fromList_->setChecked(true);
    const bool file = fromFile_->isChecked() && fromFile_->isEnabled();
    file_->setEnabled(file);
    browse_->setEnabled(file);
    qam_->setEnabled(cable);
    symbolRate_->setEnabled(cable);
}

void CScanDialog::ChooseFile() {
    const QString path = chooseFile_ ? chooseFile_() : QString();
    if (!path.isEmpty()) file_->setText(path);
}

ScanChoice CScanDialog::Choice() const {
    ScanChoice choice;
    choice.cable = CableChosen();
    if (!choice.cable) choice.lnbName = reception_->currentData().toByteArray().toStdString();
    choice.source = ScanSource(sources_->checkedId());
    choice.transponderFile = file_->text().trimmed();
    choice.qam = qam_->currentData().toInt();
    choice.symbolRate = std::uint32_t(symbolRate_->value()) * 1000;
    return choice;
}

void CScanDialog::SetChoice(const ScanChoice& choice) {
    const int entry = choice.cable
                          ? reception_->findData(kCableEntry)
                          : reception_->findData(QByteArray::fromStdString(choice.lnbName));
    if (entry >= 0) reception_->setCurrentIndex(entry);
    if (QAbstractButton* button = sources_->button(int(choice.source))) button->setChecked(true);
    file_->setText(choice.transponderFile);
    if (const int qam = qam_->findData(choice.qam); qam >= 0) qam_->setCurrentIndex(qam);
    symbolRate_->setValue(int(choice.symbolRate / 1000));
    UpdateEnabled();
}

void CScanDialog::accept() {
    QString error;
    if (check_ && !check_(Choice(), error)) {
        if (showError_) showError_(error);
        return;
    }
    QDialog::accept();
}
