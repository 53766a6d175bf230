#include "recording/windows/CVcrPrompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

#include "recording/windows/CPlayListDialogs.h"
#include "recording/windows/PlayListTexts.h"

namespace {

const QString kAll = PlayListTexts::PlaybackFilters.constFirst();
const QString kAudioPes = QStringLiteral("PES Audio Dateien (*.psa)");
const QString kMp2 = QStringLiteral("MP2 Audio Dateien (*.mp2)");
const QString kVideoPes = QStringLiteral("PES Video Dateien (*.psv)");
const QString kPva = QStringLiteral("PES Audio/Video Dateien (*.pva)");
const QString kTs = QStringLiteral("MPEG-TS Dateien (*.ts)");

// The extension of a filter such as "MP2 Audio Dateien (*.mp2)"; empty for
// a filter of several.
QString SuffixOf(const QString& filter) {
    const QStringList patterns = CPlayListDialogs::FilterPatterns(filter);
    if (patterns.size() != 1 || !patterns.constFirst().startsWith(QStringLiteral("*."))) return {};
    return patterns.constFirst().mid(2);
}

}  // namespace

QStringList CVcrPrompts::PlaybackFilters() { return PlayListTexts::PlaybackFilters; }

QStringList CVcrPrompts::RecordingFilters() {
    return {kPva, kAudioPes, kMp2, kVideoPes, kTs, kAll};
}

QString CVcrPrompts::AskPlaybackFile(const QString& folder) {
    const FileRequest request{
        FileRequest::Mode::Open, PlayListTexts::PlaybackTitle, PlaybackFilters(), {}, folder, {}};
    const auto dialog = CPlayListDialogs::MakeFileDialog(request, owner_);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
    return dialog->selectedFiles().constFirst();
}

QString CVcrPrompts::AskRecordingFile(const QString& folder, QString& suffix) {
    const FileRequest request{FileRequest::Mode::Save,
                              QStringLiteral("Videodatei zum Aufnehmen öffnen"),
                              RecordingFilters(),
                              suffix.isEmpty() ? QStringLiteral("pva") : suffix,
                              folder,
                              {}};
    const auto dialog = CPlayListDialogs::MakeFileDialog(request, owner_);
    QFileDialog* d = dialog.get();
    QObject::connect(d, &QFileDialog::filterSelected, d, [d](const QString& filter) {
        if (const QString s = SuffixOf(filter); !s.isEmpty()) d->setDefaultSuffix(s);
    });
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
    const QString path = dialog->selectedFiles().constFirst();
    if (const int dot = path.lastIndexOf(QLatin1Char('.'));
        dot > path.lastIndexOf(QLatin1Char('/')))
        suffix = path.mid(dot + 1);
    return path;
}

QString CVcrPrompts::CountdownText(int seconds) {
    return QStringLiteral("Soll die Wiedergabe der Playliste abgebrochen werden?") +
           QStringLiteral("\n\nAutomatische Wiedergabe mit dem nächsten Titel startet in %1 sek!")
               .arg(seconds);
}

bool CVcrPrompts::AskEndPlaylist(const QString& path) {
    QMessageBox box(QMessageBox::Critical,
                    QStringLiteral("Datei '%1' konnte nicht geöffnet werden!").arg(path),
                    CountdownText(kCountdownSeconds), QMessageBox::Yes | QMessageBox::No, owner_);
    int left = kCountdownSeconds;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &box, [&box, &left] {
        if (--left <= 0)
            box.done(QMessageBox::No);
        else
            box.setText(CountdownText(left));
    });
    tick.start(1000);
    return box.exec() == QMessageBox::Yes;
}

void CVcrPrompts::ShowEmptyPlaylist() {
    QMessageBox::information(
        owner_, QStringLiteral("Wiedergabeliste"),
        QStringLiteral("Kein Eintrag in der Wiedergabeliste - Wiedergabe nicht möglich!"));
}

void CVcrPrompts::ShowRecordingEnded(const QString& path) {
    QMessageBox::warning(
        owner_, QStringLiteral("Aufnahme"),
        QStringLiteral("Die Aufnahme in die Datei '%1' wurde vorzeitig beendet.\n"
                       "Die Datei enthält alles, was bis dahin aufgezeichnet wurde.")
            .arg(path));
}
