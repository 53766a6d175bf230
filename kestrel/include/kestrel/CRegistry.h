#pragma once
// The machine-wide key store standing in for the local-machine registry: a
// tree of keys (backslash-separated paths, names compared without regard to
// ASCII case) with typed values, kept in an SQLite file.
//
// File: $KESTREL_REGISTRY, else $XDG_CONFIG_HOME/kestrel/registry.db, else
// $HOME/.config/kestrel/registry.db.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace kestrel {

enum class RegType : int { String = 1, Binary = 3, Dword = 4 };

struct RegValue {
    std::string name;
    RegType type = RegType::String;
    std::vector<std::uint8_t> data;  ///< strings without terminator; DWORDs 4 bytes LE
};

class CRegistry {
  public:
    CRegistry() = default;
    ~CRegistry() { Close(); }
    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    static std::string DefaultPath();

    /// Opens the store; with create, a missing file (and its folder) is made.
    bool Open(const std::string& path = DefaultPath(), bool create = true);
    void Close();
    bool IsOpen() const { return db_ != nullptr; }

    /// Values of the given type only; false when key, value or type differ.
    bool ReadString(const std::string& key, const std::string& name, std::string& out);
    bool ReadDword(const std::string& key, const std::string& name, std::uint32_t& out);
    bool ReadBinary(const std::string& key, const std::string& name,
                    std::vector<std::uint8_t>& out);
    std::optional<RegValue> ReadValue(const std::string& key, const std::string& name);

    /// Writes create the key path as needed.
    bool WriteString(const std::string& key, const std::string& name, const std::string& value);
    bool WriteDword(const std::string& key, const std::string& name, std::uint32_t value);
    bool WriteBinary(const std::string& key, const std::string& name,
                     const std::vector<std::uint8_t>& value);
    bool WriteValue(const std::string& key, const RegValue& value);

    bool KeyExists(const std::string& key);
    bool CreateKey(const std::string& key);
    /// Removes the key with its subkeys and values.
    bool DeleteKey(const std::string& key);
    bool DeleteValue(const std::string& key, const std::string& name);
    /// Subkey names in creation order.
    std::vector<std::string> SubKeys(const std::string& key);
    std::vector<RegValue> Values(const std::string& key);

    /// Groups the following writes into one transaction (far fewer disk
    /// syncs for a whole tree); EndBatch commits. Not around DeleteKey.
    bool BeginBatch() { return Exec("BEGIN"); }
    bool EndBatch() { return Exec("COMMIT"); }

    /// Splits "A\\B\\C" into its non-empty parts.
    static std::vector<std::string> SplitPath(const std::string& key);

  private:
    std::optional<std::int64_t> FindKey(const std::string& key);
    std::optional<std::int64_t> MakeKey(const std::string& key);
    bool Exec(const char* sql);
    void DeleteTree(std::int64_t id);
    sqlite3* db_ = nullptr;
};

}  // namespace kestrel
