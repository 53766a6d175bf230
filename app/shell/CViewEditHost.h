#pragma once
#include <QPointer>

#include "channellist/editing/IListEditHost.h"

class CSVL_EditorDoc;
class CSVL_EditorView;

/// IListEditHost over the program list view and the document: selection and rows from the
/// view's list control, the list and the modified flag from the document. Every change of
/// the program list makes the view rebuild its rows, keeping the selected programs selected.
class CViewEditHost : public IListEditHost {
  public:
    CViewEditHost(CSVL_EditorView& view, CSVL_EditorDoc& doc);

    CSVLFile* List() override;
    std::vector<std::size_t> SelectedProgramIndexes() const override;
    std::vector<std::size_t> ListedProgramIndexes() const override;
    std::size_t RowCount() const override;
    bool IsCategoryMode() const override;
    void SelectAllRows() override;
    void SelectPrograms(const std::vector<std::size_t>& indexes) override;
    void ProgramsInserted(const std::vector<std::size_t>& indexes) override;
    void ProgramsRemoved(const std::vector<std::size_t>& indexes) override;
    void ProgramsChanged(const std::vector<std::size_t>& indexes) override;
    void ProgramsReordered(const std::vector<std::size_t>& moved) override;
    void SetModified(bool modified) override;
    void SetProgramCountText(const QString& text) override;
    ListPrintTable PrintTable() override;

  private:
    /// List items of these programs, in row order, in one pass over the rows.
    std::vector<int> ItemsOfPrograms(const std::vector<std::size_t>& indexes) const;

    QPointer<CSVL_EditorView> view_;
    CSVL_EditorDoc& doc_;
};
