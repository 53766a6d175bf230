#pragma once
// "Programm bearbeiten": edits one program of the channel list in place.
//
// OK writes the edits into the record and returns QDialog::Accepted from exec()
// (and emits documentModified()); the caller then marks the document modified.
// Cancel writes nothing. "LNB-Parameter" opens the LNB dialog on the list's LNB
// of the name the program had when the dialog opened; "Streams" opens the
// stream dialog on the same program.
#include <QHash>
#include <QString>
#include <functional>
#include <span>
#include <string>

#include "channellist/dialogs/CFadeOutDialog.h"
#include "channellist/dialogs/DialogOptions.h"

class CProgramInfo;
class CLnb;
class CLnbTable;
class QComboBox;
class QLineEdit;
class QSettings;

class CProgramDialog : public CFadeOutDialog {
    Q_OBJECT
  public:
    /// Object names of the controls are these numbers.
    enum Control {
        IdProgramNumber = 1017,
        IdName = 1019,
        IdProvider = 1021,
        IdFrontendType = 1199,
        IdLnbName = 1073,
        IdFrequency = 1037,
        IdSymbolRate = 1040,
        IdPolarisation = 1197,
        IdProgramType = 1201,
        IdEncrypted = 1202,
        IdTransportStreamId = 1026,
        IdNetworkId = 1028,
        IdOriginalNetworkId = 1031,
        IdServiceId = 1034,
        IdPcrPid = 1222,
        IdPmtPid = 1225,
        IdVideoPid = 1227,
        IdAudioPid = 1230,
        IdTeletextPid = 1056,
        IdLnbButton = 1066,
        IdStreamsButton = 1071,
    };

    /// `lnbs` is the list's LNB table (may be null: then "LNB-Parameter" does
    /// nothing); `programNumber` is the 1-based position shown, not stored.
    CProgramDialog(CProgramInfo& program, CLnbTable* lnbs, int programNumber, DialogOptions options,
                   StreamSwitch streamSwitch = {}, QWidget* parent = nullptr);

    /// Shows the dialog modally; true when it was closed with OK.
    static bool Edit(CProgramInfo& program, CLnbTable* lnbs, int programNumber,
                     DialogOptions options, StreamSwitch streamSwitch = {},
                     QWidget* parent = nullptr);

    /// Where "not a whole number" messages go; a German message box by default.
    void SetMessageHandler(std::function<void(const QString&)> handler);
    /// Where the stream dialog keeps its list layout; null: the settings store.
    void SetLayoutStore(QSettings* store) { layoutStore_ = store; }

    /// The LNB that "LNB-Parameter" opens, or null when the list has none of
    /// the name the program had when the dialog opened.
    CLnb* LnbForButton() const;

    void accept() override;

  signals:
    void documentModified();

  protected:
    /// Opens the sub-dialogs; virtual so that the buttons can be observed.
    virtual void OpenLnbDialog(CLnb& lnb);
    virtual void OpenStreamsDialog();

  private:
    void BuildUi();
    QWidget* BuildProgramBox();
    QWidget* BuildGeneralBox();
    QWidget* BuildIdBox();
    QWidget* BuildPidBox();
    QLayout* BuildButtons();
    QLineEdit* NewEdit(int id, bool hexFilter);
    QComboBox* NewCombo(int id, std::span<const char* const> entries);
    void Fill();
    void WriteBack();
    bool ReadWholeNumber(int id, std::int32_t& field);
    bool ReadText(int id, std::string& field);
    void ReadCombo(int id, std::int32_t& field);
    QLineEdit* Edit(int id) const;
    QComboBox* Combo(int id) const;
    void OnLnbButton();

    CProgramInfo& program_;
    CLnbTable* lnbs_;
    int programNumber_;
    DialogOptions options_;
    StreamSwitch streamSwitch_;
    std::string lnbNameAtOpen_;
    QHash<int, QString> shownTexts_;  // text edits as filled, to spot real edits
    std::function<void(const QString&)> message_;
    QSettings* layoutStore_ = nullptr;
};
