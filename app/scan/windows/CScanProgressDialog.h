#pragma once
// The running scan: the transponder in work ("Transponder 2 von 5: 12226 MHz
// V 27500"), what the scan does there, the programs found so far and a
// progress bar. A timer steps the scan, so the window stays responsive;
// "Abbrechen" (or closing the window) stops it at any time and what was found
// stays. The dialog closes by itself when the scan is done.
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdint>
#include <functional>

class CScanRun;
class QLabel;
class QListWidget;
class QProgressBar;

class CScanProgressDialog : public QDialog {
    Q_OBJECT
  public:
    /// Steps `run` every `periodMs` from when the dialog shows.
    CScanProgressDialog(CScanRun& run, QWidget* parent = nullptr, int periodMs = 20);

    QString TransponderLine() const;
    QString StateLine() const;
    QString FoundLine() const;
    /// The names of the programs found, as listed.
    QStringList FoundNames() const;
    int ProgressValue() const;
    int ProgressMaximum() const;

    void reject() override;  ///< "Abbrechen": the scan stops, the dialog closes

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Tick();
    void Refresh();

    CScanRun& run_;
    QTimer timer_;
    QElapsedTimer clock_;
    QLabel* transponder_ = nullptr;
    QLabel* state_ = nullptr;
    QLabel* found_ = nullptr;
    QListWidget* names_ = nullptr;
    QProgressBar* bar_ = nullptr;
};
