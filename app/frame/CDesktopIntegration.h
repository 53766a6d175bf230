#pragma once
#include <QString>
#include <QStringList>

/// Registers the .svl type with the desktop in the user's own folders: a
/// desktop entry that opens files with this program, the MIME type for
/// "*.svl" and the icon. Files are only rewritten when their content changed,
/// and the desktop's caches are refreshed only then.
class CDesktopIntegration {
  public:
    static inline const QString MimeType = QStringLiteral("application/x-svl-programmliste");

    /// `dataHome`: the user's data folder (XDG_DATA_HOME); `executable`: this program.
    CDesktopIntegration(QString dataHome, QString executable);

    /// Writes what is missing or stale; returns the files it wrote.
    QStringList Refresh();
    /// Runs the desktop's cache tools for the written files (not waiting for them).
    void UpdateCaches(const QStringList& written) const;

    QString DesktopFilePath() const;
    QString MimeFilePath() const;
    QString IconFilePath() const;
    /// The desktop entry for this executable.
    QByteArray DesktopEntry() const;

  private:
    static bool WriteIfChanged(const QString& path, const QByteArray& content);

    QString dataHome_;
    QString executable_;
};
