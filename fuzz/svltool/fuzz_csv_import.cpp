// Reads arbitrary bytes as the CSV form of a channel list. What is accepted
// must export and import again to the same stored list.
#include <cstdint>
#include <cstdlib>

#include "tools/svltool/SvlCsv.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CSVLFile list;
    std::string error;
    const QByteArray csv(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (!ListFromCsv(csv, list, error)) return 0;
    CSVLFile again;
    if (!ListFromCsv(ListToCsv(list), again, error) || again.Store() != list.Store()) std::abort();
    return 0;
}
