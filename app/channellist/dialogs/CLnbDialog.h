#pragma once
// "LNB-Einstellungen": edits one LNB of the list's LNB table in place.
//
// Frequencies are edited in whole MHz; the oscillator lists select the first
// entry whose text begins with the stored value in MHz. OK writes every field
// (a list without a selection, or an edit that holds no whole number, leaves its
// field as it was). The record is shared by every program naming the LNB. OK
// does not mark the document: the program dialog's OK does.
//
// For a "KU-Band Universal LNB" the tuner switches the 22 kHz tone by frequency,
// so "22Khz Signal Ein:" is disabled while that type is chosen; its stored value
// is kept.
#include <cstdint>
#include <functional>
#include <span>

#include "channellist/dialogs/CFadeOutDialog.h"
#include "channellist/dialogs/DialogOptions.h"
#include "channellist/dialogs/FieldRules.h"

class CLnb;
class QComboBox;
class QLineEdit;

class CLnbDialog : public CFadeOutDialog {
    Q_OBJECT
  public:
    enum Control {
        IdType = 1185,
        IdLowFrequency = 1061,
        IdHighFrequency = 1070,
        IdSwitchFrequency = 1148,
        IdLowBandLof = 1195,
        IdHighBandLof = 1196,
        IdCBand = 1188,
        IdPowerOn = 1191,
        IdTone22kHz = 1192,
        IdDiseqcType = 1193,
        IdDiseqcParameter = 1194,
        IdDiseqcRepeat = 1093,
    };
    static constexpr int UniversalLnbType = 3;

    CLnbDialog(CLnb& lnb, DialogOptions options, QWidget* parent = nullptr);

    /// Where "not a whole number" messages go; a German message box by default.
    void SetMessageHandler(std::function<void(const QString&)> handler);

    void accept() override;

  private:
    void BuildUi();
    QLineEdit* NewEdit(int id);
    QComboBox* NewCombo(int id, std::span<const char* const> entries);
    QComboBox* NewLofCombo(int id, std::span<const FieldRules::LofEntry> entries);
    void Fill();
    void WriteBack();
    void ReadCombo(int id, std::int32_t& field);
    bool ReadMHz(int id, std::int32_t& field);
    void UpdateTypeDependentFields();
    QLineEdit* Edit(int id) const;
    QComboBox* Combo(int id) const;

    CLnb& lnb_;
    std::function<void(const QString&)> message_;
};
