#pragma once
// German texts of the TV bars and the system information, as the program shows them.
#include <QString>

namespace BarsTexts {
// Picture and sound bar.
inline const QString PictureBox = QStringLiteral("Bildeigenschaften");
inline const QString SoundBox = QStringLiteral("Toneigenschaften");
inline const QString VideoOutBox = QStringLiteral("Video-Out:");
inline const QString Brightness = QStringLiteral("Helligkeit");
inline const QString Contrast = QStringLiteral("Kontrast");
inline const QString Saturation = QStringLiteral("Sättigung");
inline const QString Volume = QStringLiteral("Volume");
inline const QString Mute = QStringLiteral("Mute");
inline const QString Channel = QStringLiteral("Kanal:");
inline const QString ChannelItems[] = {QStringLiteral("A+B"), QStringLiteral("A"),
                                       QStringLiteral("B")};
inline const QString VideoOutItems[] = {QStringLiteral("Keine Ausgabe"),
                                        QStringLiteral("CVBS & RGB"), QStringLiteral("CVBS & YC"),
                                        QStringLiteral("YC")};
inline const QString StandardItems[] = {QStringLiteral("PAL"), QStringLiteral("NTSC")};
inline const QString AspectItems[] = {QStringLiteral("4:3"), QStringLiteral("16:9")};
inline const QString TestModeItems[] = {
    QStringLiteral("keine Balken"), QStringLiteral("Balken Typ 1"), QStringLiteral("Balken Typ 2")};
/// On-screen volume display (printf formats of the card's text field).
inline const char* const OsdMute = "   Mute ";
inline const char* const OsdVolume = "Volume: % 2d";

// Decoder status bar.
inline const QString DecoderBox = QStringLiteral("MPEG-Decoder Status");
inline const QString TypeColumn = QStringLiteral("Typ:");
inline const QString ValueColumn = QStringLiteral("Wert:");
inline const QString Resolution = QStringLiteral("Auflösung");
inline const QString BitRate = QStringLiteral("Bitrate");
inline const QString Format = QStringLiteral("Format");
inline const QString FrameRate = QStringLiteral("Framerate");
inline const QString Skipped = QStringLiteral("Skipped Pictures");
inline const QString Repeated = QStringLiteral("Repeated Pictures");

// Program status bar.
inline const QString StatusBox = QStringLiteral("Allgemein");
inline const QString Quality = QStringLiteral("Signalqualität:");
inline const QString Strength = QStringLiteral("Signalstärke:");
inline const QString Afc = QStringLiteral("AFC:");
inline const QString AudioBuffer = QStringLiteral("Audiobuffer:");
inline const QString ErrorRate = QStringLiteral("Errorbitrate:");
inline const QString Frequency = QStringLiteral("Frequenz:");
inline const QString SymbolRate = QStringLiteral("Symbolrate:");
inline const QString Polarisation = QStringLiteral("Polarisation:");
inline const QString VideoPid = QStringLiteral("VPID:");
inline const QString AudioPid = QStringLiteral("APID:");
inline const QString Vertical = QStringLiteral("Vertikal");
inline const QString Horizontal = QStringLiteral("Horizontal");

// System information.
inline const QString SystemInfoTitle = QStringLiteral("Systeminformationen");
inline const QString GeneralBox = QStringLiteral("Allgemein");
inline const QString DvbBox = QStringLiteral("DVB-S");
inline const QString OperatingSystem = QStringLiteral("Betriebssystem");
inline const QString Screen = QStringLiteral("Bildschirm");
inline const QString Memory = QStringLiteral("Speicher");
inline const QString Clock = QStringLiteral("Taktfrequenz");
inline const QString ClockMeasuring = QStringLiteral("wird gemessen...");
inline const QString ClockUnknown = QStringLiteral("unbekannt");
inline const QString Manufacturer = QStringLiteral("Hersteller");
inline const QString BoardType = QStringLiteral("Boardtyp");
inline const QString Firmware = QStringLiteral("Firmware");
inline const QString FirmwareDate = QStringLiteral("Firmware Date");
inline const QString VideoDecoderRev = QStringLiteral("Video Decoder Rev.");
inline const QString RuntimeLibrary = QStringLiteral("Runtime Library");
inline const QString IpCheck = QStringLiteral("IP Check");
inline const QString IpAddress = QStringLiteral("IP-Adresse");
inline const QString SubnetMask = QStringLiteral("Subnetmask");
inline const QString MacCheck = QStringLiteral("MAC Check");
inline const QString MacAddress = QStringLiteral("MAC Adresse");
inline const QString Final = QStringLiteral("Final");
inline const QString Beta = QStringLiteral("Beta");
/// The card's check codes of its network address and hardware address, 0 first.
inline const char* const IpCheckTexts[] = {
    "IP is valid",
    "TCP/IP seems not to be bind to DVB NDIS driver",
    "could not determine IP address os Subnet mask",
    "DVB NDIS driver seems not be installed",
    "could not write to Registry",
    "other protocols than TCP/IP bound to the DVB NDIS driver",
    "IP was changed"};
inline const char* const MacCheckTexts[] = {"MAC is valid",
                                            "could not read EEPROM",
                                            "MAC CRC error",
                                            "could not read from Registry",
                                            "could not write from Registry",
                                            "MAC was changed (Windows restart necessary)"};
}  // namespace BarsTexts
