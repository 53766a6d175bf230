#pragma once
#include <QObject>
#include <QSettings>
#include <memory>

class CListEditActions;
class CListEditor;
class CListPrintController;
class CMainFrame;
class CMessageBoxSink;
class CSVL_EditorDoc;
class CSVL_EditorView;
class CViewEditHost;
class QMenu;

/// Connects the editing commands to the main frame, its program list view and the
/// document: the frame's "&Bearbeiten" and print commands (by command id), "&Rückgängig"
/// and "&Wiederholen" put at the top of the edit menu, the view's context-menu edit
/// commands and its Delete key, and the document's open/save to the undo history.
/// Created once after the frame; lives as a child of the frame.
class CFrameEditBinding : public QObject {
    Q_OBJECT
  public:
    CFrameEditBinding(CMainFrame& frame, CSVL_EditorDoc& doc);
    ~CFrameEditBinding() override;

    CListEditor& Editor() { return *editor_; }
    CListEditActions& Actions() { return *actions_; }
    CListPrintController& Printing() { return *printing_; }

  private:
    void BindFrameActions(CMainFrame& frame);
    void BindView(CSVL_EditorView& view);
    /// "Sortieren nach" and "Absteigend sortieren nach", one entry per sortable column.
    void AddSortMenus(QMenu& editMenu);
    void BindDocument(CSVL_EditorDoc& doc);

    QSettings settings_;
    std::unique_ptr<CViewEditHost> host_;
    std::unique_ptr<CMessageBoxSink> messages_;
    std::unique_ptr<CListEditor> editor_;
    std::unique_ptr<CListPrintController> printing_;
    CListEditActions* actions_ = nullptr;
};
