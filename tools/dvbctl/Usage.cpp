// The text of dvbctl --help; after a usage error its synopsis and where the
// help is, on standard error.
#include "Usage.h"

#include "Commands.h"

namespace {

constexpr const char* kSynopsis = R"(Aufruf: dvbctl BEFEHL [Optionen]
       dvbctl --help | -h | help
       dvbctl --version
)";

constexpr const char* kCommands =
    R"(Steuert die Karte über die Client-Bibliothek. Hilfe, Version und Aufruffehler
brauchen keine Karte; erst ein Befehl, der die Karte braucht, verbindet sich mit
dem Server (und startet ihn).

Befehle:
  status                                    Board, Abstimmung, Signal und Decoder der
                                            Karte, gleich wer sie abgestimmt hat; nach
                                            den Rohzeilen:
       tuned: FREQ MHz pol H|V lnb VOLTS V tone on|off, locked|not locked;
              video PID N (0xNNNN)|none, audio PID N (0xNNNN)|none
              ("tuned: nothing; ..." vor der ersten Abstimmung)
       figures: quality N % strength N.N afc +-N kHz ber RATE
       decoder: WxH format N rate N bitrate N.NNN MBit/s skipped N repeated N
  tune --freq KHZ --sr SPS [--lof KHZ] [--pol H|V] [--voltage 13|18|0] [--tone 0|1]
       [--diseqc A|B|C|D]                   abstimmen mit der neueren Frontend-Schnittstelle
  tune --svl DATEI [--program N|NAME]       ein Programm einer Programmliste abstimmen
  sections --pid P --table T [--ext E] [--count N] [--mode 0|1|2]
       [--type5 1] [--timeout MS]           Tabellen ausgeben (Sections hexadezimal)
  scan --svl LISTE.svl --lnb NAME [--transponders DATEI] --out NEU.svl
                                            Sendersuchlauf am LNB NAME der Liste: die
                                            Transponder der DATEI ("kHz H|V Symbolrate"
                                            je Zeile), sonst die der Programme der Liste
                                            an NAME und die ihrer NITs; NEU.svl erhält
                                            die LNB-Tabelle der Liste und die gefundenen
                                            Programme. Eine Zeile je Transponder:
       transponder 2/5: 12226000 V 27500000: 6 programs   (oder: kein Signal)
  psi [--svl LISTE --program NAME] [--timeout MS] [--root SCHLÜSSEL]
                                            Programmzuordnungs-, Programm- und
                                            Servicetabelle des abgestimmten Transponders
                                            (vorher abgestimmt, wenn ein Programm genannt
                                            ist) in den Schlüsselspeicher unter
                                            SCHLÜSSEL\dvbctl (Vorgabe
                                            SOFTWARE\Norvane\PSI) dekodieren und diesen
                                            Baum ausgeben
  key N                                     eine Fernbedienungstaste einspeisen (über den
                                            Tastenbefehl des Servers)
  osd OPERATION ARGUMENTE                   Bildschirmanzeige der Karte (Fenster 1-7,
                                            Zahlen dezimal oder 0x hex, -N bei moveby):
)";

constexpr const char* kMore =
    R"(  snapshot DATEI.png                        Ausgabe der Karte (Bild und Bildschirm-
                                            anzeige, 720x576) als PNG; braucht keine
                                            Verbindung, nur den Bildspeicher der Karte
  record [--svl LISTE --program NAME] --seconds N DATEI
                                            das abgestimmte Programm N Sekunden aufnehmen
                                            (vorher abgestimmt, wenn ein Programm genannt
                                            ist); die Form folgt der Endung: .pva A/V-PES,
                                            .psv Video-PES, .psa Audio-PES, .mp2 MPEG-Audio,
                                            .ts Transportstrom
  play [--seconds N] DATEI                  eine Aufnahme über die Karte abspielen, bis zu
                                            ihrem Ende oder N Sekunden lang
  teletext [--svl LISTE --program NAME] --pid PID --page NNN [--sub N]
       [--text | --html DATEI] [--timeout S]
                                            Videotext der PID (dezimal oder 0x hex; vorher
                                            abgestimmt, wenn ein Programm genannt ist), bis
                                            Seite NNN (100-899) eintrifft, mit --sub N
                                            deren Unterseite N, wie das Videotextfenster
                                            zählt ("02/05" ist 2), sonst die zuerst
                                            eintreffende; --text (Vorgabe) gibt sie als 25
                                            Zeilen zu 40 Zeichen aus, --html schreibt ihren
                                            HTML-Export in DATEI; höchstens S Sekunden
                                            (Vorgabe 60)
  --help, -h, help                          dieser Text
  --version                                 die Version

Exit-Status:
  0  Erfolg
  1  Fehler mit Meldung: keine Karte (die Meldung der Bibliothek), die Karte
     lehnt ab, eine Datei ist nicht lesbar oder schreibbar, tune ohne Empfang,
     scan ohne empfangenen Transponder, snapshot ohne Bildspeicher, teletext
     ohne die Seite in der Zeit
  2  Aufruffehler (unbekannter Befehl, fehlende oder falsche Option)
  3  sections: weniger Tabellen als --count vor dem Ablauf von --timeout;
     psi: Zeitablauf nach MS (Vorgabe 15000), ausgegeben wird, was eintraf

Umgebung:
  KESTREL_REGISTRY     Schlüsselspeicher mit der Befehlszeile des Servers
                       (Vorgabe $XDG_CONFIG_HOME/kestrel/registry.db)
  KESTREL_INSTANCE     Name der Karteninstanz (Server, Speicher, key)
  KESTREL_SERVER_LOG   Datei für die Ausgaben eines gestarteten Servers
)";

}  // namespace

int Usage(std::FILE* out) {
    std::fputs(kSynopsis, out);
    if (out == stderr) {
        std::fputs("Hilfe: dvbctl --help\n", out);
        return 2;
    }
    std::fputs(kCommands, out);
    OsdUsage(out);
    std::fputs(kMore, out);
    return 0;
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "dvbctl: %s\n", message.c_str());
    return Usage(stderr);
}
