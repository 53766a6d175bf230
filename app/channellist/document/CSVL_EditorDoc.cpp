#include "channellist/document/CSVL_EditorDoc.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <span>
#include <string>

#include "channellist/AtomicFile.h"
#include "channellist/document/DocumentTexts.h"

CSVL_EditorDoc::CSVL_EditorDoc(IDocumentPrompts& prompts, QObject* parent)
    : QObject(parent), prompts_(prompts), title_(DocumentTexts::Untitled) {
    QSettings settings;
    recent_.ReadList(settings);
}

void CSVL_EditorDoc::SetModifiedFlag(bool modified) {
    if (modified_ == modified) return;
    modified_ = modified;
    emit modifiedChanged(modified_);
}

void CSVL_EditorDoc::OnNewDocument() {
    pathName_.clear();
    title_ = DocumentTexts::Untitled;
    SetModifiedFlag(false);
    emit titleChanged(title_);
}

void CSVL_EditorDoc::SetPathName(const QString& path) {
    const QFileInfo info(path);
    pathName_ = info.absoluteFilePath();
    title_ = info.fileName();
    emit titleChanged(title_);
}

void CSVL_EditorDoc::UpdateRecent(const QString& path, bool add) {
    QSettings settings;
    recent_.ReadList(settings);  // another instance may have changed it
    if (add)
        recent_.Add(path);
    else
        recent_.Remove(path);
    recent_.WriteList(settings);
    emit recentFilesChanged();
}

bool CSVL_EditorDoc::ReadFile(const QString& path, QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        prompts_.ShowError(DocumentTexts::CannotOpen.arg(path, file.errorString()));
        return false;
    }
    if (file.size() > MaxFileSize) {
        prompts_.ShowError(DocumentTexts::CannotOpen.arg(path, DocumentTexts::TooLarge));
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        prompts_.ShowError(DocumentTexts::CannotOpen.arg(path, file.errorString()));
        return false;
    }
    return true;
}

CSVL_EditorDoc::OpenResult CSVL_EditorDoc::OnOpenDocument(const QString& path) {
    QByteArray bytes;
    if (!ReadFile(path, bytes)) return OpenResult::CannotOpen;  // document untouched

    ArchiveError error;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    if (!list_.Load(std::span<const std::uint8_t>(data, std::size_t(bytes.size())), &error)) {
        prompts_.ShowError(DocumentTexts::BadFormat.arg(path, QString::fromStdString(error.message))
                               .arg(qulonglong(error.offset)));
        list_.Clear();
        OnNewDocument();
        return OpenResult::FormatError;
    }
    SetPathName(path);
    SetModifiedFlag(false);
    return OpenResult::Opened;
}

bool CSVL_EditorDoc::WriteList(const QString& path, bool removeOnFailure) {
    const bool existedBefore = QFileInfo::exists(path);
    const std::vector<std::uint8_t> bytes = list_.Store();
    std::string error;
    if (SaveFileAtomically(QFile::encodeName(path).toStdString(), bytes, &error)) return true;
    prompts_.ShowError(DocumentTexts::CannotSave.arg(path, QString::fromStdString(error)));
    // Nothing half-written may stay behind under a new name.
    if (removeOnFailure && !existedBefore && QFileInfo(path).isFile()) QFile::remove(path);
    return false;
}

bool CSVL_EditorDoc::SaveCopy(const QString& path) { return WriteList(path, true); }

bool CSVL_EditorDoc::OnSaveDocument(const QString& path, bool newName) {
    if (!WriteList(path, newName)) return false;
    SetModifiedFlag(false);
    if (newName) {
        SetPathName(path);
        UpdateRecent(pathName_, true);
    }
    return true;
}

bool CSVL_EditorDoc::OnFileOpen() {
    const QString path = prompts_.AskOpenFile(DocumentTexts::OpenTitle, DocumentTexts::OpenFilter);
    if (path.isEmpty()) return false;
    return OpenDocumentFile(path);
}

bool CSVL_EditorDoc::OnFileSave() {
    if (pathName_.isEmpty()) return OnFileSaveAs();
    return OnSaveDocument(pathName_, false);
}

bool CSVL_EditorDoc::OnFileSaveAs() {
    const QString filter = DocumentTexts::FilterName + QStringLiteral("|*.svl|") +
                           DocumentTexts::AllFilesName + QStringLiteral("|*.*|");
    const QString path =
        prompts_.AskSaveFile(DocumentTexts::SaveAsTitle, filter, ProposedSaveName());
    if (path.isEmpty()) return false;
    return OnSaveDocument(path, true);
}

bool CSVL_EditorDoc::OnOpenRecentFile(int index) {
    if (index < 0 || index >= recent_.Entries().size()) return false;
    const QString path = recent_.Entries().at(index);
    if (!QFileInfo(path).isFile()) {
        prompts_.ShowError(DocumentTexts::CannotOpen.arg(path, QString()));
        UpdateRecent(path, false);
        return false;
    }
    return OpenDocumentFile(path);
}

bool CSVL_EditorDoc::SaveModified() {
    if (!modified_) return true;
    const QString name = pathName_.isEmpty() ? title_ : pathName_;
    switch (prompts_.AskSaveChanges(DocumentTexts::SaveChanges.arg(name))) {
        case SaveChangesAnswer::Yes:
            return OnFileSave();
        case SaveChangesAnswer::No:
            return true;
        case SaveChangesAnswer::Cancel:
            break;
    }
    return false;
}

bool CSVL_EditorDoc::OpenDocumentFile(const QString& path) {
    if (!SaveModified()) return false;
    const OpenResult result = OnOpenDocument(path);
    if (result == OpenResult::CannotOpen) return false;
    if (result == OpenResult::Opened) UpdateRecent(pathName_, true);
    emit documentChanged();
    return result == OpenResult::Opened;
}

bool CSVL_EditorDoc::OpenAtStartup(const QString& commandLineFile) {
    if (!commandLineFile.isEmpty()) return OpenDocumentFile(commandLineFile);

    QSettings settings;
    const QString last = CRecentFileList::ReadFirst(settings);
    if (last != CRecentFileList::None && QFile(last).open(QIODevice::ReadOnly)) {
        // A damaged last list is reported and then handled like a missing one,
        // so that it cannot keep the program from starting.
        if (OpenDocumentFile(last)) return true;
    }
    return OnFileNew();
}

QString CSVL_EditorDoc::ProposedSaveName() const {
    if (!pathName_.isEmpty()) return pathName_;
    QString name = title_;
    const qsizetype cut = name.indexOf(QRegularExpression(QStringLiteral("[ #%;/\\\\]")));
    if (cut >= 0) name.truncate(cut);
    return name + DocumentTexts::Extension;
}
