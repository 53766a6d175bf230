#pragma once
// The PSI decoder's table steps as functions of section bytes: the program
// association table, one program map and the service description table, each
// writing its part of the tree through a key writer. CPsiDecoder feeds them
// from its table filters; tests and fuzz targets call them directly.
//
// Sections are taken as far as both their section_length and the bytes given
// reach; nothing past either is read.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kestrel::psi {

using Bytes = std::span<const std::uint8_t>;

/// Receives the values of the tree. Keys are relative to the result path
/// ("" is the result path itself, "P0000\\S0001" a stream key); an empty
/// value name only creates the key.
class IKeyWriter {
  public:
    virtual ~IKeyWriter() = default;
    virtual void Dword(const std::string& key, const std::string& name, std::uint32_t value) = 0;
    virtual void String(const std::string& key, const std::string& name,
                        const std::string& value) = 0;
    virtual void Binary(const std::string& key, const std::string& name, Bytes value) = 0;
};

constexpr int kMaxPrograms = 512;

enum class MapState : std::uint8_t { Waiting, Requested, Done };

struct ProgramSlot {
    std::uint16_t number = 0;  ///< program number (service id)
    std::uint16_t pmtPid = 0;
    MapState state = MapState::Waiting;
};

/// The programs of the association table, in table order (at most kMaxPrograms).
struct ProgramSlots {
    std::vector<ProgramSlot> programs;
    /// Index of the program with this number, -1 when there is none.
    int Find(std::uint16_t number) const;
    /// Two programs name the same program map PID.
    bool SharePmtPid() const;
    /// Program map filters to run at once: one when two programs share a
    /// program map PID, else up to `filters`.
    int MapFilterCount(int filters) const;
    /// Marks the first program not yet requested as requested and returns
    /// its index; -1 when none is left.
    int TakeNext();
};

/// "P%04d", "S%04d", "D%04d".
std::string IndexKey(char letter, int index);

/// Writes the association table's values and fills `slots` (programs of all
/// sections numbered consecutively; program number 0 skipped). Returns the
/// transport stream id.
std::uint16_t DecodeAssociation(std::span<const Bytes> sections, ProgramSlots& slots,
                                IKeyWriter& out);

/// Writes one program map (section 0 of its table) under its program's key
/// and marks that program done. Returns the program index, -1 when the
/// program number is not in `slots` (nothing is written then).
int DecodeProgramMap(Bytes section, ProgramSlots& slots, IKeyWriter& out);

/// Writes the service table's values for the programs it names, and
/// "OriginalNetworkID" at the result path.
void DecodeServiceTable(std::span<const Bytes> sections, const ProgramSlots& slots,
                        IKeyWriter& out);

/// A name of the service descriptor as stored: DVB text to UTF-8, control
/// characters removed, blanks trimmed; `empty` when nothing is left.
std::string ServiceName(Bytes field, const char* empty);

}  // namespace kestrel::psi
