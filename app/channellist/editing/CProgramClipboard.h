#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

/// The system clipboard as the editing commands use it: one block of copied programs under
/// the program's own format, so that two running programs exchange programs.
class CProgramClipboard {
  public:
    /// The MIME type of the block (on Windows it stands for the registered clipboard
    /// format "SVL-Programmliste").
    static QString MimeType();

    /// Replaces the clipboard's content by the block.
    static void Put(const QByteArray& block);
    /// The block on the clipboard, or nothing when it holds none.
    static std::optional<QByteArray> Get();
    static bool HasBlock();
};
