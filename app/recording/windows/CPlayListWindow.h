#pragma once
// "Wiedergabeliste": the playlist in the list "ThePlayList", edited through
// the context menu "Playliste", the Delete key (delete the selection) and a
// double click (edit the entry). The window edits the program's one list,
// the one the VCR bar plays from, and writes it to the data file when it
// closes. It is not modal; the VCR bar calls Refresh() when a title starts
// so that the statuses and last-played times shown are current.
//
// "Selektierten Eintrag wiedergeben" sends the VCR bar stop, close and play
// with the index of the first selected entry, 50 ms apart, from the event
// loop: the bar settles between them without the window waiting.
#include <QDialog>
#include <QTimer>
#include <deque>
#include <memory>
#include <string>

#include "recording/IVcrCommandSink.h"
#include "recording/windows/CPlayListDialogs.h"

class CGfxListCtrl;
class CPlayListFile;
class QMenu;

class CPlayListWindow : public QDialog {
    Q_OBJECT
  public:
    static constexpr int CommandGapMs = 50;

    /// `dataFile` is where the list is written when the window closes.
    CPlayListWindow(CPlayListFile& list, std::string dataFile, IVcrCommandSink& vcr,
                    QWidget* parent = nullptr);

    /// Boxes and dialogs go to `dialogs` from now on (tests answer them).
    void SetDialogs(IPlayListDialogs& dialogs) { dialogs_ = &dialogs; }

    CGfxListCtrl& List() const { return *list_; }
    /// The context menu "Playliste" with its entries enabled for the current
    /// selection and list.
    std::unique_ptr<QMenu> MakeContextMenu();

    void done(int result) override;

  protected:
    /// The VCR bar may have changed the list while the window was hidden.
    void showEvent(QShowEvent* event) override;

  public slots:
    /// Shows the list as it is now (entries, statuses, times).
    void Refresh();

  private:
    void BuildList();
    void ShowContextMenu(const QPoint& pos);
    void InsertEntry();
    void EditEntry(int index);
    void EditSelected();
    void DeleteSelected();
    /// Empties the list after the question; false when the user said no.
    bool DeleteAll();
    void LoadList();
    void SaveList();
    void PlaySelected();
    void PostNextCommand();

    CPlayListFile& playList_;
    std::string dataFile_;
    IVcrCommandSink& vcr_;
    CPlayListDialogs ownDialogs_;
    IPlayListDialogs* dialogs_;
    CGfxListCtrl* list_ = nullptr;
    QTimer commandGap_;
    std::deque<VcrCommand> pendingCommands_;
    std::uint32_t playIndex_ = 0;
};
