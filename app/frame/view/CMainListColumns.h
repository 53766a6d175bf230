#pragma once
#include <QString>
#include <cstdint>
#include <string>

#include "Allgemein/CColumnLayout.h"

class CProgramInfo;

/// The columns of the program list "TheMainList" and their cell texts.
class CMainListColumns {
  public:
    enum Id {
        Blank = 0,
        Nr,
        Programm,
        Provider,
        LnbName,
        Frequenz,
        Symbolrate,
        CiAccess,
        Programmtype,
        PolarisationOrQam,
        VPid,
        APid,
        PcrPid,
        PmtPid,
        Count
    };

    static const QString& ListName();
    /// The built-in definitions (ids 0 to 13) and shown set (all of them in order).
    static CColumnLayout BuiltInLayout();

    /// Cell text of `program`, shown at document index `docIndex`, in column `id`.
    /// PIDs are decimal, or "%04X" when `pidHex` is set.
    static QString CellText(const CProgramInfo& program, int docIndex, int id, bool pidHex);
    /// Cell text on paper: the list's cell text, except that the kind column, which the
    /// list shows as an image, is printed as the kind's name ("TV Verschlüsselt", ...).
    static QString PrintText(const CProgramInfo& program, int docIndex, int id, bool pidHex);
    /// Image number of a program kind: 0 data, 2 TV, 1 radio.
    static int KindImage(std::uint32_t programType);
    /// Header row of a provider group in category mode.
    static QString CategoryHeader(const std::string& provider, int count);
    /// Whether the program filter (0 TV, 1 radio, 2 data, 3 all) admits a program.
    static bool FilterAdmits(int filter, std::uint32_t programType);
    /// Windows-1252 bytes of a record as text.
    static QString Text(const std::string& bytes);
};
