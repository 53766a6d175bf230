#pragma once
#include <QComboBox>
#include <QLineEdit>
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
    QLineEdit* QuickFilterField() const { return quickFilter_; }
    /// Shows a filter index without telling the view (out of range becomes 0).
    void SetProgramFilter(int index);

  signals:
    /// The user chose an audio stream: its PID.
    void audioPidChosen(int pid);
    /// The text of the quick filter changed (each keystroke).
    void quickFilterChanged(const QString& text);

  private:
    QComboBox* filter_;
    QComboBox* language_;
    QLineEdit* quickFilter_;
};
