#include "channellist/document/CDialogPrompts.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "channellist/document/DocumentTexts.h"

QString CDialogPrompts::ToDialogFilter(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& name = parts.at(i);
        const QString& pattern = parts.at(i + 1);
        if (name.isEmpty() || pattern.isEmpty()) continue;
        const QString wrapped = u'(' + pattern + u')';
        // The dialog takes the last bracketed group as the pattern.
        filters << (name.endsWith(wrapped) ? name : name + u' ' + wrapped);
    }
    return filters.join(QStringLiteral(";;"));
}

QString CDialogPrompts::AskOpenFile(const QString& title, const QString& filter) {
    return RunFileDialog({title, filter, QString(), QString(), QFileDialog::AcceptOpen});
}

QString CDialogPrompts::AskSaveFile(const QString& title, const QString& filter,
                                    const QString& proposedPath) {
    return RunFileDialog(
        {title, filter, DocumentTexts::Extension.mid(1), proposedPath, QFileDialog::AcceptSave});
}

QString CDialogPrompts::RunFileDialog(const FilePrompt& prompt) {
    QFileDialog dialog(parent_, prompt.title, QString(), ToDialogFilter(prompt.filter));
    dialog.setAcceptMode(prompt.mode);
    // A save prompt asks before replacing a file; an open prompt takes existing files only.
    dialog.setFileMode(prompt.mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                              : QFileDialog::AnyFile);
    if (!prompt.suffix.isEmpty()) dialog.setDefaultSuffix(prompt.suffix);
    if (!prompt.proposedPath.isEmpty()) dialog.selectFile(prompt.proposedPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

SaveChangesAnswer CDialogPrompts::AskSaveChanges(const QString& text) {
    QMessageBox box(QMessageBox::Question, DocumentTexts::AppTitle, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return SaveChangesAnswer::Yes;
        case QMessageBox::No:
            return SaveChangesAnswer::No;
        default:
            return SaveChangesAnswer::Cancel;
    }
}

void CDialogPrompts::ShowError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, DocumentTexts::AppTitle, text, QMessageBox::Ok, parent_);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

QString CDialogPrompts::AskImportFile(const QString& title, const QString& filter) {
    return RunFileDialog(
        {title, filter, QStringLiteral("dvb"), QString(), QFileDialog::AcceptOpen});
}

QString CDialogPrompts::AskImportTarget(const QString& title, const QString& filter) {
    return RunFileDialog(
        {title, filter, QStringLiteral("svl"), QString(), QFileDialog::AcceptSave});
}

void CDialogPrompts::ShowImportError(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent_);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

bool CDialogPrompts::AskImportYesNo(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent_);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    return box.exec() == QMessageBox::Yes;
}
