#include "channellist/document/CDvbImportCommand.h"

#include <QFile>
#include <QFileInfo>
#include <span>
#include <string>

#include "channellist/AtomicFile.h"
#include "channellist/DvbImport.h"
#include "channellist/document/CSVL_EditorDoc.h"
#include "channellist/document/DocumentTexts.h"
#include "channellist/document/IImportPrompts.h"

QString CDvbImportCommand::WithSvlExtension(const QString& path) {
    return QFileInfo(path).suffix().toLower() == QStringLiteral("svl")
               ? path
               : path + QStringLiteral(".svl");
}

CDvbImportCommand::Result CDvbImportCommand::Run() {
    const QString source = prompts_.AskImportFile(OpenTitle, OpenFilter);
    if (source.isEmpty()) return Result::Cancelled;

    QFile file(source);
    if (!file.open(QIODevice::ReadOnly) || file.size() > CSVL_EditorDoc::MaxFileSize) {
        prompts_.ShowImportError(Caption,
                                 DocumentTexts::CannotOpen.arg(source, file.errorString()));
        return Result::ReadFailed;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        prompts_.ShowImportError(Caption,
                                 DocumentTexts::CannotOpen.arg(source, file.errorString()));
        return Result::ReadFailed;
    }
    file.close();

    CSVLFile list;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    // A file that is no .dvb list is dropped without a word.
    if (!ImportDvbList(std::span<const std::uint8_t>(data, std::size_t(bytes.size())), list,
                       nullptr))
        return Result::NotImportable;

    const QString chosen = prompts_.AskImportTarget(SaveTitle, SaveFilter);
    if (chosen.isEmpty()) return Result::Cancelled;
    const QString target = WithSvlExtension(chosen);
    std::string error;
    if (!SaveFileAtomically(QFile::encodeName(target).toStdString(), list.Store(), &error)) {
        prompts_.ShowImportError(Caption, CannotCreate);
        return Result::WriteFailed;
    }
    if (!prompts_.AskImportYesNo(Caption, OpenQuestion)) return Result::Written;
    return doc_.OpenDocumentFile(target) ? Result::Opened : Result::Written;
}
