#include "recording/TimerStore.h"

#include <filesystem>

#include "channellist/AtomicFile.h"
#include "recording/TimerTexts.h"

namespace T = TimerTexts;

namespace {

// Keeps the unreadable file as "<name>.bak" and says so in the message; the
// message claims no copy that could not be made.
void ReplaceUnreadable(const std::string& path, QString text, IRecordingMessages& messages) {
    const std::string kept = KeepBackupCopy(path);
    if (!kept.empty()) text += QLatin1Char('\n') + T::KeptAs.arg(QString::fromStdString(kept));
    messages.ShowError(T::FileCaption, text);
    SaveFileAtomically(path, CTIMERFile::EmptyFile(), nullptr);
}

}  // namespace

std::string TimerFilePath() { return DataFilePath(T::FileName); }

void LoadTimersAtStartUp(const std::string& path, CTIMERFile& list, IRecordingMessages& messages) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        SaveFileAtomically(path, CTIMERFile::EmptyFile(), nullptr);
        list.Load(CTIMERFile::EmptyFile());
        return;
    }
    std::vector<std::uint8_t> bytes;
    const bool read = ReadWholeFile(path, bytes, nullptr);
    if (read && list.Load(bytes)) return;
    ReplaceUnreadable(path, read && !list.Valid() ? T::WrongIdentifier : T::Damaged, messages);
    list.Load(CTIMERFile::EmptyFile());
}

bool SaveTimers(const std::string& path, const CTIMERFile& list, IRecordingMessages& messages) {
    std::string error;
    if (SaveFileAtomically(path, list.Store(), &error)) return true;
    messages.ShowError(T::SaveCaption, T::SaveFailed.arg(QString::fromStdString(path),
                                                         QString::fromStdString(error)));
    return false;
}
