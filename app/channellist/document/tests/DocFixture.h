#pragma once
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "ScriptedPrompts.h"
#include "channellist/document/CSVL_EditorDoc.h"

/// A fresh settings store, a temporary folder and a document on scripted prompts.
class DocFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QSettings().clear();
        doc = std::make_unique<CSVL_EditorDoc>(prompts);
    }
    void TearDown() override { QSettings().clear(); }

    QString PathOf(const QString& name) const { return dir.filePath(name); }

    /// Writes a list file with the given program names and returns its path.
    QString WriteListFile(const QString& name, std::initializer_list<const char*> programs) {
        const auto bytes = MakeList(programs).Store();
        const QString path = PathOf(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        return path;
    }
    QString WriteRawFile(const QString& name, const QByteArray& bytes) {
        const QString path = PathOf(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    static QByteArray ReadAll(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void SetFile1(const QString& value) {
        QSettings settings;
        settings.setValue(QStringLiteral("Recent File List/File1"), value);
    }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<CSVL_EditorDoc> doc;
};
