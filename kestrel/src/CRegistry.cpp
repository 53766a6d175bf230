#include "kestrel/CRegistry.h"

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>

namespace kestrel {

namespace {

// Prepared statement that finalises itself.
class Stmt {
  public:
    Stmt(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &s_, nullptr) != SQLITE_OK) s_ = nullptr;
    }
    ~Stmt() { sqlite3_finalize(s_); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    bool ok() const { return s_ != nullptr; }
    Stmt& Int(int i, std::int64_t v) {
        if (s_) sqlite3_bind_int64(s_, i, v);
        return *this;
    }
    Stmt& Text(int i, const std::string& v) {
        if (s_) sqlite3_bind_text(s_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Stmt& Blob(int i, const std::vector<std::uint8_t>& v) {
        if (s_) sqlite3_bind_blob(s_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    bool Row() { return s_ && sqlite3_step(s_) == SQLITE_ROW; }
    bool Done() { return s_ && sqlite3_step(s_) == SQLITE_DONE; }
    std::int64_t ColInt(int i) { return sqlite3_column_int64(s_, i); }
    std::string ColText(int i) {
        const auto* p = sqlite3_column_text(s_, i);
        return p ? std::string(reinterpret_cast<const char*>(p),
                               static_cast<std::size_t>(sqlite3_column_bytes(s_, i)))
                 : std::string();
    }
    std::vector<std::uint8_t> ColBlob(int i) {
        const auto* p = static_cast<const std::uint8_t*>(sqlite3_column_blob(s_, i));
        const int n = sqlite3_column_bytes(s_, i);
        return p ? std::vector<std::uint8_t>(p, p + n) : std::vector<std::uint8_t>();
    }

  private:
    sqlite3_stmt* s_ = nullptr;
};

std::string EnvOr(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

}  // namespace

std::string CRegistry::DefaultPath() {
    if (auto p = EnvOr("KESTREL_REGISTRY"); !p.empty()) return p;
    std::string base = EnvOr("XDG_CONFIG_HOME");
    if (base.empty()) base = EnvOr("HOME") + "/.config";
    return base + "/kestrel/registry.db";
}

bool CRegistry::Open(const std::string& path, bool create) {
    Close();
    if (create) {
        std::error_code ec;
        const auto dir = std::filesystem::path(path).parent_path();
        if (!dir.empty()) std::filesystem::create_directories(dir, ec);
    }
    const int flags =
        SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        Close();
        return false;
    }
    sqlite3_busy_timeout(db_, 5000);
    if (!Exec("CREATE TABLE IF NOT EXISTS keys(id INTEGER PRIMARY KEY, parent INTEGER NOT NULL,"
              " name TEXT NOT NULL COLLATE NOCASE, UNIQUE(parent, name));"
              "CREATE TABLE IF NOT EXISTS vals(key INTEGER NOT NULL, name TEXT NOT NULL COLLATE"
              " NOCASE, type INTEGER NOT NULL, data BLOB, PRIMARY KEY(key, name));")) {
        Close();
        return false;
    }
    return true;
}

void CRegistry::Close() {
    if (db_) sqlite3_close(db_);
    db_ = nullptr;
}

bool CRegistry::Exec(const char* sql) {
    return db_ && sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::vector<std::string> CRegistry::SplitPath(const std::string& key) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : key) {
        if (c == '\\') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur.push_back(c);
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

std::optional<std::int64_t> CRegistry::FindKey(const std::string& key) {
    if (!db_) return std::nullopt;
    std::int64_t id = 0;  // the root
    for (const auto& part : SplitPath(key)) {
        Stmt s(db_, "SELECT id FROM keys WHERE parent = ? AND name = ?");
        s.Int(1, id).Text(2, part);
        if (!s.Row()) return std::nullopt;
        id = s.ColInt(0);
    }
    return id;
}

std::optional<std::int64_t> CRegistry::MakeKey(const std::string& key) {
    if (!db_) return std::nullopt;
    std::int64_t id = 0;
    for (const auto& part : SplitPath(key)) {
        Stmt ins(db_, "INSERT OR IGNORE INTO keys(parent, name) VALUES(?, ?)");
        if (!ins.Int(1, id).Text(2, part).Done()) return std::nullopt;
        Stmt s(db_, "SELECT id FROM keys WHERE parent = ? AND name = ?");
        s.Int(1, id).Text(2, part);
        if (!s.Row()) return std::nullopt;
        id = s.ColInt(0);
    }
    return id;
}

std::optional<RegValue> CRegistry::ReadValue(const std::string& key, const std::string& name) {
    const auto id = FindKey(key);
    if (!id) return std::nullopt;
    Stmt s(db_, "SELECT name, type, data FROM vals WHERE key = ? AND name = ?");
    s.Int(1, *id).Text(2, name);
    if (!s.Row()) return std::nullopt;
    RegValue v;
    v.name = s.ColText(0);
    v.type = static_cast<RegType>(s.ColInt(1));
    v.data = s.ColBlob(2);
    return v;
}

bool CRegistry::ReadString(const std::string& key, const std::string& name, std::string& out) {
    const auto v = ReadValue(key, name);
    if (!v || v->type != RegType::String) return false;
    out.assign(v->data.begin(), v->data.end());
    return true;
}

bool CRegistry::ReadDword(const std::string& key, const std::string& name, std::uint32_t& out) {
    const auto v = ReadValue(key, name);
    if (!v || v->type != RegType::Dword || v->data.size() != 4) return false;
    out = v->data[0] | (v->data[1] << 8) | (v->data[2] << 16) |
          (static_cast<std::uint32_t>(v->data[3]) << 24);
    return true;
}

bool CRegistry::ReadBinary(const std::string& key, const std::string& name,
                           std::vector<std::uint8_t>& out) {
    const auto v = ReadValue(key, name);
    if (!v || v->type != RegType::Binary) return false;
    out = v->data;
    return true;
}

bool CRegistry::WriteValue(const std::string& key, const RegValue& value) {
    const auto id = MakeKey(key);
    if (!id) return false;
    Stmt s(db_, "INSERT OR REPLACE INTO vals(key, name, type, data) VALUES(?, ?, ?, ?)");
    return s.Int(1, *id)
        .Text(2, value.name)
        .Int(3, static_cast<int>(value.type))
        .Blob(4, value.data)
        .Done();
}

bool CRegistry::WriteString(const std::string& key, const std::string& name,
                            const std::string& value) {
    return WriteValue(key, {name, RegType::String, {value.begin(), value.end()}});
}

bool CRegistry::WriteDword(const std::string& key, const std::string& name, std::uint32_t value) {
    return WriteValue(
        key, {name,
              RegType::Dword,
              {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
               static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)}});
}

bool CRegistry::WriteBinary(const std::string& key, const std::string& name,
                            const std::vector<std::uint8_t>& value) {
    return WriteValue(key, {name, RegType::Binary, value});
}

bool CRegistry::KeyExists(const std::string& key) { return FindKey(key).has_value(); }

bool CRegistry::CreateKey(const std::string& key) { return MakeKey(key).has_value(); }

void CRegistry::DeleteTree(std::int64_t id) {
    std::vector<std::int64_t> children;
    {
        Stmt s(db_, "SELECT id FROM keys WHERE parent = ?");
        s.Int(1, id);
        while (s.Row()) children.push_back(s.ColInt(0));
    }
    for (auto c : children) DeleteTree(c);
    Stmt(db_, "DELETE FROM vals WHERE key = ?").Int(1, id).Done();
    Stmt(db_, "DELETE FROM keys WHERE id = ?").Int(1, id).Done();
}

bool CRegistry::DeleteKey(const std::string& key) {
    const auto id = FindKey(key);
    if (!id || *id == 0) return false;  // the root itself stays
    if (!Exec("BEGIN")) return false;
    DeleteTree(*id);
    return Exec("COMMIT");
}

bool CRegistry::DeleteValue(const std::string& key, const std::string& name) {
    const auto id = FindKey(key);
    if (!id) return false;
    Stmt s(db_, "DELETE FROM vals WHERE key = ? AND name = ?");
    return s.Int(1, *id).Text(2, name).Done() && sqlite3_changes(db_) > 0;
}

std::vector<std::string> CRegistry::SubKeys(const std::string& key) {
    std::vector<std::string> out;
    const auto id = FindKey(key);
    if (!id) return out;
    Stmt s(db_, "SELECT name FROM keys WHERE parent = ? ORDER BY id");
    s.Int(1, *id);
    while (s.Row()) out.push_back(s.ColText(0));
    return out;
}

std::vector<RegValue> CRegistry::Values(const std::string& key) {
    std::vector<RegValue> out;
    const auto id = FindKey(key);
    if (!id) return out;
    Stmt s(db_, "SELECT name, type, data FROM vals WHERE key = ? ORDER BY rowid");
    s.Int(1, *id);
    while (s.Row()) out.push_back({s.ColText(0), static_cast<RegType>(s.ColInt(1)), s.ColBlob(2)});
    return out;
}

}  // namespace kestrel
