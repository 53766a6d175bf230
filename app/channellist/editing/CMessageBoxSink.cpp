#include "channellist/editing/CMessageBoxSink.h"

#include <QMessageBox>

void CMessageBoxSink::Show(Icon icon, const QString& caption, const QString& text, bool topmost) {
    QMessageBox box(parent_);
    box.setIcon(icon == Icon::Information ? QMessageBox::Information
                : icon == Icon::Warning   ? QMessageBox::Warning
                                          : QMessageBox::Critical);
    box.setWindowTitle(caption);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    if (topmost) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.exec();
}
