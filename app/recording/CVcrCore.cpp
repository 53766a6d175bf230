#include "recording/CVcrCore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>
#include <array>

namespace {

constexpr int kModeStopped = 0, kModeRecording = 1, kModePaused = 3;
constexpr int kFormatPva = 5, kFormatTs = 6;
constexpr int kRecordingMessage = 1239;
constexpr std::uint32_t kEndTolerance = 50;  ///< ms before the length count as the end

const QString kSection = QStringLiteral("Einstellungen/");
const QString kEndless = kSection + QStringLiteral("Endloswiedergabe");
const QString kUsePlaylist = kSection + QStringLiteral("Verwende Playliste");
const QString kOpenFolder = kSection + QStringLiteral("Directory Fileopen");
const QString kSaveFolder = kSection + QStringLiteral("Directory Filesave");

constexpr VcrColours Colours(int r, int g, int b, int lr, int lg, int lb, int pr, int pg, int pb) {
    return {{r, g, b}, {lr, lg, lb}, {pr, pg, pb}, {r, g, b}};
}
constexpr VcrColours kYellow = Colours(255, 255, 0, 255, 255, 64, 255, 255, 196);
constexpr VcrColours kRed = Colours(255, 0, 0, 255, 64, 64, 255, 196, 196);
constexpr VcrColours kGreen = Colours(0, 255, 0, 64, 255, 64, 196, 255, 196);
constexpr VcrColours kBlue = Colours(0, 0, 255, 64, 64, 255, 196, 196, 255);

// The folder of a path, with its separator, as the dialogs start in it.
QString FolderOf(const QString& path) {
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

QString DefaultRecordingFolder() {
    const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    const QString folder = videos.isEmpty() ? QDir::homePath() : videos;
    QDir().mkpath(folder);
    return folder + QLatin1Char('/');
}

}  // namespace

CVcrCore::CVcrCore(RecPlayState& state, IRecPlayBackEnd& highLevel, IRecPlayBackEnd& lowLevel,
                   CPlayListFile& playlist, IVcrPrompts& prompts, VcrHooks hooks, QObject* parent)
    : QObject(parent),
      state_(state),
      highLevel_(highLevel),
      lowLevel_(lowLevel),
      playlist_(playlist),
      sequencer_(playlist, *this),
      prompts_(prompts),
      hooks_(std::move(hooks)) {
    LoadOptions();
    display_.colours = kGreen;
    state_.playbackOpen = state_.recordOpen = 0;
    EnableButtons();
}

CVcrCore::~CVcrCore() {
    // The back ends outlive the bar: nothing may post to it any more.
    highLevel_.SetStatusChangedMessage({}, kRecordingMessage, 0);
    lowLevel_.SetStatusChangedMessage({}, kRecordingMessage, 0);
}

void CVcrCore::RegisterNotification(const std::function<void()>& notify) {
    highLevel_.SetStatusChangedMessage(notify, kRecordingMessage, 1);
    lowLevel_.SetStatusChangedMessage(notify, kRecordingMessage, 1);
}

// --- helpers ---------------------------------------------------------------

int CVcrCore::FormatOfPath(const QString& path) {
    if (path.endsWith(QStringLiteral(".ts"), Qt::CaseInsensitive)) return kFormatTs;
    const QString extension = path.right(3).toLower();
    static const std::array<std::pair<const char*, int>, 4> kByExtension = {
        {{"psa", 1}, {"mp2", 2}, {"psv", 4}, {"pva", 5}}};
    for (const auto& [name, format] : kByExtension)
        if (extension == QLatin1String(name)) return format;
    return 0;
}

int CVcrCore::RadioOfFormat(int format) {
    switch (format) {
        case 1:
            return 0;
        case 2:
            return 1;
        case 4:
            return 2;
        case 5:
            return 3;
        case kFormatTs:
            return 4;
        default:
            return -1;
    }
}

QString CVcrCore::FormatPrefix(int format) {
    static const std::array<const char*, 7> kPrefixes = {
        "(keiner) ",    "(Audio PES) ", "(Audio Mp2) ", "(Audio PCM) ",
        "(Video PES) ", "(A/V PES) ",   "(MPEG-TS) "};
    if (format < 0 || format >= int(kPrefixes.size())) return QStringLiteral("(Unbekannt) ");
    return QString::fromUtf8(kPrefixes[std::size_t(format)]);
}

QString CVcrCore::ModeText(int mode) {
    static const std::array<const char*, 8> kWords = {"Stop",          "Aufnahme",     "Wiedergabe",
                                                      "Pause",         "Vorwärts",     "Rückwärts",
                                                      "Wiedergabe :2", "2x Wiedergabe"};
    if (mode < 0 || mode >= int(kWords.size())) return QStringLiteral("Unbekannt");
    return QString::fromUtf8(kWords[std::size_t(mode)]);
}

VcrColours CVcrCore::ColoursOfMode(int mode) {
    switch (mode) {
        case kModeStopped:
            return kYellow;
        case kModeRecording:
            return kRed;
        case kModePaused:
            return kBlue;
        default:
            return kGreen;
    }
}

QString CVcrCore::Clock(std::uint32_t seconds) {
    return QString::asprintf("%02u:%02u:%02u", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

QString CVcrCore::RecordingFolder() {
    const QString folder = QSettings().value(kSaveFolder).toString();
    return folder.isEmpty() ? DefaultRecordingFolder() : folder;
}

QString CVcrCore::QuickRecordingName(const QString& folder, const QDateTime& at) {
    const QDate d = at.date();
    const QTime t = at.time();
    return folder + QString::asprintf("QUICKREC-%02d%02d%04d-%02d%02d%02d.pva", d.day(), d.month(),
                                      d.year(), t.hour(), t.minute(), t.second());
}

void CVcrCore::Changed() { emit displayChanged(); }

void CVcrCore::Wait(int ms) const {
    if (hooks_.wait)
        hooks_.wait(ms);
    else
        QThread::msleep(static_cast<unsigned long>(ms));
}

void CVcrCore::LoadOptions() {
    const QSettings settings;
    display_.endless = settings.value(kEndless, 0).toInt() != 0;
    display_.usePlaylist = settings.value(kUsePlaylist, 0).toInt() != 0;
    openFolder_ = settings.value(kOpenFolder).toString();
    saveFolder_ = settings.value(kSaveFolder).toString();
    state_.usePlaylist = display_.usePlaylist ? 1 : 0;
}

void CVcrCore::SaveOptions() const {
    QSettings settings;
    settings.setValue(kEndless, display_.endless ? 1 : 0);
    settings.setValue(kUsePlaylist, display_.usePlaylist ? 1 : 0);
    settings.setValue(kOpenFolder, openFolder_);
    settings.setValue(kSaveFolder, saveFolder_);
}

void CVcrCore::SetEndless(bool on) {
    display_.endless = on;
    SaveOptions();
    Changed();
}

void CVcrCore::SetUsePlaylist(bool on) {
    display_.usePlaylist = on;
    state_.usePlaylist = on ? 1 : 0;
    SaveOptions();
    EnableButtons();
    Changed();
}

void CVcrCore::SetFormat(int format) {
    state_.format = format;
    display_.formatRadio = RadioOfFormat(format);
}

// Stop is offered while a file is open either way: a recording must be
// stoppable from the bar too, as the frame's stop is.
void CVcrCore::EnableButtons() {
    const bool playback = state_.playbackOpen == 1;
    display_.playButton = playback || state_.usePlaylist == 1;
    display_.pauseButton = display_.halfButton = display_.doubleButton = playback;
    display_.stopButton = display_.closeButton = state_.CanCloseOrStop();
    display_.recordButton = state_.recordOpen == 1;
    display_.openButton = true;
}

void CVcrCore::ResetSlider() {
    display_.sliderMax = display_.sliderPos = 0;
    display_.sliderTick = display_.sliderPage = display_.sliderLine = 0;
    display_.progressMax = display_.progressPos = 0;
}

void CVcrCore::ShowOpenedForPlayback() {
    RecPlayStatus status;
    state_.lengthMs = BackEnd().GetStatus(status) == 1 ? status.lengthMs : 0;
    const std::uint32_t length = state_.lengthMs;
    display_.length = Clock(length / 1000);
    display_.position = Clock(0);
    display_.sliderMax = display_.progressMax = length;
    display_.sliderTick = display_.sliderPage = length / 10;
    display_.sliderLine = length / 100;
    display_.sliderPos = display_.progressPos = 0;
    state_.playbackOpen = 1;
    state_.recordOpen = 0;
}

// --- commands --------------------------------------------------------------

void CVcrCore::Command(int code, std::uint32_t index, const QString& text) {
    if (code < 1 || code > 12) return;
    if (index != kKeepPlaylistIndex) sequencer_.SetCursor(int(index));
    switch (static_cast<VcrCommand>(code)) {
        case VcrCommand::OpenForPlayback:
            OpenForPlayback();
            break;
        case VcrCommand::Close:
            Close();
            break;
        case VcrCommand::Play:
            Play();
            break;
        case VcrCommand::DoubleSpeed:
            BackEnd().FastPlayback(1);
            break;
        case VcrCommand::HalfSpeed:
            BackEnd().SlowPlayback(2);
            break;
        case VcrCommand::Pause:
            Pause();
            break;
        case VcrCommand::Stop:
            Stop();
            break;
        case VcrCommand::NextTitle:
            StepTitle(+1);
            break;
        case VcrCommand::Record:
            Record();
            break;
        case VcrCommand::PreviousTitle:
            StepTitle(-1);
            break;
        case VcrCommand::OpenForRecording:
            OpenForRecording();
            break;
        case VcrCommand::SetFileName:
            display_.fileName = text;
            break;
    }
    EnableButtons();
    Changed();
}

void CVcrCore::OpenForPlayback() {
    if (!display_.fileName.isEmpty()) Close();
    const QString path = prompts_.AskPlaybackFile(openFolder_);
    if (path.isEmpty()) return;
    display_.fileName = path;
    openFolder_ = FolderOf(path);
    SaveOptions();
    SetFormat(FormatOfPath(path));
    if (BackEnd().Open(path.toStdString(), state_.format, 1) == 1) {
        ShowOpenedForPlayback();
        return;
    }
    display_.fileName.clear();
    display_.length.clear();
    state_.lengthMs = 0;
    ResetSlider();
    state_.playbackOpen = 0;
    if (state_.usePlaylist == 1 && !prompts_.AskEndPlaylist(path)) {
        sequencer_.SkipRestOfTitle();
        Play();
    }
}

void CVcrCore::OpenForRecording() {
    if (!display_.fileName.isEmpty()) Close();
    const QString path = prompts_.AskRecordingFile(saveFolder_, saveSuffix_);
    if (path.isEmpty()) return;
    display_.fileName = path;
    saveFolder_ = FolderOf(path);
    SaveOptions();
    SetFormat(FormatOfPath(path));
    if (BackEnd().Open(path.toStdString(), state_.format, 0) == 1) {
        state_.recordOpen = 1;
        state_.playbackOpen = 0;
    } else {
        display_.fileName.clear();
    }
}

void CVcrCore::Close() {
    stopRequested_ = true;
    state_.sizeMB = 0;
    BackEnd().Stop();
    Wait(100);
    BackEnd().Close();
    Wait(100);
    display_.fileName.clear();
    display_.length.clear();
    state_.lengthMs = 0;
    ResetSlider();
    state_.playbackOpen = state_.recordOpen = 0;
    if (state_.usePlaylist == 1) sequencer_.TitleEnded();
    state_.playlistTitlePlaying = false;
    display_.usePlaylistEnabled = true;
    EnableButtons();
    SaveOptions();
    if (hooks_.playlistChanged) hooks_.playlistChanged();
}

void CVcrCore::Play() {
    if (state_.usePlaylist != 1) {
        BackEnd().Playback(0);
        return;
    }
    PlayPlaylistTitle();
}

// Titles that do not open are skipped, each after its question; once every
// entry failed in a row the list ends instead of asking forever.
void CVcrCore::PlayPlaylistTitle() {
    // A file opened by hand goes first; a playing title the sequencer closes.
    if (!sequencer_.TitlePlaying() && state_.CanCloseOrStop()) Close();
    for (std::size_t failures = 0;; ++failures) {
        if (failures > 0 && failures >= playlist_.entries.size()) return;
        const auto result =
            sequencer_.PlayNext(hooks_.now ? hooks_.now() : QDateTime::currentDateTime());
        if (result != CPlayListSequencer::Result::Failed) return;
        const QString path = display_.fileName;
        const bool endList = prompts_.AskEndPlaylist(path);
        sequencer_.SkipRestOfTitle();
        Close();
        if (endList) return;
    }
}

bool CVcrCore::OpenAndPlay(const std::string& fileName) {
    const QString path = QString::fromStdString(fileName);
    display_.fileName = path;
    SetFormat(FormatOfPath(path));
    if (BackEnd().Open(fileName, state_.format, 1) != 1) return false;
    ShowOpenedForPlayback();
    BackEnd().Playback(0);
    state_.playlistTitlePlaying = true;
    display_.usePlaylistEnabled = false;
    if (hooks_.playlistChanged) hooks_.playlistChanged();
    return true;
}

void CVcrCore::ShowEmptyList() { prompts_.ShowEmptyPlaylist(); }

void CVcrCore::StepTitle(int step) {
    if (state_.usePlaylist != 1) return;
    sequencer_.SetCursor(sequencer_.Cursor() + step);
    Play();
}

void CVcrCore::Stop() {
    stopRequested_ = true;
    BackEnd().Stop();
    sequencer_.Stopped();
    state_.playlistTitlePlaying = false;
    display_.usePlaylistEnabled = true;
    if (hooks_.playlistChanged) hooks_.playlistChanged();
}

void CVcrCore::Pause() {
    BackEnd().Pause();
    sequencer_.TitleEnded();
    state_.playlistTitlePlaying = false;
    if (hooks_.playlistChanged) hooks_.playlistChanged();
}

void CVcrCore::Record() {
    state_.lengthMs = 0;
    display_.length.clear();
    ResetSlider();
    state_.sizeMB = 0;
    if (state_.mode == kModeRecording) return;
    if (state_.recordOpen != 1) {
        QuickRecording();
        return;
    }
    stopRequested_ = false;
    BackEnd().Record();
}

void CVcrCore::QuickRecording() {
    Close();
    SetFormat(kFormatPva);
    const QDateTime now = hooks_.now ? hooks_.now() : QDateTime::currentDateTime();
    // Without a folder of the user's the recording goes to the videos folder,
    // never to whatever folder the program or the card happens to run in.
    const QString folder = saveFolder_.isEmpty() ? DefaultRecordingFolder() : saveFolder_;
    const QString path = QuickRecordingName(folder, now);
    if (hooks_.quickRecording && hooks_.quickRecording(path, kFormatPva)) return;
    display_.fileName = path;
    if (BackEnd().Open(path.toStdString(), kFormatPva, 0) != 1) {
        display_.fileName.clear();
        return;
    }
    state_.recordOpen = 1;
    stopRequested_ = false;
    BackEnd().Record();
}

void CVcrCore::SliderMoving(std::uint32_t ms) {
    state_.seeking = 1;
    display_.sliderPos = display_.progressPos = ms;
    display_.position = Clock(ms / 1000);
    Changed();
}

void CVcrCore::SliderReleased(std::uint32_t ms) {
    BackEnd().Stop();
    Wait(50);
    BackEnd().Playback(ms);
    state_.seeking = 0;
    Changed();
}

// --- status ----------------------------------------------------------------

void CVcrCore::UpdateStatus() {
    RecPlayStatus status;
    if (BackEnd().GetStatus(status) != 1) return;
    const int before = previousMode_;
    ShowStatus(status);
    const int mode = state_.mode;
    if (mode != before) {
        previousMode_ = mode;
        if (hooks_.modeChanged) hooks_.modeChanged();
        if (hooks_.programFilterEnabled)
            hooks_.programFilterEnabled(mode == kModeStopped || mode == kModePaused);
    }
    const bool endedByItself = before == kModeRecording && mode == kModeStopped && !stopRequested_;
    if (mode == kModeStopped && state_.recordOpen == 1 &&
        (display_.fileName.contains(QStringLiteral("QUICKREC")) || endedByItself)) {
        const QString path = display_.fileName;
        Close();
        if (endedByItself) prompts_.ShowRecordingEnded(path);
    }
    // The end is handled once, when playback turns into stop there.
    const bool wasPlaying = before != kModeStopped && before != kModeRecording;
    if (mode == kModeStopped && wasPlaying &&
        status.positionMs + kEndTolerance >= state_.lengthMs && display_.endless &&
        state_.playbackOpen == 1)
        EndOfFile();
    display_.openButton = true;
    EnableButtons();
    Changed();
}

void CVcrCore::CheckRecording() {
    if (state_.mode != kModeRecording || state_.recordOpen != 1) return;
    RecPlayStatus status;
    // One refused request may be a busy card; two in a row are a card gone.
    if (BackEnd().GetStatus(status) == 1) {
        unansweredChecks_ = 0;
        return;
    }
    if (++unansweredChecks_ < 2) return;
    unansweredChecks_ = 0;
    const QString path = display_.fileName;
    state_.mode = previousMode_ = kModeStopped;
    display_.state = FormatPrefix(state_.format) + ModeText(kModeStopped);
    display_.colours = ColoursOfMode(kModeStopped);
    Close();
    prompts_.ShowRecordingEnded(path);
    EnableButtons();
    Changed();
}

void CVcrCore::ShowStatus(const RecPlayStatus& status) {
    state_.mode = status.mode;
    if (state_.seeking == 0 && status.mode != kModeStopped) {
        display_.position = Clock(status.positionMs / 1000);
        display_.sliderPos = display_.progressPos = status.positionMs;
    }
    display_.kbits = QString::number(status.kbits);
    state_.sizeMB += double(status.kbits >> 3) / 2048.0;
    display_.size = QString::asprintf("~ %.3f", state_.sizeMB);
    display_.state = FormatPrefix(status.format) + ModeText(status.mode);
    if (status.mode >= 0 && status.mode <= 7) display_.colours = ColoursOfMode(status.mode);
}

void CVcrCore::EndOfFile() {
    if (state_.usePlaylist == 1) {
        BackEnd().Stop();
        Wait(200);
        BackEnd().Close();
        state_.playbackOpen = 0;
        sequencer_.TitleEnded();
        state_.playlistTitlePlaying = false;
    } else {
        BackEnd().Stop();
    }
    Wait(200);
    Play();
}
