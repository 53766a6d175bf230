#include "channellist/dialogs/CProgramDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <climits>

#include "channellist/CLnbTable.h"
#include "channellist/CProgramInfo.h"
#include "channellist/dialogs/CHexCharValidator.h"
#include "channellist/dialogs/CLnbDialog.h"
#include "channellist/dialogs/CStreamsDialog.h"
#include "channellist/dialogs/DialogTexts.h"
#include "channellist/dialogs/FieldRules.h"
#include "channellist/dialogs/QtCp1252.h"

namespace T = DialogTexts;

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// The ID and PID edits with their fields, in the order they are filled.
struct IdField {
    int id;
    std::uint16_t CProgramInfo::*field;
};
constexpr IdField kIdFields[] = {
    {CProgramDialog::IdTransportStreamId, &CProgramInfo::TransportStreamId},
    {CProgramDialog::IdNetworkId, &CProgramInfo::NetworkId},
    {CProgramDialog::IdOriginalNetworkId, &CProgramInfo::OriginalNetworkId},
    {CProgramDialog::IdServiceId, &CProgramInfo::ServiceId},
    {CProgramDialog::IdPcrPid, &CProgramInfo::PcrPid},
    {CProgramDialog::IdPmtPid, &CProgramInfo::PmtPid},
    {CProgramDialog::IdAudioPid, &CProgramInfo::AudioPid},
    {CProgramDialog::IdVideoPid, &CProgramInfo::VideoPid},
    {CProgramDialog::IdTeletextPid, &CProgramInfo::TeletextPid},
};

void ShowMessageBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, U(T::MessageCaption), text, QMessageBox::Ok, parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

}  // namespace

CProgramDialog::CProgramDialog(CProgramInfo& program, CLnbTable* lnbs, int programNumber,
                               DialogOptions options, StreamSwitch streamSwitch, QWidget* parent)
    : CFadeOutDialog(options.fadeOutOff, parent),
      program_(program),
      lnbs_(lnbs),
      programNumber_(programNumber),
      options_(options),
      streamSwitch_(std::move(streamSwitch)),
      lnbNameAtOpen_(program.LnbName),
      message_([this](const QString& text) { ShowMessageBox(this, text); }) {
    setWindowTitle(U(T::ProgramTitle));
    BuildUi();
    Fill();
}

bool CProgramDialog::Edit(CProgramInfo& program, CLnbTable* lnbs, int programNumber,
                          DialogOptions options, StreamSwitch streamSwitch, QWidget* parent) {
    CProgramDialog dialog(program, lnbs, programNumber, options, std::move(streamSwitch), parent);
    return dialog.exec() == QDialog::Accepted;
}

void CProgramDialog::SetMessageHandler(std::function<void(const QString&)> handler) {
    message_ = std::move(handler);
}

// ---- layout -------------------------------------------------------------------------

QLineEdit* CProgramDialog::NewEdit(int id, bool hexFilter) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::number(id));
    edit->setMaxLength(INT_MAX);
    if (hexFilter) edit->setValidator(new CHexCharValidator(edit));
    return edit;
}

QComboBox* CProgramDialog::NewCombo(int id, std::span<const char* const> entries) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::number(id));
    for (const char* e : entries) combo->addItem(U(e));
    return combo;
}

QWidget* CProgramDialog::BuildProgramBox() {
    auto* box = new QGroupBox(U(T::BoxProgram), this);
    auto* form = new QFormLayout(box);
    auto* number = NewEdit(IdProgramNumber, false);
    number->setReadOnly(true);
    form->addRow(U(T::ProgramNumber), number);
    form->addRow(U(T::ProgramName), NewEdit(IdName, false));
    form->addRow(U(T::ProviderName), NewEdit(IdProvider, false));
    form->addRow(U(T::ProgramType), NewCombo(IdProgramType, T::ProgramKinds));
    form->addRow(U(T::Encrypted), NewCombo(IdEncrypted, T::NoYes));
    return box;
}

QWidget* CProgramDialog::BuildGeneralBox() {
    auto* box = new QGroupBox(U(T::BoxGeneral), this);
    auto* form = new QFormLayout(box);
    form->addRow(U(T::FrontendType), NewCombo(IdFrontendType, T::FrontendTypes));
    form->addRow(U(T::LnbName), NewEdit(IdLnbName, false));
    form->addRow(U(T::Frequency), NewEdit(IdFrequency, false));
    form->addRow(U(T::SymbolRate), NewEdit(IdSymbolRate, true));
    form->addRow(U(T::Polarisation), NewCombo(IdPolarisation, T::Polarisations));
    return box;
}

QWidget* CProgramDialog::BuildIdBox() {
    auto* box = new QGroupBox(U(T::BoxIds), this);
    auto* form = new QFormLayout(box);
    form->addRow(U(T::TransportStreamId), NewEdit(IdTransportStreamId, true));
    form->addRow(U(T::NetworkId), NewEdit(IdNetworkId, false));
    form->addRow(U(T::OriginalNetworkId), NewEdit(IdOriginalNetworkId, false));
    form->addRow(U(T::ServiceId), NewEdit(IdServiceId, true));
    return box;
}

QWidget* CProgramDialog::BuildPidBox() {
    auto* box = new QGroupBox(U(T::BoxPids), this);
    auto* form = new QFormLayout(box);
    form->addRow(U(T::PcrPid), NewEdit(IdPcrPid, true));
    form->addRow(U(T::PmtPid), NewEdit(IdPmtPid, true));
    form->addRow(U(T::VideoPid), NewEdit(IdVideoPid, true));
    form->addRow(U(T::AudioPid), NewEdit(IdAudioPid, true));
    form->addRow(U(T::TeletextPid), NewEdit(IdTeletextPid, true));
    return box;
}

