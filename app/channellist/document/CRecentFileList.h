#pragma once
#include <QSettings>
#include <QString>
#include <QStringList>

/// The list of recently used files: most recent first, at most Size entries,
/// kept in the settings section "Recent File List" as "File1" .. "File4".
class CRecentFileList {
  public:
    static constexpr int Size = 4;
    static inline const QString Section = QStringLiteral("Recent File List");
    static inline const QString None = QStringLiteral("<<NONE>>");

    /// Reads the entries from the settings store.
    void ReadList(QSettings& settings);
    /// Writes the entries; unused slots are removed from the store.
    void WriteList(QSettings& settings) const;

    /// Puts the path at the top; an entry already present moves up.
    void Add(const QString& path);
    /// Drops an entry (a file that could no longer be opened).
    void Remove(const QString& path);

    const QStringList& Entries() const { return entries_; }

    /// "File1" of the store, or "<<NONE>>" when there is none.
    static QString ReadFirst(QSettings& settings);
    static QString KeyOf(int index) { return QStringLiteral("File%1").arg(index + 1); }

  private:
    QStringList entries_;
};
