#include "tv/VideoMenuItems.h"

#include "common/CommandIds.h"

namespace VideoMenuItems {

QList<Item> TvMenu(bool fullScreen, bool tuned) {
    return {{Cmd::FullScreenOff, QStringLiteral("Vollbildmodus verlassen"), fullScreen},
            {Cmd::FullScreenOn, QStringLiteral("Vollbildmodus aktivieren"), !fullScreen},
            {},
            {Cmd::VideoNormal, QStringLiteral("Video normal")},
            {Cmd::VideoMirror, QStringLiteral("Video spiegeln")},
            {},
            {Cmd::ProgramUp, QStringLiteral("Programm +"), tuned},
            {Cmd::ProgramDown, QStringLiteral("Programm -"), tuned},
            {},
            {Cmd::GuideShortInfo, QStringLiteral("EPG Kurzinfo"), tuned},
            {Cmd::GuideCurrent, QStringLiteral("EPG aktuelles Event"), tuned},
            {Cmd::GuideNext, QStringLiteral("EPG nächstes Event"), tuned},
            {Cmd::GuideClose, QStringLiteral("EPG schließen")},
            {},
            {Cmd::MenuExit, QStringLiteral("Menu verlassen")}};
}

QList<Item> VcrMenu(bool playbackOpen, bool playlist) {
    return {
        {Cmd::PopupPlaybackOpen, QStringLiteral("Wiedergabedatei öffen")},
        {Cmd::PopupPlaybackClose, QStringLiteral("Wiedergabedatei schließen"), playbackOpen},
        {},
        {Cmd::PopupPlay, QStringLiteral("Wiedergabe"), playbackOpen},
        {Cmd::PopupPlayDouble, QStringLiteral("Wiedergabe 2x"), playbackOpen},
        {Cmd::PopupPlayHalf, QStringLiteral("Wiedergabe :2"), playbackOpen},
        {},
        {Cmd::PopupStop, QStringLiteral("Stop"), playbackOpen},
        {Cmd::PopupPause, QStringLiteral("Pause"), playbackOpen},
        {},
        {Cmd::VcrPreviousTitle, QStringLiteral("Vorherige Datei von Wiedergabeliste"), playlist},
        {Cmd::VcrNextTitle, QStringLiteral("Nächste Datei von Wiedergabeliste"), playlist},
        {},
        {Cmd::MenuExit, QStringLiteral("Menu verlassen")}};
}

VcrCode VcrCodeOf(int command) {
    constexpr int anyTitle = 0x0FFFFFFF;  // no playlist entry of its own
    switch (command) {
        case Cmd::PopupPlaybackOpen:
            return {1, anyTitle};
        case Cmd::PopupPlaybackClose:
            return {2, anyTitle};
        case Cmd::PopupPlay:
            return {3, anyTitle};
        case Cmd::PopupPlayDouble:
            return {4, anyTitle};
        case Cmd::PopupPlayHalf:
            return {5, anyTitle};
        case Cmd::PopupStop:
            return {7, 0};
        case Cmd::PopupPause:
            return {6, anyTitle};
        case Cmd::VcrPreviousTitle:
            return {10, anyTitle};
        case Cmd::VcrNextTitle:
            return {8, anyTitle};
        default:
            return {};
    }
}

}  // namespace VideoMenuItems
