#include "recording/windows/CPlayListDialogs.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QRegularExpression>

#include "Allgemein/QuestionBox.h"
#include "recording/windows/CPlayListEntryDialog.h"
#include "recording/windows/PlayListTexts.h"

namespace T = PlayListTexts;

namespace {

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

// The widget dialog filters its list through a file system model; it is
// given the patterns of the chosen filter, split at semicolons and blanks.
void UseOwnPatterns(QFileDialog& dialog) {
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (!model) return;
    const auto apply = [model](const QString& filter) {
        model->setNameFilters(CPlayListDialogs::FilterPatterns(filter));
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, model, apply);
    apply(dialog.selectedNameFilter());
}

}  // namespace

void CPlayListDialogs::ShowError(const QString& caption, const QString& text) {
    ShowBox(parent_, QMessageBox::Critical, caption, text);
}

void CPlayListDialogs::ShowWarning(const QString& caption, const QString& text) {
    ShowBox(parent_, QMessageBox::Warning, caption, text);
}

bool CPlayListDialogs::AskYesNo(const QString& caption, const QString& text) {
    return ::AskYesNo(parent_, caption, text, T::Yes, T::No);
}

QStringList CPlayListDialogs::FilterPatterns(const QString& filter) {
    static const QRegularExpression bracketed(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    const QRegularExpressionMatch match = bracketed.match(filter);
    const QString patterns = match.hasMatch() ? match.captured(1) : filter;
    static const QRegularExpression separators(QStringLiteral("[;\\s]+"));
    return patterns.split(separators, Qt::SkipEmptyParts);
}

std::unique_ptr<QFileDialog> CPlayListDialogs::MakeFileDialog(const FileRequest& request,
                                                              QWidget* parent) {
    auto dialog = std::make_unique<QFileDialog>(parent, request.title, request.folder);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    const bool open = request.mode == FileRequest::Mode::Open;
    dialog->setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog->setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog->setNameFilters(request.filters);
    if (!request.filters.isEmpty())
        dialog->selectNameFilter(request.selectedFilter.isEmpty() ? request.filters.constFirst()
                                                                  : request.selectedFilter);
    if (!request.defaultSuffix.isEmpty()) dialog->setDefaultSuffix(request.defaultSuffix);
    UseOwnPatterns(*dialog);
    return dialog;
}

QString CPlayListDialogs::AskFile(const FileRequest& request) {
    const auto dialog = MakeFileDialog(request, parent_);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
    return dialog->selectedFiles().constFirst();
}

bool CPlayListDialogs::EditEntry(CPlayListEntry& entry) {
    CPlayListEntryDialog dialog(entry, *this, parent_);
    return dialog.exec() == QDialog::Accepted;
}
