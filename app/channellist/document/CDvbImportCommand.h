#pragma once
#include <QString>

class CSVL_EditorDoc;
class IImportPrompts;

/// "DVB-Senderliste importieren...": reads a .dvb channel list, stores it as a
/// new .svl list where the user says and offers to open it. The current
/// document is only touched when the user opens the new list.
class CDvbImportCommand {
  public:
    static inline const QString OpenTitle = QStringLiteral("DVB-Senderliste importieren");
    static inline const QString OpenFilter =
        QStringLiteral("DVB Senderliste (*.dvb)|*.dvb|Alle Dateien (*.*)|*.*||");
    static inline const QString SaveTitle = QStringLiteral("SVL-Senderliste speichern unter");
    static inline const QString SaveFilter =
        QStringLiteral("SVL Senderliste (*.svl)|*.svl|Alle Dateien (*.*)|*.*||");
    static inline const QString Caption = QStringLiteral("DVB-Senderlisten Import");
    static inline const QString CannotCreate =
        QStringLiteral("SVL-Senderliste konnte nicht erstellt werden!");
    static inline const QString OpenQuestion =
        QStringLiteral("Wollen Sie die importierte Senderliste gleich öffnen?");

    enum class Result { Cancelled, NotImportable, ReadFailed, WriteFailed, Written, Opened };

    CDvbImportCommand(IImportPrompts& prompts, CSVL_EditorDoc& doc)
        : prompts_(prompts), doc_(doc) {}

    Result Run();

    /// The save name with ".svl" appended unless it already ends so (any case).
    static QString WithSvlExtension(const QString& path);

  private:
    IImportPrompts& prompts_;
    CSVL_EditorDoc& doc_;
};
