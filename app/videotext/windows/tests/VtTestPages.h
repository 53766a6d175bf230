#pragma once
// Pages for the window's tests: a fixed page with colours, backgrounds,
// double height, mosaics and umlauts, and pages with page numbers to click.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "videotext/tests/PageBuilder.h"

namespace vtwin {

/// The fixed page of the reference picture.
inline vt::PageChars ShowcasePage() {
    vttest::PageBuilder b;
    b.Put(0, 0, "        ARD Text    Mo 07.12. 12:00:00  ");
    b.Put(1, 0,
          " \x01"
          "Rot \x02"
          "Gr}n \x03"
          "Gelb \x04"
          "Blau \x05"
          "Magenta\x06"
          "Cyan");
    b.Put(2, 0,
          " \x04\x1d\x07"
          " Wei~ auf Blau \x1c"
          " Schwarz");
    b.Put(3, 0,
          " \x0d\x03"
          "Doppelte H|he [\\]")
        .Put(3, 30,
             "\x0c"
             " normal");
    b.Put(5, 0, " \x11\x7f\x7f\x35\x6a\x1a\x7f\x7f\x35\x6a\x12\x19\x23\x2c\x70");
    b.Put(6, 0,
          " \x16\x1e\x7f\x01\x02"
          "Halten \x1f\x16\x7f\x07"
          "Ende");
    b.Put(8, 0, " K{se, {|}[\\]~  Seite 205 ansehen");
    b.Put(10, 0,
          " \x05\x1d\x04"
          " blau auf magenta \x1c\x07"
          " weiter");
    b.Put(23, 0,
          "\x01"
          " 100 \x02"
          " 205 \x03"
          " 300 \x06"
          " 899");
    return b.chars;
}

/// Runs `step` on the modal window the next call opens (a message box).
inline void WhenModalOpens(std::function<void(QWidget*)> step) {
    QTimer::singleShot(0, [step] { step(QApplication::activeModalWidget()); });
}

/// Answers the next message box with the button of `text`; its text and
/// caption go to `seen`.
inline void AnswerBox(const QString& button, QString* seenText, QString* seenCaption = nullptr) {
    WhenModalOpens([button, seenText, seenCaption](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box) return;
        if (seenText) *seenText = box->text();
        if (seenCaption) *seenCaption = box->windowTitle();
        for (QAbstractButton* b : box->buttons()) {
            if (b->text() == button) {
                b->click();
                return;
            }
        }
        box->reject();
    });
}

}  // namespace vtwin
