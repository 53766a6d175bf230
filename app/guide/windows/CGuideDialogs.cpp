#include "guide/windows/CGuideDialogs.h"

#include <QInputDialog>
#include <QMessageBox>

#include "guide/windows/CDetailWindow.h"
#include "guide/windows/CSearchResultWindow.h"
#include "guide/windows/GuideWindowTexts.h"

namespace T = GuideWindowTexts;

std::optional<QString> CGuideDialogs::AskSearchText(QWidget* parent) {
    QInputDialog input(parent);
    input.setWindowTitle(T::SearchCaption);
    input.setLabelText(T::SearchPrompt);
    input.setOkButtonText(T::Ok);
    input.setCancelButtonText(T::Cancel);
    if (input.exec() != QDialog::Accepted) return std::nullopt;
    return input.textValue();
}

void CGuideDialogs::TellNothingFound(QWidget* parent) {
    QMessageBox box(QMessageBox::Information, T::SearchCaption, T::NothingFound, QMessageBox::Ok,
                    parent);
    box.exec();
}

void CGuideDialogs::ShowDetail(const CEPGInfo& record, QWidget* parent) {
    CDetailWindow window(record, parent);
    window.exec();
}

void CGuideDialogs::ShowResults(std::vector<const CEPGInfo*> hits, QWidget* parent) {
    CSearchResultWindow window(std::move(hits), hooks_, parent);
    window.exec();
}
