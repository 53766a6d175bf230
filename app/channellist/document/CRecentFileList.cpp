#include "channellist/document/CRecentFileList.h"

#include <QFileInfo>

namespace {
/// Two spellings of one file count as the same entry.
QString Normalised(const QString& path) { return QFileInfo(path).absoluteFilePath(); }
}  // namespace

void CRecentFileList::ReadList(QSettings& settings) {
    entries_.clear();
    settings.beginGroup(Section);
    for (int i = 0; i < Size; ++i) {
        const QString path = settings.value(KeyOf(i)).toString();
        if (!path.isEmpty() && !entries_.contains(path)) entries_.append(path);
    }
    settings.endGroup();
}

void CRecentFileList::WriteList(QSettings& settings) const {
    settings.beginGroup(Section);
    for (int i = 0; i < Size; ++i) {
        if (i < entries_.size())
            settings.setValue(KeyOf(i), entries_.at(i));
        else
            settings.remove(KeyOf(i));
    }
    settings.endGroup();
}

void CRecentFileList::Add(const QString& path) {
    if (path.isEmpty()) return;
    const QString entry = Normalised(path);
    entries_.removeAll(entry);
    entries_.prepend(entry);
    while (entries_.size() > Size) entries_.removeLast();
}

void CRecentFileList::Remove(const QString& path) { entries_.removeAll(Normalised(path)); }

QString CRecentFileList::ReadFirst(QSettings& settings) {
    settings.beginGroup(Section);
    const QString first = settings.value(KeyOf(0), None).toString();
    settings.endGroup();
    return first.isEmpty() ? None : first;
}
