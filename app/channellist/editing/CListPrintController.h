#pragma once
#include <QObject>
#include <QPointer>
#include <QPrinter>
#include <QString>

class IListEditHost;
class IMessageSink;
class QWidget;

/// The print commands of the program list: print, print preview and printer setup.
/// Printing is refused while the list is in category mode: when the print is prepared
/// ("...möglich wenn nicht...") and again when the pages are painted, should the mode
/// have been switched on in between.
class CListPrintController : public QObject {
    Q_OBJECT
  public:
    CListPrintController(IListEditHost& host, IMessageSink& messages, QWidget* parentWidget,
                         QObject* parent = nullptr);

    QPrinter& Printer() { return printer_; }

    /// "&Drucken...": print dialog, then the pages.
    void Print();
    /// "Sei&tenansicht": preview window.
    void PrintPreview();
    /// "Drucker&einrichtung...": page setup of the printer used by Print.
    void PrinterSetup();

    /// The checks and painting behind the commands, without dialogs.
    bool Prepare();
    /// Paints the list on `printer`; returns the number of pages, 0 when refused.
    int Render(QPrinter& printer);
    /// Prepares and prints to a PDF file; returns the number of pages, 0 when refused.
    int PrintToPdf(const QString& path);

  private:
    IListEditHost& host_;
    IMessageSink& messages_;
    QPointer<QWidget> parentWidget_;
    QPrinter printer_;
};
