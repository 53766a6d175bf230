#pragma once
#include <QDialog>

#include "channellist/editing/CReplaceSession.h"
#include "channellist/editing/ReplaceOptions.h"

class CListEditor;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSettings;

/// The replace dialog "Ersetzen". A thin face over CReplaceSession: it reads its fields
/// from the settings when it opens and writes them back when it is cancelled or closed.
class CReplaceDialog : public QDialog {
    Q_OBJECT
  public:
    CReplaceDialog(CListEditor& editor, QSettings& settings, QWidget* parent = nullptr);

    /// Opens the dialog modally; without a list shows "Fehler bei der Übergabe der
    /// Parameter" instead. Returns false in that case.
    static bool Run(CListEditor& editor, QSettings& settings, QWidget* parent = nullptr);

    ReplaceRequest Request() const;
    void SetRequest(const ReplaceRequest& request);
    CReplaceSession& Session() { return session_; }

    QPushButton* FindNextButton() const { return findNext_; }
    QPushButton* ReplaceButton() const { return replace_; }
    QPushButton* ReplaceAllButton() const { return replaceAll_; }
    QPushButton* CancelButton() const { return cancel_; }

  public slots:
    void reject() override;

  private:
    void BuildLayout();

    CReplaceSession session_;
    QSettings& settings_;
    QLineEdit* search_;
    QLineEdit* replacement_;
    QRadioButton* selection_;
    QRadioButton* wholeList_;
    QCheckBox* allColumns_;
    QCheckBox* programName_;
    QCheckBox* providerName_;
    QCheckBox* lnbName_;
    QCheckBox* matchCase_;
    QPushButton* findNext_;
    QPushButton* replace_;
    QPushButton* replaceAll_;
    QPushButton* cancel_;
};