QLayout* CProgramDialog::BuildButtons() {
    auto* row = new QHBoxLayout;
    auto* lnb = new QPushButton(U(T::ButtonLnb), this);
    lnb->setObjectName(QString::number(IdLnbButton));
    lnb->setAutoDefault(false);
    auto* streams = new QPushButton(U(T::ButtonStreams), this);
    streams->setObjectName(QString::number(IdStreamsButton));
    streams->setAutoDefault(false);
    connect(lnb, &QPushButton::clicked, this, &CProgramDialog::OnLnbButton);
    connect(streams, &QPushButton::clicked, this, &CProgramDialog::OpenStreamsDialog);
    row->addWidget(lnb);
    row->addWidget(streams);
    row->addStretch(1);
    AddOkCancel(row);
    return row;
}

void CProgramDialog::BuildUi() {
    auto* grid = new QGridLayout(this);
    grid->addWidget(BuildProgramBox(), 0, 0);
    grid->addWidget(BuildGeneralBox(), 1, 0);
    grid->addWidget(BuildIdBox(), 0, 1);
    grid->addWidget(BuildPidBox(), 1, 1);
    grid->addLayout(BuildButtons(), 2, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

// ---- filling and writing back ------------------------------------------------------

QLineEdit* CProgramDialog::Edit(int id) const { return findChild<QLineEdit*>(QString::number(id)); }

QComboBox* CProgramDialog::Combo(int id) const {
    return findChild<QComboBox*>(QString::number(id));
}

void CProgramDialog::Fill() {
    Combo(IdFrontendType)
        ->setCurrentIndex(
            FieldRules::ComboIndex(program_.FrontendType, int(T::FrontendTypes.size())));
    Combo(IdProgramType)->setCurrentIndex(FieldRules::KindIndex(program_.ProgramType));
    Combo(IdPolarisation)->setCurrentIndex(FieldRules::ComboIndex(program_.PolarisationOrQam, 2));
    Combo(IdEncrypted)->setCurrentIndex(FieldRules::EncryptedIndex(program_.ProgramType));

    const auto setText = [this](int id, const QString& text) {
        Edit(id)->setText(text);
        shownTexts_[id] = Edit(id)->text();
    };
    setText(IdName, QStringFromCp1252(program_.Name));
    setText(IdProvider, QStringFromCp1252(program_.Provider));
    setText(IdLnbName, QStringFromCp1252(program_.LnbName));
    setText(IdFrequency, QString::number(program_.Frequency));
    setText(IdSymbolRate, QString::number(program_.SymbolRate));
    setText(IdProgramNumber, QString::number(programNumber_));
    for (const IdField& f : kIdFields) {
        const std::string text = FieldRules::FormatId(program_.*f.field, options_.pidHex);
        setText(f.id, QString::fromStdString(text));
    }
}

bool CProgramDialog::ReadText(int id, std::string& field) {
    // An untouched edit leaves the bytes exactly as they were.
    const QString text = Edit(id)->text();
    bool lossless = true;
    if (text != shownTexts_.value(id)) field = QStringToCp1252(text, &lossless);
    return lossless;
}

bool CProgramDialog::ReadWholeNumber(int id, std::int32_t& field) {
    const auto value = FieldRules::ParseWholeNumber(Edit(id)->text().toStdString());
    if (value) field = *value;
    return value.has_value();
}

void CProgramDialog::ReadCombo(int id, std::int32_t& field) {
    const int index = Combo(id)->currentIndex();
    if (index >= 0) field = index;
}

void CProgramDialog::WriteBack() {
    bool textsOk = ReadText(IdName, program_.Name);
    textsOk = ReadText(IdProvider, program_.Provider) && textsOk;
    textsOk = ReadText(IdLnbName, program_.LnbName) && textsOk;
    bool numbersOk = ReadWholeNumber(IdFrequency, program_.Frequency);
    numbersOk = ReadWholeNumber(IdSymbolRate, program_.SymbolRate) && numbersOk;
    for (const IdField& f : kIdFields)
        program_.*f.field = FieldRules::ParseId(Edit(f.id)->text().toStdString(), options_.pidHex);
    ReadCombo(IdFrontendType, program_.FrontendType);
    ReadCombo(IdPolarisation, program_.PolarisationOrQam);
    program_.ProgramType =
        FieldRules::ApplyKind(program_.ProgramType, Combo(IdProgramType)->currentIndex(),
                              Combo(IdEncrypted)->currentIndex());
    // One message for all edits that kept their old value; the dialog closes anyway.
    if (!numbersOk && message_) message_(U(T::NotAWholeNumber));
    if (!textsOk && message_) message_(U(T::CharactersReplaced));
}

void CProgramDialog::accept() {
    if (IsClosing()) return;
    WriteBack();
    emit documentModified();
    CFadeOutDialog::accept();
}

// ---- sub-dialogs ------------------------------------------------------------------------

CLnb* CProgramDialog::LnbForButton() const { return lnbs_ ? lnbs_->Find(lnbNameAtOpen_) : nullptr; }

void CProgramDialog::OnLnbButton() {
    if (CLnb* lnb = LnbForButton()) OpenLnbDialog(*lnb);
}

void CProgramDialog::OpenLnbDialog(CLnb& lnb) {
    CLnbDialog dialog(lnb, options_, this);
    dialog.SetMessageHandler(message_);
    dialog.exec();
}

void CProgramDialog::OpenStreamsDialog() {
    CStreamsDialog dialog(program_, options_, streamSwitch_, this, layoutStore_);
    dialog.exec();
}
