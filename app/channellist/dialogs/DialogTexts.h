#pragma once
// The German texts of the program, LNB and stream dialogs, in one place (UTF-8).
#include <array>

namespace DialogTexts {

// Program dialog
inline constexpr const char* ProgramTitle = "Programm bearbeiten";
inline constexpr const char* BoxProgram = "Programm";
inline constexpr const char* BoxGeneral = "Allgemein";
inline constexpr const char* BoxIds = "ID´s";
inline constexpr const char* BoxPids = "PID´s";
inline constexpr const char* ProgramNumber = "Programmnummer:";
inline constexpr const char* ProgramName = "Programmname:";
inline constexpr const char* ProviderName = "Providername:";
inline constexpr const char* FrontendType = "FrontendType:";
inline constexpr const char* LnbName = "LNB-Name:";
inline constexpr const char* Frequency = "Frequenz:";
inline constexpr const char* SymbolRate = "Symbolrate:";
inline constexpr const char* Polarisation = "Polarisation oder QAM:";
inline constexpr const char* ProgramType = "Programmtype:";
inline constexpr const char* Encrypted = "Verschlüsselt:";
inline constexpr const char* TransportStreamId = "TransportStream-ID:";
inline constexpr const char* NetworkId = "Network-ID:";
inline constexpr const char* OriginalNetworkId = "Original Network-ID:";
inline constexpr const char* ServiceId = "Service-ID:";
inline constexpr const char* PcrPid = "PCR_PID:";
inline constexpr const char* PmtPid = "PMT_PID:";
inline constexpr const char* VideoPid = "Video-PID:";
inline constexpr const char* AudioPid = "Audio-PID:";
inline constexpr const char* TeletextPid = "Teletext-PID:";
inline constexpr const char* ButtonLnb = "LNB-Parameter";
inline constexpr const char* ButtonStreams = "Streams";
inline constexpr const char* ButtonOk = "OK";
inline constexpr const char* ButtonCancel = "Abbrechen";

inline constexpr std::array<const char*, 11> FrontendTypes = {
    "FE_NONE",   "FE_1877",   "FE_1893",  "FE_1820",  "FE_1820P", "FE_92314",
    "FE_92314N", "FE_87J205", "FE_8083G", "FE_8083A", "FE_DEBUG"};
inline constexpr std::array<const char*, 2> Polarisations = {"Horizontal", "Vertikal"};
inline constexpr std::array<const char*, 3> ProgramKinds = {"TV", "Radio", "Data"};
inline constexpr std::array<const char*, 2> NoYes = {"Nein", "Ja"};

/// Shown when a whole-number edit holds something else; the field keeps its value.
inline constexpr const char* NotAWholeNumber = "Bitte geben Sie eine ganze Zahl ein.";
/// Shown when a text holds characters that a channel list cannot store.
inline constexpr const char* CharactersReplaced =
    "Einige Zeichen können in der Programmliste nicht gespeichert werden und wurden durch "
    "\"?\" ersetzt.";
/// Caption of the message boxes.
inline constexpr const char* MessageCaption = "SVL-Programm Editor";

/// Characters that the ID, PID and symbol-rate edits accept.
inline constexpr const char* HexEditChars = "01234567890ABCDEFabcdef";

// LNB dialog
inline constexpr const char* LnbTitle = "LNB-Einstellungen";
inline constexpr const char* BoxProperties = "Eigenschaften";
inline constexpr const char* LnbType = "Type:";
inline constexpr const char* LowFrequency = "Low Frequenzy:";
inline constexpr const char* HighFrequency = "High Frequenzy:";
inline constexpr const char* SwitchFrequency = "Switch Frequenzy:";
inline constexpr const char* LowBandLof = "LOW Band LOF:";
inline constexpr const char* HighBandLof = "HIGH Band LOF:";
inline constexpr const char* CBand = "C-Band:";
inline constexpr const char* PowerOn = "Power Ein:";
inline constexpr const char* Tone22kHz = "22Khz Signal Ein:";
inline constexpr const char* DiseqcType = "Diseq Type:";
inline constexpr const char* DiseqcParameter = "Diseq Parmeter:";
inline constexpr const char* DiseqcRepeat = "Diseq Repetition Count:";

inline constexpr std::array<const char*, 5> LnbTypes = {"C Band LNB", "KU-Low Band LNB",
                                                        "KU-High Band LNB", "KU-Band Universal LNB",
                                                        "User defined LNB"};
inline constexpr std::array<const char*, 3> DiseqcTypes = {"AUS", "Mini-DiSEqC (Toneburst)",
                                                           "DiSEqC-Level 1.0"};
inline constexpr std::array<const char*, 4> DiseqcPositions = {"Position A", "Position B",
                                                               "Position C", "Position D"};

// Streams dialog
inline constexpr const char* StreamsTitle = "Streams";
inline constexpr const char* BoxInfo = "Info";
inline constexpr const char* StreamCount = "Streaminfo - Anzahl:";
inline constexpr const char* StreamListName = "TheStreamList";
inline constexpr std::array<const char*, 5> StreamColumns = {"", "Nr", "Streamtype", "PID",
                                                             "Decriptor"};
inline constexpr const char* NoLanguageInfo = "keine Info";

}  // namespace DialogTexts
