#pragma once
#include <QApplication>
#include <QString>

/// The application object that turns a processor exception in the handling
/// of an event into the crash report. While an event is dispatched on the
/// user-interface thread, a fault there (SIGSEGV, SIGFPE, SIGILL, SIGBUS)
/// leaves the failing handler and comes back to the dispatch, which writes the
/// report to standard error, shows it in the dialog "Crash Details" and ends
/// the process with exit code 3 once the user has pressed OK. Faults of other
/// threads, faults outside a dispatch and signals sent by other processes go
/// to the handler that was there before, as if the guard did not exist.
/// Only one instance may exist.
class CGuardedApplication : public QApplication {
    Q_OBJECT
  public:
    static inline const QString ApplicationName = QStringLiteral("SVL_Editor");
    static inline const QString SendTo = QStringLiteral("fehlerbericht@svl-editor.invalid");
    static constexpr int CrashExitCode = 3;

    CGuardedApplication(int& argc, char** argv);
    ~CGuardedApplication() override;

    /// The program file and the version text of the report ("Unknown" until set).
    void SetProgramPath(const QString& path) { programPath_ = path; }
    void SetVersionText(const QString& version) { versionText_ = version; }
    const QString& ProgramPath() const { return programPath_; }
    const QString& VersionText() const { return versionText_; }

    bool notify(QObject* receiver, QEvent* event) override;

  private:
    [[noreturn]] void ReportCrash();

    QString programPath_ = QStringLiteral("Unknown");
    QString versionText_ = QStringLiteral("Unknown");
};
