#include "recording/windows/PlayListCells.h"

#include <QLocale>

#include "recording/windows/PlayListTexts.h"

namespace T = PlayListTexts;

namespace PlayListCells {

QString PlayLength(std::uint32_t ms) {
    const std::uint32_t hours = ms / 3600000;
    const std::uint32_t minutes = ms / 60000 % 60;
    const std::uint32_t seconds = ms / 1000 % 60;
    return QStringLiteral("%1:%2:%3,%4")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(seconds, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

QString LastPlayed(const ArchiveDateTime& time) {
    const QDateTime local = LocalDateTime::ToLocal(time);
    if (!local.isValid()) return {};
    static const QLocale german(QLocale::German, QLocale::Germany);
    return german.toString(local, QStringLiteral("dddd, dd.MMMM yyyy HH:mm:ss"));
}

QString Status(std::uint32_t status) {
    QString text;
    if (status & CPlayListEntry::Stopped) text = T::StatusStopped;
    if (status & CPlayListEntry::Playing) text = T::StatusPlaying;
    if (status & CPlayListEntry::Finished) text = T::StatusFinished;
    return text;
}

QString Cell(const CPlayListEntry& entry, int index, int column) {
    switch (column) {
        case ColNr:
            return QString::number(index + 1);
        case ColFileName:
            return QString::fromStdString(entry.fileName);
        case ColPlayLength:
            return PlayListCells::PlayLength(entry.playLengthMs);
        case ColLastPlayed:
            return PlayListCells::LastPlayed(entry.lastPlayed);
        case ColRepetitions:
            return QString::number(entry.repetitions);
        case ColPause:
            return T::PauseFormat.arg(entry.pauseSec);
        case ColStatus:
            return PlayListCells::Status(entry.status);
        default:
            return {};
    }
}

}  // namespace PlayListCells
