#pragma once
// "Streams": shows the elementary streams of one program.
//
// The list "TheStreamList" (the shared list control, its column layout stored
// under that name) has one row per stream in array order: an empty column 0,
// then "Nr", "Streamtype", "PID" (display mode) and "Decriptor".
// A double-click switches the decoder to the selected streams: every selected
// video stream (type 2) through StreamSwitch::setVideoPid, every audio stream
// (types 3 and 4) through StreamSwitch::setAudioPid, after which the view is
// told of the new audio PID (private message 1235, parameters 1 and the PID).
// Nothing in the program is changed.
#include <QString>

#include "channellist/dialogs/CFadeOutDialog.h"
#include "channellist/dialogs/DialogOptions.h"

class CGfxListCtrl;
class CProgramInfo;
class QSettings;

class CStreamsDialog : public CFadeOutDialog {
    Q_OBJECT
  public:
    enum Control { IdStreamCount = 1137, IdStreamList = 1055 };
    enum Column { ColImage = 0, ColNumber, ColType, ColPid, ColDescriptor, ColumnCount };

    /// `layoutStore` keeps the list's column layout; null means the program's
    /// settings store.
    CStreamsDialog(const CProgramInfo& program, DialogOptions options,
                   StreamSwitch streamSwitch = {}, QWidget* parent = nullptr,
                   QSettings* layoutStore = nullptr);

    CGfxListCtrl* StreamList() const { return list_; }

    /// The text of one cell of the stream list.
    QString CellText(int row, int columnId) const;

  public slots:
    /// What a double-click on the list does.
    void SwitchToSelectedStreams();

  private:
    void BuildUi();
    void DefineColumns();
    void Fill();
    void SaveLayout();

    const CProgramInfo& program_;
    DialogOptions options_;
    StreamSwitch streamSwitch_;
    QSettings* layoutStore_;
    CGfxListCtrl* list_ = nullptr;
};
