#pragma once
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

/// Keeps the program to one instance per user. The first instance holds a
/// lock file and listens on a local socket; a later start hands its file (or
/// just a request to come to the front) to the first one and ends.
class CSingleInstance : public QObject {
    Q_OBJECT
  public:
    /// Longest message accepted from another instance (one path and a newline).
    static constexpr qint64 MaxMessage = 8192;

    /// `folder`: where lock and socket live (the user's runtime folder).
    CSingleInstance(const QString& folder, const QString& name, QObject* parent = nullptr);
    ~CSingleInstance() override;

    /// True when this is the first instance (it now listens for later starts).
    bool Acquire();
    /// From a later start: hands `file` (may be empty) to the first instance.
    bool HandOver(const QString& file, int timeoutMs = 3000);

    QString SocketPath() const { return socketPath_; }

    enum class MessageState { Incomplete, Complete, Invalid };
    /// Reads the hand-over message from the bytes received so far: one line of
    /// UTF-8 (the file, maybe empty) ended by a newline, at most MaxMessage bytes.
    static MessageState ParseMessage(const QByteArray& received, QString* file);

  signals:
    /// Another start asked this instance to come to the front and open `file` (maybe empty).
    void activationRequested(const QString& file);

  private:
    void OnNewConnection();

    QString socketPath_;
    QLockFile lock_;
    std::unique_ptr<QLocalServer> server_;
};
