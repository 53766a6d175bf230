#pragma once
// Keeps the desktop from going to sleep while a timer records: a helper
// process (systemd-inhibit ... sleep infinity) holds the desktop's sleep and
// idle inhibitor as long as it runs. It runs in a process group of its own,
// so that releasing ends the helper and the command it waits on together.
// Without the helper, or when it fails, the recording goes on without one
// (one line in the log).
#include <QObject>
#include <QProcess>
#include <QStringList>

class CSleepInhibitor : public QObject {
    Q_OBJECT
  public:
    /// systemd-inhibit --what=sleep:idle --who=SVL_Editor "--why=Timeraufnahme läuft"
    /// --mode=block sleep infinity
    static QStringList DefaultCommand();

    /// `command`: the program, then its arguments (tests give their own).
    explicit CSleepInhibitor(QStringList command = DefaultCommand(), QObject* parent = nullptr);
    ~CSleepInhibitor() override;

    /// Starts the helper unless it runs.
    void Acquire();
    /// Ends the helper and what it started.
    void Release();
    bool Held() const { return process_.state() != QProcess::NotRunning; }

  private:
    void SignalGroup(int signal);

    QStringList command_;
    QProcess process_;
    bool releasing_ = false;
};
