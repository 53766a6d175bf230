#pragma once
// The modeless dialog "CI-Menü": the module's menu, list or text as rows, the
// answer field "Eingabe:" and the key field "Keyeingabe:", each with its OK.
// A double click on a row sends that row's key. The keys go out through the
// callback; the dialog knows nothing of the card.
#include <QDialog>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "ci/CiMenu.h"

class QLineEdit;
class QListWidget;
class QPushButton;

class CCIMenuDialog : public QDialog {
    Q_OBJECT
  public:
    using SendKeys = std::function<void(const std::vector<std::uint8_t>& keys)>;

    CCIMenuDialog(SendKeys sendKeys, QWidget* parent);

    /// Shows the dialog with the one row "Warte auf CAM-Antwort Slot n...".
    void ShowWaiting(int slot);
    /// A module text (at least 4 bytes; shorter ones are ignored) as rows.
    void ShowModuleText(std::span<const std::uint8_t> message);
    /// The module closed its menu: no rows, the dialog hidden.
    void SwitchOff();
    /// The module waits for `answerLength` keys; a blind answer shows '*'.
    void SetInputRequest(bool blind, int answerLength);

    bool Blind() const { return blind_; }
    int AnswerLength() const { return answerLength_; }
    QListWidget* List() const { return list_; }
    QLineEdit* AnswerField() const { return answer_; }
    QLineEdit* KeyField() const { return keys_; }
    QPushButton* AnswerOk() const { return answerOk_; }
    QPushButton* KeyOk() const { return keysOk_; }
    QPushButton* CloseButton() const { return close_; }

  private:
    void BuildControls();
    void SetRows(std::vector<CiMenuRow> rows);
    void RowDoubleClicked();
    void SendAnswer();
    void SendKeyInput();
    void Send(const std::vector<std::uint8_t>& keys);

    SendKeys sendKeys_;
    std::vector<CiMenuRow> rows_;
    bool blind_ = false;
    int answerLength_ = 0;
    QListWidget* list_ = nullptr;
    QLineEdit* answer_ = nullptr;
    QLineEdit* keys_ = nullptr;
    QPushButton* answerOk_ = nullptr;
    QPushButton* keysOk_ = nullptr;
    QPushButton* close_ = nullptr;
};
