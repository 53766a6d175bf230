#include "channellist/editing/CProgramClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "channellist/ClipboardBlock.h"

QString CProgramClipboard::MimeType() { return QString::fromLatin1(ClipboardMimeType); }

void CProgramClipboard::Put(const QByteArray& block) {
    auto* data = new QMimeData;
    data->setData(MimeType(), block);
    QGuiApplication::clipboard()->setMimeData(data);  // takes ownership
}

std::optional<QByteArray> CProgramClipboard::Get() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(MimeType())) return std::nullopt;
    return data->data(MimeType());
}

bool CProgramClipboard::HasBlock() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasFormat(MimeType());
}
