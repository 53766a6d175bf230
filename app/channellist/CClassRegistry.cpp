#include "channellist/CClassRegistry.h"

#include <map>
#include <mutex>
#include <stdexcept>

#include "channellist/CLnb.h"
#include "channellist/CProgramInfo.h"
#include "channellist/CSVLFile.h"
#include "channellist/CStreaminfo.h"

namespace {

struct Registry {
    std::mutex lock;
    std::map<std::string, CClassRegistry::Factory, std::less<>> factories;

    Registry() {
        factories["CSVLFile"] = [] { return std::make_unique<CSVLFile>(); };
        factories["CProgramInfo"] = [] { return std::make_unique<CProgramInfo>(); };
        factories["CStreaminfo"] = [] { return std::make_unique<CStreaminfo>(); };
        factories["CLnb"] = [] { return std::make_unique<CLnb>(); };
    }
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

void CClassRegistry::Register(std::string name, Factory factory) {
    if (name.empty() || name.size() > 63)
        throw std::invalid_argument("class name must be 1 to 63 bytes long");
    Registry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    r.factories[std::move(name)] = std::move(factory);
}

std::unique_ptr<CSerializable> CClassRegistry::Create(std::string_view name) {
    Registry& r = TheRegistry();
    Factory factory;
    {
        std::lock_guard guard(r.lock);
        auto it = r.factories.find(name);
        if (it == r.factories.end()) return nullptr;
        factory = it->second;
    }
    return factory();
}

bool CClassRegistry::Contains(std::string_view name) {
    Registry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    return r.factories.find(name) != r.factories.end();
}
