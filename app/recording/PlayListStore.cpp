#include "recording/PlayListStore.h"

#include <QDir>
#include <QStandardPaths>
#include <filesystem>

#include "channellist/AtomicFile.h"

namespace {

const QString kFileCaption = QStringLiteral("Fehler in der Wiedergabenlisten-Datei");

bool WriteEmpty(const std::string& path) {
    return SaveFileAtomically(path, CPlayListFile::EmptyFile(), nullptr);
}

// A file that cannot be read is kept beside the empty one that replaces it,
// so that the user's list is never simply gone; the message names the copy.
void ReplaceUnreadable(const std::string& path, IRecordingMessages& messages) {
    const std::string kept = KeepBackupCopy(path);
    QString text = QStringLiteral(
        "Wiedergabenlisten-Datei hat eine falsche Dateikennung!\nEs wird eine neue Datei "
        "erstellt!");
    if (!kept.empty())
        text += QStringLiteral("\nDie alte Datei wurde als %1 gesichert.")
                    .arg(QString::fromStdString(kept));
    messages.ShowError(kFileCaption, text);
    WriteEmpty(path);
}

}  // namespace

std::string DataFilePath(const QString& name) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return QDir(folder).filePath(name).toStdString();
}

void LoadPlayListAtStartUp(const std::string& path, CPlayListFile& list,
                           IRecordingMessages& messages) {
    std::vector<std::uint8_t> bytes;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        WriteEmpty(path);
        list.Load(CPlayListFile::EmptyFile());
        return;
    }
    if (!ReadWholeFile(path, bytes, nullptr) || !list.Load(bytes)) {
        ReplaceUnreadable(path, messages);
        list.Load(CPlayListFile::EmptyFile());
    }
    list.MarkAllStopped();
}

bool LoadPlayListFrom(const std::string& path, CPlayListFile& list, IRecordingMessages& messages) {
    std::vector<std::uint8_t> bytes;
    list.entries.clear();
    if (!ReadWholeFile(path, bytes, nullptr)) {
        messages.ShowError(QStringLiteral("Wiedergabeliste öffnen"),
                           QStringLiteral("Datei kann nicht geöffnet werden"));
        return false;
    }
    if (!list.Load(bytes)) {
        messages.ShowError(kFileCaption,
                           QStringLiteral("Wiedergabenlisten-Datei hat eine falsche Dateikennung!\n"
                                          "Datei konnte nicht geladen werden!"));
        return false;
    }
    return true;
}

bool SavePlayList(const std::string& path, const CPlayListFile& list,
                  IRecordingMessages& messages) {
    if (SaveFileAtomically(path, list.Store(), nullptr)) return true;
    messages.ShowError(QStringLiteral("Wiedergabeliste speichern"),
                       QStringLiteral("Datei konnte nicht geöffnet werden!\n"
                                      "Wiedergabeliste kann nicht gespeichert werden!"));
    return false;
}
