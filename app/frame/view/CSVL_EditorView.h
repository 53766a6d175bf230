#pragma once
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "frame/view/CQuickFilter.h"
#include "frame/view/CViewSettings.h"

class CGfxListCtrl;
class CProgramInfo;
class CSVLFile;
class QMenu;
class QAction;

/// The one view of the document: the list "TheMainList" of the programs of
/// the open channel list, filtered by kind and optionally grouped by
/// provider. Rows carry the `CProgramInfo` they show; every program index
/// this class hands out is a position in the document's program list.
///
/// Tuning, editing and the clipboard are not done here: the view emits a
/// signal for each such request, and context-menu entries whose signal has
/// no receiver stay disabled.
class CSVL_EditorView : public QWidget {
    Q_OBJECT
  public:
    explicit CSVL_EditorView(QWidget* parent = nullptr);
    ~CSVL_EditorView() override;

    /// The list to show (owned by the document); nullptr shows nothing.
    void setDocumentList(CSVLFile* list);
    CSVLFile* documentList() const { return list_; }

    /// Refills the list: reads the view settings, fills the rows the filter
    /// admits, shows the program count and asks to tune the last program of
    /// the current filter (switchToProgramRequested).
    void OnUpdate();
    /// Rebuilds the rows after records were added, removed or changed,
    /// keeping the selected programs selected; nothing is tuned.
    void refreshRows();

    void setPidHexDisplay(bool hex);
    bool pidHexDisplay() const { return pidHex_; }

    /// Stores the column layout of "TheMainList" (widths, shown columns).
    void saveLayout();

    void setCategoryMode(bool on);
    bool categoryMode() const;
    void toggleCategoryMode() { setCategoryMode(!categoryMode()); }

    void setEditMode(bool on) { editMode_ = on; }
    bool editMode() const { return editMode_; }
    void toggleEditMode() { editMode_ = !editMode_; }

    /// As message 1234: the program filter becomes `filter`, the settings
    /// are written and the list is refilled.
    void setProgramFilter(int filter);
    int programFilter() const { return settings_.programFilter; }
    /// Shows only the programs whose name or provider contains `text` (empty: all);
    /// the selected programs that stay shown stay selected.
    void setQuickFilter(const QString& text);
    const CViewSettings& viewSettings() const { return settings_; }

    /// True while the list is being refilled.
    bool isBusy() const { return busy_; }

    /// Document indexes of the selected rows in row order, header rows skipped.
    std::vector<int> selectedProgramIndexes() const;
    /// Document index of a program by identity, -1 when it is not in the list.
    int indexOfProgram(const CProgramInfo* program) const;
    /// Stores a chosen program as the last program of the current filter.
    void rememberProgram(int index);

    /// Double click or "Zum selektierten Programm schalten": each selected
    /// program, in row order, is remembered and requested for tuning; a
    /// header row ends the processing.
    void chooseSelectedPrograms();
    /// "Programm bearbeiten" (menu, context menu, double click in edit mode):
    /// requests the program dialog for each selected program in row order.
    void editSelectedPrograms() { ForEachSelected(&CSVL_EditorView::editProgramRequested); }

    /// The context menu "Senderliste" as it would open now.
    std::unique_ptr<QMenu> createContextMenu();
    /// Whether a command of the edit block ("Ausschneiden" ... "Löschen") can run now;
    /// the context menu gives its items the same availability as the menu commands.
    void setCommandAvailability(std::function<bool(int)> available) {
        commandAvailable_ = std::move(available);
    }

    CGfxListCtrl* listCtrl() const { return ctrl_; }

  signals:
    /// The list is about to be refilled: the guide's receptions stop.
    void listRefilling();
    /// Text for pane 1 of the status bar, "Anzahl Programme: %ld".
    void programCountText(const QString& text);
    /// The filter box should show this index (out-of-range filters read as 0).
    void programFilterShown(int filter);
    /// The program at this document index should be tuned (interactive switch).
    void switchToProgramRequested(int index);
    /// A program row was double-clicked.
    void rowDoubleClicked(int index);
    /// "Programm bearbeiten", or a double click in edit mode.
    void editProgramRequested(int index);
    /// "Streams anzeigen".
    void showStreamsRequested(int index);
    /// "Zur Timerliste addieren".
    void addToTimerListRequested(int index);
    /// The selected programs were dragged before the program at this document
    /// index (the list's size: to the end).
    void dropBeforeRequested(qlonglong index);
    /// "Ausschneiden", "Kopieren", "Einfügen" or "Löschen" on the selected rows.
    void editCommandRequested(int command);
    /// The Delete key was pressed in the list.
    void deleteSelectedRequested();

  protected:
    bool event(QEvent* event) override;

  private:
    void SetupList();
    void FillRows();
    void OnDoubleClick(int item);
    void ForEachSelected(void (CSVL_EditorView::*signal)(int));
    const CProgramInfo* ProgramOfItem(int item) const;
    int DocIndexOfItem(int item) const;
    QAction* AddMenuAction(QMenu& menu, const QString& text, int command, bool available);

    CGfxListCtrl* ctrl_;
    CSVLFile* list_ = nullptr;
    std::vector<int> rowDoc_;  // item -> document index at the last fill
    CViewSettings settings_;
    bool pidHex_ = false;
    bool editMode_ = false;
    bool busy_ = false;
    bool layoutSaved_ = false;
    std::function<bool(int)> commandAvailable_;
    CQuickFilter quickFilter_;
};
