#include "channellist/dialogs/CLnbDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "channellist/CLnb.h"
#include "channellist/dialogs/DialogTexts.h"

namespace T = DialogTexts;

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// The plain index lists and their fields.
struct ComboField {
    int id;
    std::int32_t CLnb::*field;
    int count;
};
constexpr ComboField kComboFields[] = {
    {CLnbDialog::IdType, &CLnb::LnbType, int(T::LnbTypes.size())},
    {CLnbDialog::IdCBand, &CLnb::CBand, int(T::NoYes.size())},
    {CLnbDialog::IdPowerOn, &CLnb::PowerOn, int(T::NoYes.size())},
    {CLnbDialog::IdTone22kHz, &CLnb::Tone22kHz, int(T::NoYes.size())},
    {CLnbDialog::IdDiseqcType, &CLnb::DiseqcType, int(T::DiseqcTypes.size())},
    {CLnbDialog::IdDiseqcParameter, &CLnb::DiseqcParameter, int(T::DiseqcPositions.size())},
};

struct MHzField {
    int id;
    std::int32_t CLnb::*field;
};
constexpr MHzField kMHzFields[] = {
    {CLnbDialog::IdLowFrequency, &CLnb::LowFrequency},
    {CLnbDialog::IdHighFrequency, &CLnb::HighFrequency},
    {CLnbDialog::IdSwitchFrequency, &CLnb::SwitchFrequency},
};

}  // namespace

CLnbDialog::CLnbDialog(CLnb& lnb, DialogOptions options, QWidget* parent)
    : CFadeOutDialog(options.fadeOutOff, parent), lnb_(lnb) {
    message_ = [this](const QString& text) {
        QMessageBox box(QMessageBox::Warning, U(T::MessageCaption), text, QMessageBox::Ok, this);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        box.exec();
    };
    setWindowTitle(U(T::LnbTitle));
    BuildUi();
    Fill();
    connect(Combo(IdType), &QComboBox::currentIndexChanged, this,
            &CLnbDialog::UpdateTypeDependentFields);
}

void CLnbDialog::SetMessageHandler(std::function<void(const QString&)> handler) {
    message_ = std::move(handler);
}

QLineEdit* CLnbDialog::NewEdit(int id) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::number(id));
    return edit;
}

QComboBox* CLnbDialog::NewCombo(int id, std::span<const char* const> entries) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::number(id));
    for (const char* e : entries) combo->addItem(U(e));
    return combo;
}

QComboBox* CLnbDialog::NewLofCombo(int id, std::span<const FieldRules::LofEntry> entries) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::number(id));
    for (const auto& e : entries) combo->addItem(U(e.text), QVariant::fromValue(e.kHz));
    return combo;
}

void CLnbDialog::BuildUi() {
    auto* box = new QGroupBox(U(T::BoxProperties), this);
    auto* form = new QFormLayout(box);
    form->addRow(U(T::LnbType), NewCombo(IdType, T::LnbTypes));
    form->addRow(U(T::LowFrequency), NewEdit(IdLowFrequency));
    form->addRow(U(T::HighFrequency), NewEdit(IdHighFrequency));
    form->addRow(U(T::SwitchFrequency), NewEdit(IdSwitchFrequency));
    form->addRow(U(T::LowBandLof), NewLofCombo(IdLowBandLof, FieldRules::LowBandLofEntries()));
    form->addRow(U(T::HighBandLof), NewLofCombo(IdHighBandLof, FieldRules::HighBandLofEntries()));
    form->addRow(U(T::CBand), NewCombo(IdCBand, T::NoYes));
    form->addRow(U(T::PowerOn), NewCombo(IdPowerOn, T::NoYes));
    form->addRow(U(T::Tone22kHz), NewCombo(IdTone22kHz, T::NoYes));
    form->addRow(U(T::DiseqcType), NewCombo(IdDiseqcType, T::DiseqcTypes));
    form->addRow(U(T::DiseqcParameter), NewCombo(IdDiseqcParameter, T::DiseqcPositions));
    form->addRow(U(T::DiseqcRepeat), NewEdit(IdDiseqcRepeat));

    LayOutWithOkCancel(box)->setSizeConstraint(QLayout::SetFixedSize);
}

QLineEdit* CLnbDialog::Edit(int id) const { return findChild<QLineEdit*>(QString::number(id)); }

QComboBox* CLnbDialog::Combo(int id) const { return findChild<QComboBox*>(QString::number(id)); }

void CLnbDialog::Fill() {
    for (const ComboField& f : kComboFields)
        Combo(f.id)->setCurrentIndex(FieldRules::ComboIndex(lnb_.*f.field, f.count));
    for (const MHzField& f : kMHzFields)
        Edit(f.id)->setText(QString::fromStdString(FieldRules::FormatMHz(lnb_.*f.field)));
    Edit(IdDiseqcRepeat)->setText(QString::number(lnb_.DiseqcRepeat));
    Combo(IdLowBandLof)
        ->setCurrentIndex(FieldRules::LofIndex(FieldRules::LowBandLofEntries(), lnb_.LowBandLof));
    Combo(IdHighBandLof)
        ->setCurrentIndex(FieldRules::LofIndex(FieldRules::HighBandLofEntries(), lnb_.HighBandLof));
    UpdateTypeDependentFields();
}

void CLnbDialog::UpdateTypeDependentFields() {
    Combo(IdTone22kHz)->setEnabled(Combo(IdType)->currentIndex() != UniversalLnbType);
}

void CLnbDialog::ReadCombo(int id, std::int32_t& field) {
    const int index = Combo(id)->currentIndex();
    if (index >= 0) field = index;
}

bool CLnbDialog::ReadMHz(int id, std::int32_t& field) {
    const auto kHz = FieldRules::ParseMHz(Edit(id)->text().toStdString());
    if (kHz) field = *kHz;
    return kHz.has_value();
}

void CLnbDialog::WriteBack() {
    for (const ComboField& f : kComboFields) ReadCombo(f.id, lnb_.*f.field);
    bool numbersOk = true;
    for (const MHzField& f : kMHzFields) numbersOk = ReadMHz(f.id, lnb_.*f.field) && numbersOk;
    for (int id : {int(IdLowBandLof), int(IdHighBandLof)}) {
        QComboBox* combo = Combo(id);
        if (combo->currentIndex() < 0) continue;
        std::int32_t& field = id == IdLowBandLof ? lnb_.LowBandLof : lnb_.HighBandLof;
        field = combo->currentData().value<std::int32_t>();
    }
    const auto repeat = FieldRules::ParseWholeNumber(Edit(IdDiseqcRepeat)->text().toStdString());
    if (repeat) lnb_.DiseqcRepeat = *repeat;
    // One message for all edits that kept their old value; the dialog closes anyway.
    if ((!repeat || !numbersOk) && message_) message_(U(T::NotAWholeNumber));
}

void CLnbDialog::accept() {
    if (IsClosing()) return;
    WriteBack();
    CFadeOutDialog::accept();
}
