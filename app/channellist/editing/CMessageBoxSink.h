#pragma once
#include <QPointer>
#include <QWidget>

#include "channellist/editing/IMessageSink.h"

/// Shows messages as modal QMessageBox windows over a parent widget.
class CMessageBoxSink : public IMessageSink {
  public:
    explicit CMessageBoxSink(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    void Show(Icon icon, const QString& caption, const QString& text, bool topmost) override;

  private:
    QPointer<QWidget> parent_;
};
