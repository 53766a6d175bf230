#include "frame/CSingleInstance.h"

#include <QDir>
#include <QLocalSocket>

CSingleInstance::CSingleInstance(const QString& folder, const QString& name, QObject* parent)
    : QObject(parent),
      socketPath_(QDir(folder).filePath(name)),
      lock_(QDir(folder).filePath(name + QStringLiteral(".lock"))) {
    QDir().mkpath(folder);
}

CSingleInstance::~CSingleInstance() {
    if (server_) server_->close();
}

bool CSingleInstance::Acquire() {
    if (!lock_.tryLock(0)) return false;
    // We hold the lock, so a socket file left over is from an instance that died.
    QLocalServer::removeServer(socketPath_);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_.get(), &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
    if (!server_->listen(socketPath_))
        qWarning("SVL_Editor: cannot listen on %s", qPrintable(socketPath_));
    return true;
}

bool CSingleInstance::HandOver(const QString& file, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(timeoutMs)) return false;
    QByteArray message = file.toUtf8();
    message.append('\n');
    if (message.size() > MaxMessage) return false;
    socket.write(message);
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    socket.disconnectFromServer();
    return true;
}

CSingleInstance::MessageState CSingleInstance::ParseMessage(const QByteArray& received,
                                                            QString* file) {
    const qsizetype end = received.indexOf('\n');
    if (end < 0)
        return received.size() >= MaxMessage ? MessageState::Invalid : MessageState::Incomplete;
    if (end >= MaxMessage) return MessageState::Invalid;
    const QByteArray line = received.left(end);
    if (line.contains('\0')) return MessageState::Invalid;
    const QString text = QString::fromUtf8(line);
    if (text.toUtf8() != line) return MessageState::Invalid;  // not valid UTF-8
    if (file) *file = text;
    return MessageState::Complete;
}

void CSingleInstance::OnNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->property("done").toBool()) return;
            QByteArray received = socket->property("received").toByteArray();
            received += socket->read(MaxMessage + 1 - received.size());
            QString file;
            switch (ParseMessage(received, &file)) {
                case MessageState::Incomplete:
                    socket->setProperty("received", received);
                    return;
                case MessageState::Invalid:
                    socket->setProperty("done", true);
                    socket->abort();
                    return;
                case MessageState::Complete:
                    break;
            }
            socket->setProperty("done", true);
            socket->disconnectFromServer();
            emit activationRequested(file);
        });
    }
}
