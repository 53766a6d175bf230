#pragma once
// The PSI tree's key writer into the machine key store: keys relative to the
// result path. Failed writes are ignored; decoding goes on.
#include <string>

#include "PsiTables.h"
#include "kestrel/CRegistry.h"

namespace kestrel::psi {

class CRegistryKeyWriter : public IKeyWriter {
  public:
    CRegistryKeyWriter(CRegistry& store, std::string resultPath)
        : store_(store), resultPath_(std::move(resultPath)) {}

    void Dword(const std::string& key, const std::string& name, std::uint32_t value) override {
        if (!name.empty())
            store_.WriteDword(Path(key), name, value);
        else
            store_.CreateKey(Path(key));
    }
    void String(const std::string& key, const std::string& name,
                const std::string& value) override {
        if (!name.empty())
            store_.WriteString(Path(key), name, value);
        else
            store_.CreateKey(Path(key));
    }
    void Binary(const std::string& key, const std::string& name, Bytes value) override {
        if (!name.empty())
            store_.WriteBinary(Path(key), name, {value.begin(), value.end()});
        else
            store_.CreateKey(Path(key));
    }

    /// One transaction around the writes of a table step.
    class Batch {
      public:
        explicit Batch(CRegistryKeyWriter& w) : store_(w.store_), open_(store_.BeginBatch()) {}
        ~Batch() {
            if (open_) store_.EndBatch();
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

      private:
        CRegistry& store_;
        bool open_;
    };

  private:
    std::string Path(const std::string& key) const {
        return key.empty() ? resultPath_ : resultPath_ + "\\" + key;
    }
    CRegistry& store_;
    std::string resultPath_;
};

}  // namespace kestrel::psi
