#pragma once
#include <QDialog>
#include <functional>
#include <vector>

#include "Allgemein/CColumnLayout.h"

class QListWidget;
class QListWidgetItem;
class QPushButton;

/// The dialog "Spalteneinstellung": the user moves columns between the free
/// list and the ordered list of used columns. On OK the shown set becomes
/// column 0 followed by the used columns in their order.
class CColumnDialog : public QDialog {
    Q_OBJECT
  public:
    /// Shows a message to the user; replaceable so that tests see the text.
    using MessageFn = std::function<void(QWidget* parent, const QString& text)>;

    static const QString& EmptySelectionMessage();

    explicit CColumnDialog(const CColumnLayout& layout, QWidget* parent = nullptr);

    void SetMessageFn(MessageFn fn) { message_ = std::move(fn); }
    /// The chosen shown set; valid after the dialog was accepted.
    const std::vector<int>& Result() const { return result_; }

    QListWidget* FreeList() const { return free_; }
    QListWidget* UsedList() const { return used_; }
    QPushButton* InsertButton() const { return insert_; }
    QPushButton* RemoveButton() const { return remove_; }
    QPushButton* UpButton() const { return up_; }
    QPushButton* DownButton() const { return down_; }
    QPushButton* OkButton() const { return ok_; }

    void Insert();
    void Remove();
    void MoveUp() { Move(-1); }
    void MoveDown() { Move(+1); }
    void accept() override;

  private:
    void BuildWidgets();
    void Fill(const CColumnLayout& layout);
    void AddSorted(QListWidgetItem* item);
    void Move(int step);
    void UpdateButtons();
    void Changed();

    QListWidget* free_ = nullptr;
    QListWidget* used_ = nullptr;
    QPushButton* insert_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
    QPushButton* ok_ = nullptr;
    MessageFn message_;
    std::vector<int> result_;
};
