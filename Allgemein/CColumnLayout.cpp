#include "Allgemein/CColumnLayout.h"

#include <QSettings>
#include <algorithm>

namespace {

// Upper bound for stored counts, so that a damaged store cannot make a load loop for long.
constexpr int kMaxEntries = 1024;

QString Key(const char* name, int position) { return QString::fromLatin1(name).arg(position); }

// Reads an integer value; a missing or non-numeric value yields the default.
int ReadInt(const QSettings& s, const QString& key, int fallback) {
    bool ok = false;
    const int v = s.value(key, fallback).toInt(&ok);
    return ok ? v : fallback;
}

// Flags are unsigned 32-bit; the store may hold them either way.
std::uint32_t ReadFlags(const QSettings& s, const QString& key, std::uint32_t fallback) {
    bool ok = false;
    const qlonglong v = s.value(key, qlonglong(fallback)).toLongLong(&ok);
    return ok ? static_cast<std::uint32_t>(v) : fallback;
}

}  // namespace

void CColumnLayout::AddColumn(const CColumnDef& def) {
    if (CColumnDef* existing = Find(def.id)) {
        *existing = def;
        return;
    }
    defs_.push_back(def);
}

const CColumnDef* CColumnLayout::Find(int id) const {
    auto it =
        std::find_if(defs_.begin(), defs_.end(), [id](const CColumnDef& d) { return d.id == id; });
    return it == defs_.end() ? nullptr : &*it;
}

CColumnDef* CColumnLayout::Find(int id) {
    return const_cast<CColumnDef*>(std::as_const(*this).Find(id));
}

std::vector<CColumnDef> CColumnLayout::ShownDefinitions() const {
    std::vector<CColumnDef> out;
    out.reserve(shown_.size());
    for (int id : shown_)
        if (const CColumnDef* d = Find(id)) out.push_back(*d);
    return out;
}

void CColumnLayout::TakeWidths(const std::vector<int>& widths) {
    // Widths are positions of the built header, which skips ids without a definition.
    std::vector<int> builtIds;
    for (int id : shown_)
        if (Find(id)) builtIds.push_back(id);
    const std::size_t n = std::min(builtIds.size(), widths.size());
    for (std::size_t i = n; i-- > 0;) Find(builtIds[i])->width = widths[i];
}

QString CColumnLayout::GroupOf(const QString& listName) {
    return QStringLiteral("GfxLists/") + listName;
}

void CColumnLayout::Save(QSettings& s, const QString& listName) const {
    s.beginGroup(GroupOf(listName));
    s.setValue(QStringLiteral("NumDef"), int(shown_.size()));
    for (std::size_t i = 0; i < shown_.size(); ++i)
        s.setValue(Key("DefColId %1", int(i)), shown_[i]);
    s.setValue(QStringLiteral("DefNum"), int(defs_.size()));
    for (std::size_t i = 0; i < defs_.size(); ++i) {
        const CColumnDef& d = defs_[i];
        const int p = int(i);
        s.setValue(Key("ColDef_id_%1", p), d.id);
        s.setValue(Key("ColDef_align_%1", p), d.align);
        s.setValue(Key("ColDef_width_%1", p), d.width);
        s.setValue(Key("ColDef_image_%1", p), d.image);
        s.setValue(Key("ColDef_dwdata_%1", p), qlonglong(d.flags));
        s.setValue(Key("ColDef_text_%1", p), d.text);
        s.setValue(Key("ColDef_textdt_%1", p), d.textdt);
        s.setValue(Key("ColDef_descr_%1", p), d.descr);
    }
    s.endGroup();
}

void CColumnLayout::Load(QSettings& s, const QString& listName) {
    s.beginGroup(GroupOf(listName));
    const int numDef = ReadInt(s, QStringLiteral("NumDef"), 0);
    if (numDef > 0) {
        std::vector<int> shown;
        for (int i = 0; i < numDef && i < kMaxEntries; ++i) {
            const int id = ReadInt(s, Key("DefColId %1", i), -1);
            if (id >= 0) shown.push_back(id);
        }
        // A damaged store that names no column at all would leave an empty
        // list; the built-in set is kept instead.
        if (!shown.empty()) shown_ = std::move(shown);
        const int defNum = ReadInt(s, QStringLiteral("DefNum"), -1);
        for (int i = 0; i < defNum && i < kMaxEntries; ++i) LoadDefinition(s, i);
    }
    s.endGroup();
}

void CColumnLayout::LoadDefinition(QSettings& s, int p) {
    const int id = ReadInt(s, Key("ColDef_id_%1", p), -1);
    CColumnDef* d = id >= 0 ? Find(id) : nullptr;
    if (!d) return;
    d->align = ReadInt(s, Key("ColDef_align_%1", p), d->align);
    d->width = ReadInt(s, Key("ColDef_width_%1", p), d->width);
    d->image = ReadInt(s, Key("ColDef_image_%1", p), d->image);
    d->flags = ReadFlags(s, Key("ColDef_dwdata_%1", p), d->flags);
    d->text = s.value(Key("ColDef_text_%1", p)).toString();
    d->textdt = s.value(Key("ColDef_textdt_%1", p)).toString();
    d->descr = s.value(Key("ColDef_descr_%1", p)).toString();
}
