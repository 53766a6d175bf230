#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "channellist/CSerializable.h"

/// The record classes an archive reader may create by name. The four
/// channel-list classes are always present; other modules (timer list,
/// playlist, guide) add theirs with Register before they read archives.
/// Every class is registered with schema number 1.
class CClassRegistry {
  public:
    using Factory = std::function<std::unique_ptr<CSerializable>()>;

    /// Adds or replaces a class. Names must be 1..63 bytes long.
    static void Register(std::string name, Factory factory);
    /// A new default object of the named class, or nullptr for an unknown name.
    static std::unique_ptr<CSerializable> Create(std::string_view name);
    static bool Contains(std::string_view name);

    template <class T>
    static void Register(std::string name) {
        Register(std::move(name), [] { return std::make_unique<T>(); });
    }
};
