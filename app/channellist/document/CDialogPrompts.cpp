#include "channellist/document/CDialogPrompts.h"

#include <QFileDialog>
#include <QAbstractButton>
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
    QFileDialog dialog(parent_, title, QString(), ToDialogFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

QString CDialogPrompts::AskSaveFile(const QString& title, const QString& filter,
                                    const QString& proposedPath) {
    QFileDialog dialog(parent_, title, QString(), ToDialogFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(DocumentTexts::Extension.mid(1));
    dialog.selectFile(proposedPath);
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
    case QMessageBox::Yes: return SaveChangesAnswer::Yes;
    case QMessageBox::No: return SaveChangesAnswer::No;
    default: return SaveChangesAnswer::Cancel;
    }
}

void CDialogPrompts::ShowError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, DocumentTexts::AppTitle, text, QMessageBox::Ok, parent_);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

QString CDialogPrompts::AskImportFile(const QString& title, const QString& filter) {
    return AskOpenFile(title, filter);
}

QString CDialogPrompts::AskImportTarget(const QString& title, const QString& filter) {
    QFileDialog dialog(parent_, title, QString(), ToDialogFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);  // asks before replacing a file
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("svl"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

void CDialogPrompts::ShowImportError(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent_);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

bool CDialogPrompts::AskImportYesNo(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent_);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    return box.exec() == QMessageBox::Yes;
}
