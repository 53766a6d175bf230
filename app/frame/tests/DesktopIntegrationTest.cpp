// Registration of the .svl type in the user's (here: temporary) data folder.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "frame/CDesktopIntegration.h"

namespace {
QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}  // namespace

TEST(DesktopIntegration, WritesEntryMimeTypeAndIconOnceUntilTheyChange) {
    QTemporaryDir data;
    CDesktopIntegration desktop(data.path(), QStringLiteral("/opt/svl/SVL_Editor"));
    const QStringList written = desktop.Refresh();
    EXPECT_EQ(written, (QStringList{desktop.DesktopFilePath(), desktop.MimeFilePath(),
                                    desktop.IconFilePath()}));

    const QByteArray entry = Read(desktop.DesktopFilePath());
    EXPECT_TRUE(entry.contains("Exec=\"/opt/svl/SVL_Editor\" %f\n"));
    EXPECT_TRUE(entry.contains("MimeType=application/x-svl-programmliste;"));
    const QByteArray mime = Read(desktop.MimeFilePath());
    EXPECT_TRUE(mime.contains("<glob pattern=\"*.svl\"/>"));
    EXPECT_TRUE(mime.contains("SVL_Ed Document"));
    EXPECT_TRUE(Read(desktop.IconFilePath()).startsWith("<?xml"));

    EXPECT_TRUE(desktop.Refresh().isEmpty());  // nothing changed, nothing written

    CDesktopIntegration moved(data.path(), QStringLiteral("/usr/local/bin/SVL_Editor"));
    EXPECT_EQ(moved.Refresh(), QStringList{moved.DesktopFilePath()});
}

TEST(DesktopIntegration, ExecLineQuotesAwkwardPaths) {
    CDesktopIntegration desktop(QStringLiteral("/tmp/unused"),
                                QStringLiteral("/home/a b/$x \"q\"/100%/SVL_Editor"));
    EXPECT_TRUE(
        desktop.DesktopEntry().contains("Exec=\"/home/a b/\\$x \\\"q\\\"/100%%/SVL_Editor\" %f\n"))
        << desktop.DesktopEntry().toStdString();
}
