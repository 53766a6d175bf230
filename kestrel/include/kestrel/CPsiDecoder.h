#pragma once
// Reads the program association table, the program map of every program and
// the service description table of the tuned transponder through seven table
// filters and writes what it finds as a tree under a key of the machine key
// store (see PsiTree.h for the layout and its reader).
//
// The steps run in the filters' callbacks, i.e. on the thread that runs the
// library's dispatcher; GetProgress tells when all three tables are in.
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "kestrel/CRegistry.h"
#include "kestrel/CTableFilter.h"

namespace kestrel::psi {
class CRegistryKeyWriter;
struct ProgramSlots;
}  // namespace kestrel::psi

class CPsiDecoder {
  public:
    static constexpr int kProgramMapFilters = 5;

    CPsiDecoder();
    /// Writes into the store at storePath instead of CRegistry::DefaultPath().
    explicit CPsiDecoder(std::string storePath);
    ~CPsiDecoder();
    CPsiDecoder(const CPsiDecoder&) = delete;
    CPsiDecoder& operator=(const CPsiDecoder&) = delete;

    /// 0 started; -1/-2 the association filter or its socket failed, -3/-4 the
    /// service filter or its socket failed.
    int StartDecoding(const char* rootKey, const char* subKey, const char* userInfo);
    /// The three flags and the milliseconds since StartDecoding; 1 when all
    /// three are set, else 0.
    int GetProgress(int& patDone, int& pmtsDone, int& sdtReceived, std::uint32_t& elapsedMs);
    /// Closes all filters and clears the flags and the transport stream id.
    void AbortDecoding();

    const std::string& ResultPath() const { return resultPath_; }

  private:
    static void OnTable(char* self, std::uint32_t index);
    void OnAssociation();
    void OnProgramMap(int filter);
    void OnServiceTable();
    void TryServiceStep();
    void StartProgramMaps();
    /// Opens `filter` for the first program not yet requested; false when none is left.
    bool NextProgramMap(int filter);
    bool AnyProgramMapOpen() const;
    void FinishProgramMaps();

    std::string storePath_;
    std::unique_ptr<kestrel::CRegistry> store_;
    std::unique_ptr<kestrel::psi::CRegistryKeyWriter> writer_;
    std::unique_ptr<kestrel::psi::ProgramSlots> slots_;
    std::array<CTableFilter, kProgramMapFilters> pmtFilters_;
    CTableFilter sdtFilter_;
    CTableFilter patFilter_;
    std::string resultPath_;
    std::uint16_t transportStreamId_ = 0;
    bool patDone_ = false;
    bool pmtsDone_ = false;
    bool sdtReceived_ = false;
    bool sdtWritten_ = false;
    std::vector<std::vector<std::uint8_t>> sdtSections_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};
