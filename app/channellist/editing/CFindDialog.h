#pragma once
#include <QDialog>

#include "channellist/editing/CProgramFinder.h"

class CListEditor;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

/// The find dialog "Suchen": "Suchen" starts at the first (or, upwards, the last) row,
/// "&Weitersuchen" goes on next to the selected row. It stays open until "Abbrechen".
class CFindDialog : public QDialog {
    Q_OBJECT
  public:
    CFindDialog(CListEditor& editor, QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);
    bool MatchCase() const;
    void SetMatchCase(bool on);
    CProgramFinder::Direction Direction() const;
    void SetDirection(CProgramFinder::Direction direction);

    QPushButton* FindButton() const { return find_; }
    QPushButton* FindNextButton() const { return findNext_; }

  private:
    void BuildLayout();
    void Search(bool fromStart);

    CProgramFinder finder_;
    QLineEdit* text_;
    QCheckBox* matchCase_;
    QRadioButton* up_;
    QRadioButton* down_;
    QPushButton* find_;
    QPushButton* findNext_;
    QPushButton* cancel_;
};
