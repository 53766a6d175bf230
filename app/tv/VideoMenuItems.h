#pragma once
// The two pop-up menus the video window asks for: their items in order, the
// command of each, whether it can be chosen now, and the VCR command code a
// VCR item posts. Separators are items with command 0.
#include <QList>
#include <QString>

namespace VideoMenuItems {

struct Item {
    int command = 0;  ///< 0: separator
    QString text;
    bool enabled = true;
};

/// "TV und EPG Kontrolle". `tuned`: a program is tuned.
QList<Item> TvMenu(bool fullScreen, bool tuned);
/// "Videorekorder". `playbackOpen`: a playback file is open; `playlist`:
/// the playback runs from the playlist.
QList<Item> VcrMenu(bool playbackOpen, bool playlist);

/// Message 1230's two parameters for a VCR item; code 0 for another command.
struct VcrCode {
    int code = 0;
    int index = 0;
};
VcrCode VcrCodeOf(int command);

}  // namespace VideoMenuItems
