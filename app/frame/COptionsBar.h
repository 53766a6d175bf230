#pragma once
#include <QComboBox>
#include <QToolBar>

/// The dialog bar "Optionen": the program filter box (TV, Radio, Data, Alle;
/// item data 0..3) and the language box with the audio streams of the tuned
/// program (item data: audio PID). Choosing a filter posts the filter message
/// to the view; setting it from the program does not.
class COptionsBar : public QToolBar {
    Q_OBJECT
  public:
    explicit COptionsBar(QWidget* parent);

    QComboBox* ProgramFilterBox() const { return filter_; }
    QComboBox* LanguageBox() const { return language_; }
    /// Shows a filter index without telling the view (out of range becomes 0).
    void SetProgramFilter(int index);

  signals:
    /// The user chose an audio stream: its PID.
    void audioPidChosen(int pid);

  private:
    QComboBox* filter_;
    QComboBox* language_;
};
