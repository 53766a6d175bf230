#pragma once
// Command-line options of dvbctl: "--name value" pairs after the command.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

class Options {
  public:
    /// False (with a message in error()) for a stray word or a missing value.
    bool Parse(const std::vector<std::string>& args);
    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    std::string Text(const std::string& name, const std::string& fallback = "") const;
    /// Decimal or 0x hex (a leading zero is decimal); nothing when absent or
    /// not a number in range.
    std::optional<std::uint32_t> Number(const std::string& name) const;
    /// Decimal digits only.
    std::optional<std::uint32_t> Decimal(const std::string& name) const;
    const std::string& error() const { return error_; }
    /// The option names given, without their "--".
    std::vector<std::string> Names() const;

  private:
    std::map<std::string, std::string> values_;
    std::string error_;
};
