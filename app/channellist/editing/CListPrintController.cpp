#include "channellist/editing/CListPrintController.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>

#include "channellist/editing/CProgramListPrinter.h"
#include "channellist/editing/EditTexts.h"
#include "channellist/editing/IListEditHost.h"
#include "channellist/editing/IMessageSink.h"

CListPrintController::CListPrintController(IListEditHost& host, IMessageSink& messages,
                                           QWidget* parentWidget, QObject* parent)
    : QObject(parent), host_(host), messages_(messages), parentWidget_(parentWidget) {
    printer_.setPageMargins(CProgramListPrinter::Margins(), QPageLayout::Millimeter);
    printer_.setDocName(QString::fromUtf8(EditText::PrintHeader));
}

bool CListPrintController::Prepare() {
    if (!host_.IsCategoryMode()) return true;
    messages_.Show(IMessageSink::Icon::Error, QString::fromUtf8(EditText::AppTitle),
                   QString::fromUtf8(EditText::PrintRefusedPrepare));
    return false;
}

int CListPrintController::Render(QPrinter& printer) {
    if (host_.IsCategoryMode()) {
        messages_.Show(IMessageSink::Icon::Error, QString::fromUtf8(EditText::AppTitle),
                       QString::fromUtf8(EditText::PrintRefusedPrint));
        return 0;
    }
    return CProgramListPrinter::Print(printer, host_.PrintTable());
}

void CListPrintController::Print() {
    if (!Prepare()) return;
    QPrintDialog dialog(&printer_, parentWidget_);
    if (dialog.exec() != QDialog::Accepted) return;
    Render(printer_);
}

void CListPrintController::PrintPreview() {
    if (!Prepare()) return;
    QPrintPreviewDialog dialog(&printer_, parentWidget_);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { Render(*printer); });
    dialog.exec();
}

void CListPrintController::PrinterSetup() {
    QPageSetupDialog dialog(&printer_, parentWidget_);
    dialog.exec();
}

int CListPrintController::PrintToPdf(const QString& path) {
    if (!Prepare()) return 0;
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(path);
    pdf.setDocName(QString::fromUtf8(EditText::PrintHeader));
    return Render(pdf);
}
