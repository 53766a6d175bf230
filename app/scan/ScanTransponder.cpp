#include "scan/ScanTransponder.h"

std::string ScanTransponder::Text() const {
    const std::string middle = IsCable() ? "QAM" + std::to_string(polarisationOrQam)
                                         : std::string(polarisationOrQam == 1 ? "V" : "H");
    return std::to_string(frequency) + " " + middle + " " + std::to_string(symbolRate);
}
