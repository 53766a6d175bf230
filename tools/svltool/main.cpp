// svltool: inspect, check, convert and import channel lists.
//
//   svltool dump [--json] FILE.svl
//   svltool check FILE.svl
//   svltool resave IN.svl OUT.svl
//   svltool from-json IN.json OUT.svl
//   svltool import-dvb IN.dvb OUT.svl
//   svltool reorder IN.svl REFERENCE.svl OUT.svl
//   svltool export-csv IN.svl OUT.csv
//   svltool import-csv IN.csv OUT.svl
//   svltool --help | --version
//
// "-" names standard input or output. Exit codes: 0 success, 1 a file that
// cannot be read, loaded, converted or written (the message says why and, for
// format errors, at which byte), 2 wrong usage (SvlCommandLine.h).
#include <QJsonDocument>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "SvlCommandLine.h"
#include "SvlCsv.h"
#include "SvlJson.h"
#include "SvlTextDump.h"
#include "SvlVersion.h"
#include "channellist/AtomicFile.h"
#include "channellist/DvbImport.h"
#include "channellist/ReferenceOrder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

using namespace svltool;
using Files = std::vector<std::string>;

int UsageError(const std::string& message) {
    std::cerr << "svltool: " << message << "\n" << Synopsis() << "Hilfe: svltool --help\n";
    return Usage;
}

int Fail(const std::string& message) {
    std::cerr << "svltool: " << message << "\n";
    return Failure;
}

bool ReadInput(const std::string& path, Bytes& bytes, std::string& error) {
    if (path != "-") return ReadWholeFile(path, bytes, &error);
    bytes.clear();
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    if (std::ferror(stdin)) {
        error = "Die Standardeingabe kann nicht gelesen werden.";
        return false;
    }
    return true;
}

bool WriteOutput(const std::string& path, const Bytes& bytes, std::string& error) {
    if (path != "-") return SaveFileAtomically(path, bytes, &error);
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
        std::fflush(stdout) != 0) {
        error = "Die Standardausgabe kann nicht geschrieben werden.";
        return false;
    }
    return true;
}

/// Reads and loads a channel list; prints the reason and returns false on failure.
bool LoadList(const std::string& path, CSVLFile& list, Bytes& bytes) {
    std::string error;
    if (!ReadInput(path, bytes, error)) {
        Fail(error);
        return false;
    }
    ArchiveError format;
    if (!list.Load(bytes, &format)) {
        Fail(path + ": Formatfehler bei Byte " + std::to_string(format.offset) + ": " +
             format.message);
        return false;
    }
    return true;
}

int Dump(const Files& args, bool json) {
    CSVLFile list;
    Bytes bytes;
    if (!LoadList(args[0], list, bytes)) return Failure;
    const std::string text =
        json ? ListToJson(list).toJson(QJsonDocument::Indented).toStdString() : ListToText(list);
    std::cout << text;
    return std::cout.flush() ? Success : Failure;
}

int Check(const Files& args) {
    CSVLFile list;
    Bytes bytes;
    if (!LoadList(args[0], list, bytes)) return Failure;
    const Bytes again = list.Store();
    if (again == bytes) {
        std::cout << args[0] << ": " << list.Programs.size() << " Programme, " << list.Lnbs.Size()
                  << " LNBs; gespeichert byte-identisch (" << bytes.size() << " Bytes)\n";
        return Success;
    }
    std::size_t at = 0;
    while (at < bytes.size() && at < again.size() && bytes[at] == again[at]) ++at;
    return Fail(args[0] + ": geladen, aber erneut gespeichert nicht byte-identisch (" +
                std::to_string(bytes.size()) + " gegen " + std::to_string(again.size()) +
                " Bytes, erste Abweichung bei Byte " + std::to_string(at) + ")");
}

int Store(const CSVLFile& list, const std::string& out) {
    std::string error;
    if (!WriteOutput(out, list.Store(), error)) return Fail(error);
    return Success;
}

int Resave(const Files& args) {
    CSVLFile list;
    Bytes bytes;
    if (!LoadList(args[0], list, bytes)) return Failure;
    return Store(list, args[1]);
}

int FromJson(const Files& args) {
    Bytes bytes;
    std::string error;
    if (!ReadInput(args[0], bytes, error)) return Fail(error);
    QJsonParseError parse{};
    const auto json =
        QJsonDocument::fromJson(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                           static_cast<qsizetype>(bytes.size())),
                                &parse);
    if (parse.error != QJsonParseError::NoError)
        return Fail(args[0] + ": kein gültiges JSON bei Zeichen " + std::to_string(parse.offset) +
                    ": " + parse.errorString().toStdString());
    CSVLFile list;
    if (!ListFromJson(json, list, error)) return Fail(args[0] + ": " + error);
    return Store(list, args[1]);
}

int ImportDvb(const Files& args) {
    Bytes bytes;
    std::string error;
    if (!ReadInput(args[0], bytes, error)) return Fail(error);
    CSVLFile list;
    if (!ImportDvbList(bytes, list, &error))
        return Fail(args[0] + ": nicht importierbar: " + error);
    return Store(list, args[1]);
}

// The list in the reference's order; the summary goes to standard error when
// the list itself goes to standard output.
int Reorder(const Files& args) {
    CSVLFile list, reference;
    Bytes bytes;
    if (!LoadList(args[0], list, bytes) || !LoadList(args[1], reference, bytes)) return Failure;
    const ReferenceOrder order = OrderAfterReference(list, reference);
    ApplyOrder(list.Programs, order.order);
    if (const int stored = Store(list, args[2]); stored != Success) return stored;
    (args[2] == "-" ? std::cerr : std::cout)
        << order.matched << " Programme nach der Referenz geordnet, " << order.unmatched
        << " ohne Gegenstück dahinter\n";
    return Success;
}

int ExportCsv(const Files& args) {
    CSVLFile list;
    Bytes bytes;
    if (!LoadList(args[0], list, bytes)) return Failure;
    const QByteArray csv = ListToCsv(list);
    std::string error;
    if (!WriteOutput(args[1], Bytes(csv.begin(), csv.end()), error)) return Fail(error);
    return Success;
}

int ImportCsv(const Files& args) {
    Bytes bytes;
    std::string error;
    if (!ReadInput(args[0], bytes, error)) return Fail(error);
    CSVLFile list;
    const QByteArray csv(reinterpret_cast<const char*>(bytes.data()),
                         static_cast<qsizetype>(bytes.size()));
    if (!ListFromCsv(csv, list, error)) return Fail(args[0] + ": " + error);
    return Store(list, args[1]);
}

int Run(const Invocation& call) {
    const std::string& c = call.command;
    const Files& files = call.files;
    if (c == "dump") return Dump(files, call.json);
    if (c == "check") return Check(files);
    if (c == "resave") return Resave(files);
    if (c == "from-json") return FromJson(files);
    if (c == "import-dvb") return ImportDvb(files);
    if (c == "reorder") return Reorder(files);
    if (c == "export-csv") return ExportCsv(files);
    if (c == "import-csv") return ImportCsv(files);
    return UsageError("unbekannter Befehl: " + c);  // in the table, but not wired here
}

}  // namespace

int main(int argc, char** argv) {
    const Invocation call = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (call.kind) {
        case Invocation::Kind::Help:
            std::cout << HelpText();
            return std::cout.flush() ? Success : Failure;
        case Invocation::Kind::Version:
            return PrintSvlVersion("svltool");
        case Invocation::Kind::UsageError:
            return UsageError(call.error);
        case Invocation::Kind::Run:
            break;
    }
    return Run(call);
}
