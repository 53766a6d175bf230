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
    if (!server_->listen(socketPath_)) qWarning("SVL_Editor: cannot listen on %s", qPrintable(socketPath_));
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

void CSingleInstance::OnNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->property("done").toBool()) return;
            if (!socket->canReadLine()) {
                // Whatever does not form one line within the limit is dropped.
                if (socket->bytesAvailable() > MaxMessage) socket->abort();
                return;
            }
            QByteArray line = socket->readLine(MaxMessage + 1);
            socket->setProperty("done", true);
            if (!line.endsWith('\n')) {
                socket->abort();
                return;
            }
            line.chop(1);
            socket->disconnectFromServer();
            emit activationRequested(QString::fromUtf8(line));
        });
    }
}
