#include "frame/CDesktopIntegration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include "frame/Resources.h"

namespace {
QByteArray Resource(const QString& name) {
    QFile file(QStringLiteral(":/svl/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Quotes an argument of an Exec line as the desktop entry format wants it.
QByteArray QuoteExec(const QString& path) {
    QByteArray quoted = path.toUtf8();
    for (const char c : {'\\', '"', '`', '$'})
        quoted.replace(QByteArray(1, c), QByteArray("\\") + c);
    quoted.replace("%", "%%");
    return '"' + quoted + '"';
}
}  // namespace

CDesktopIntegration::CDesktopIntegration(QString dataHome, QString executable)
    : dataHome_(std::move(dataHome)), executable_(std::move(executable)) {
    InitSvlEditorResources();
}

QString CDesktopIntegration::DesktopFilePath() const {
    return dataHome_ + QStringLiteral("/applications/svl-editor.desktop");
}
QString CDesktopIntegration::MimeFilePath() const {
    return dataHome_ + QStringLiteral("/mime/packages/svl-editor.xml");
}
QString CDesktopIntegration::IconFilePath() const {
    return dataHome_ + QStringLiteral("/icons/hicolor/scalable/apps/svl-editor.svg");
}

QByteArray CDesktopIntegration::DesktopEntry() const {
    QByteArray entry = Resource(QStringLiteral("svl-editor.desktop"));
    const QByteArray exec = QuoteExec(executable_);
    entry.replace("Exec=SVL_Editor %f",
                  "TryExec=" + executable_.toUtf8() + "\nExec=" + exec + " %f");
    return entry;
}

bool CDesktopIntegration::WriteIfChanged(const QString& path, const QByteArray& content) {
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content) return false;
    existing.close();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(content);
    return file.commit();
}

QStringList CDesktopIntegration::Refresh() {
    QStringList written;
    if (executable_.isEmpty() || dataHome_.isEmpty()) return written;
    const std::pair<QString, QByteArray> files[] = {
        {DesktopFilePath(), DesktopEntry()},
        {MimeFilePath(), Resource(QStringLiteral("svl-editor-mime.xml"))},
        {IconFilePath(), Resource(QStringLiteral("svl-editor.svg"))},
    };
    for (const auto& [path, content] : files)
        if (!content.isEmpty() && WriteIfChanged(path, content)) written << path;
    return written;
}

void CDesktopIntegration::UpdateCaches(const QStringList& written) const {
    for (const QString& path : written) {
        if (path == MimeFilePath()) {
            const QString tool =
                QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
            if (!tool.isEmpty())
                QProcess::startDetached(tool, {dataHome_ + QStringLiteral("/mime")});
        } else if (path == DesktopFilePath()) {
            const QString tool =
                QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
            if (!tool.isEmpty())
                QProcess::startDetached(tool, {dataHome_ + QStringLiteral("/applications")});
        }
    }
}
