#include "videotext/windows/VtExportFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "videotext/VtExport.h"

namespace VtExportFolder {

QString DefaultFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath(QStringLiteral("Videotext"));
}

QString Folder() {
    const QString stored = QSettings().value(kSettingKey).toString();
    return stored.isEmpty() ? DefaultFolder() : stored;
}

void SetFolder(const QString& folder) { QSettings().setValue(kSettingKey, folder); }

QString FileFor(const QString& folder, int page, int subpageIndex) {
    return QString::fromStdString(
        vt::ExportFileName(QDir::cleanPath(folder).toStdString(), page, subpageIndex));
}

bool Write(const QString& path, const std::string& bytes) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const auto size = static_cast<qint64>(bytes.size());
    return file.write(bytes.data(), size) == size && file.flush();
}

}  // namespace VtExportFolder
