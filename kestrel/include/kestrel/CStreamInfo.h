#pragma once
// One elementary stream of a program map: its type, its PID and its
// descriptor loop, with the language text that the program shows for it.
//
// Stored form: the descriptor bytes as in CDescriptorLoop, then the stream
// type and the PID, each 16-bit little-endian.
#include <cstdint>
#include <string>

#include "kestrel/CDescriptorLoop.h"

class CStreamInfo : public CDescriptorLoop {
  public:
    static constexpr const char* kClassName = "CStreamInfo";
    static constexpr std::uint16_t kUnset = 0xFFFF;
    /// Case options of GetLanguageText.
    static constexpr int kAsGiven = 0;
    static constexpr int kUpperCase = 1;
    static constexpr int kLowerCase = 2;

    CStreamInfo() = default;
    CStreamInfo(std::uint16_t streamType, std::uint16_t pid, std::span<const std::uint8_t> loop);

    const char* GetRuntimeClassName() const override { return kClassName; }

    std::uint16_t GetStreamType() const { return streamType_; }
    std::uint16_t GetPID() const { return pid_; }
    void SetStreamType(std::uint16_t type) { streamType_ = type; }
    void SetPID(std::uint16_t pid) { pid_ = pid; }

    /// The languages of the ISO 639 language descriptors (first code of each,
    /// in the case option given, or by English name when languageNames is
    /// set) and the texts of the 0xC5 descriptors, joined with " - ".
    std::string GetLanguageText(int caseOption = kAsGiven, bool languageNames = false) const;
    /// The English name of an ISO 639-2 code (exact, case-sensitive match),
    /// else "Unknown Language (<code>)".
    static std::string LanguageName(const std::string& code);

    void Store(std::vector<std::uint8_t>& out) const override;
    bool Load(std::span<const std::uint8_t> in, std::size_t& pos) override;

  private:
    std::uint16_t streamType_ = kUnset;
    std::uint16_t pid_ = kUnset;
};
