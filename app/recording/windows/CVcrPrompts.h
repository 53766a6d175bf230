#pragma once
// The VCR bar's dialogs and messages as the user sees them: the file dialogs
// for playback and recording with their filters and starting folders, the
// self-closing question after a playlist title that did not open, and the
// messages of the empty playlist and of a recording that ended by itself.
#include <QString>

#include "recording/CVcrCore.h"

class QWidget;

class CVcrPrompts : public IVcrPrompts {
  public:
    /// The seconds the question after a failed title waits for an answer.
    static constexpr int kCountdownSeconds = 10;

    explicit CVcrPrompts(QWidget* owner) : owner_(owner) {}

    QString AskPlaybackFile(const QString& folder) override;
    QString AskRecordingFile(const QString& folder, QString& suffix) override;
    bool AskEndPlaylist(const QString& path) override;
    void ShowEmptyPlaylist() override;
    void ShowRecordingEnded(const QString& path) override;

    /// The filter lists of the two file dialogs, in their order.
    static QStringList PlaybackFilters();
    static QStringList RecordingFilters();
    /// The question's text with `seconds` left.
    static QString CountdownText(int seconds);

  private:
    QWidget* owner_;
};
