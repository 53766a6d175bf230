// The svltool command line, run as a separate process: exit codes, messages,
// and the JSON form reproducing files byte for byte.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "SampleLists.h"
#include "TempDir.h"
#include "channellist/AtomicFile.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Result {
    int exitCode = -1;
    std::string output;  // standard output and error
};

Result RunTool(const std::string& arguments) {
    const std::string command = std::string(SVLTOOL_PATH) + " " + arguments + " 2>&1";
    Result r;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) r.output.append(buffer, n);
    const int status = pclose(pipe);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

Bytes Read(const std::string& path) {
    Bytes bytes;
    ReadWholeFile(path, bytes, nullptr);
    return bytes;
}

void Write(const std::string& path, const Bytes& bytes) {
    ASSERT_TRUE(SaveFileAtomically(path, bytes, nullptr));
}

class Svltool : public ::testing::Test {
  protected:
    TempDir dir;
    std::string sample = dir.File("sample.svl");
    void SetUp() override {
        CSVLFile list = MakeSampleList();
        // Every byte value in a name, and a key without an object.
        std::string all;
        for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
        list.Programs[0]->Name = all + '\0' + "end";
        list.Lnbs.Set("leer", nullptr);
        Write(sample, list.Store());
    }
};

TEST_F(Svltool, UsageErrorsExitWithTwo) {
    for (const char* args : {"", "frobnicate x", "dump", "dump --json", "dump a b", "check",
                             "resave a", "from-json a", "import-dvb a b c"})
        EXPECT_EQ(RunTool(args).exitCode, 2) << args;
}

TEST_F(Svltool, DumpShowsProgramsAndLnbs) {
    const Result r = RunTool("dump " + sample);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("Bayerisches FS S\u00fcd"), std::string::npos);
    EXPECT_NE(r.output.find("Audio (deu)"), std::string::npos);
    EXPECT_NE(r.output.find("\"Alias\" -> #"), std::string::npos);
    EXPECT_NE(r.output.find("(dasselbe Objekt)"), std::string::npos);
    EXPECT_NE(r.output.find("Anzahl Programme: 3"), std::string::npos);
}

TEST_F(Svltool, JsonRoundTripReproducesTheFile) {
    const Result json = RunTool("dump --json " + sample);
    ASSERT_EQ(json.exitCode, 0) << json.output;
    EXPECT_NE(json.output.find("\"ProgramData1\": \"010203\""), std::string::npos);
    { std::ofstream(dir.File("list.json")) << json.output; }
    ASSERT_EQ(RunTool("from-json " + dir.File("list.json") + " " + dir.File("back.svl")).exitCode,
              0);
    EXPECT_EQ(Read(dir.File("back.svl")), Read(sample));
    // Standard input and output.
    const Result piped =
        RunTool("from-json - - < " + dir.File("list.json") + " > " + dir.File("piped.svl"));
    EXPECT_EQ(piped.exitCode, 0) << piped.output;
    EXPECT_EQ(Read(dir.File("piped.svl")), Read(sample));
    // And JSON -> svl -> JSON gives the same JSON.
    EXPECT_EQ(RunTool("dump --json " + dir.File("back.svl")).output, json.output);
}

TEST_F(Svltool, CheckAndResave) {
    const Result ok = RunTool("check " + sample);
    EXPECT_EQ(ok.exitCode, 0) << ok.output;
    EXPECT_NE(ok.output.find("byte-identisch"), std::string::npos);

    Bytes trailing = Read(sample);
    trailing.push_back(0);
    Write(dir.File("trailing.svl"), trailing);
    const Result differs = RunTool("check " + dir.File("trailing.svl"));
    EXPECT_EQ(differs.exitCode, 1);
    EXPECT_NE(differs.output.find("nicht byte-identisch"), std::string::npos) << differs.output;

    ASSERT_EQ(RunTool("resave " + dir.File("trailing.svl") + " " + dir.File("out.svl")).exitCode,
              0);
    EXPECT_EQ(Read(dir.File("out.svl")), Read(sample));
}

TEST_F(Svltool, FormatErrorsNameTheOffsetAndWriteNothing) {
    Bytes bytes = Read(sample);
    bytes.resize(bytes.size() - 5);
    Write(dir.File("cut.svl"), bytes);
    for (const char* command : {"check ", "dump ", "dump --json "}) {
        const Result r = RunTool(command + dir.File("cut.svl"));
        EXPECT_EQ(r.exitCode, 1) << command;
        EXPECT_NE(r.output.find("Formatfehler bei Byte"), std::string::npos) << r.output;
        EXPECT_NE(r.output.find("Unerwartetes Dateiende"), std::string::npos) << r.output;
    }
    EXPECT_EQ(RunTool("resave " + dir.File("cut.svl") + " " + dir.File("x.svl")).exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.svl")));
    EXPECT_EQ(RunTool("dump " + dir.File("missing.svl")).exitCode, 1);
}

TEST_F(Svltool, FromJsonRefusesBadValues) {
    const std::pair<const char*, const char*> cases[] = {
        {"{", "kein g\u00fcltiges JSON"},
        {"[]", "Objekt erwartet"},
        {R"({"Programs":[{"VideoPid":65536}]})", "$.Programs[0].VideoPid"},
        {R"({"Programs":[{"Frequency":1.5}]})", "Frequency"},
        {R"({"Programs":[{"Name":"\u0100"}]})", "Windows-1252"},
        {R"({"Programs":[{"Streams":[{"Descriptors":"0g"}]}]})", "Hex"},
        {R"({"Lnbs":[{"Key":"a","Object":3}]})", "unbekannte LNB-Id"},
        {R"({"LnbObjects":[{"Id":1},{"Id":1}]})", "doppelt"},
        {R"({"Lnbs":[{"Key":"a","Object":null},{"Key":"a","Object":null}]})", "doppelt"},
    };
    for (const auto& [json, message] : cases) {
        std::ofstream(dir.File("bad.json"), std::ios::trunc) << json;
        const Result r = RunTool("from-json " + dir.File("bad.json") + " " + dir.File("bad.svl"));
        EXPECT_EQ(r.exitCode, 1) << json;
        EXPECT_NE(r.output.find(message), std::string::npos) << json << "\n" << r.output;
        EXPECT_FALSE(std::filesystem::exists(dir.File("bad.svl")));
    }
}

TEST_F(Svltool, ReorderPutsTheListIntoTheReferencesOrder) {
    CSVLFile reference = MakeSampleList();
    std::reverse(reference.Programs.begin(), reference.Programs.end());
    reference.Programs.erase(reference.Programs.begin());  // the last program has no counterpart
    const std::string ref = dir.File("ref.svl"), out = dir.File("out.svl");
    Write(ref, reference.Store());
    const Result r = RunTool("reorder " + sample + " " + ref + " " + out);
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(r.output, "2 Programme nach der Referenz geordnet, 1 ohne Gegenstück dahinter\n");
    CSVLFile before, after;
    ASSERT_TRUE(before.Load(Read(sample)));
    ASSERT_TRUE(after.Load(Read(out)));
    ASSERT_EQ(after.Programs.size(), 3u);
    EXPECT_EQ(*after.Programs[0], *before.Programs[1]);
    EXPECT_EQ(*after.Programs[1], *before.Programs[0]);
    EXPECT_EQ(*after.Programs[2], *before.Programs[2]);
    EXPECT_EQ(RunTool("reorder " + sample + " " + ref).exitCode, 2);
    const Result missing = RunTool("reorder " + sample + " " + dir.File("fehlt.svl") + " " + out);
    EXPECT_EQ(missing.exitCode, 1);
}

TEST_F(Svltool, CsvRoundTripStoresByteForByte) {
    const std::string csv = dir.File("liste.csv"), back = dir.File("back.svl");
    const Result out = RunTool("export-csv " + sample + " " + csv);
    ASSERT_EQ(out.exitCode, 0) << out.output;
    const Bytes text = Read(csv);
    const std::string head(text.begin(), text.begin() + 40);
    EXPECT_EQ(head.substr(0, 40), "Satz,Reserved,Name,Provider,FrontendType");
    const Result in = RunTool("import-csv " + csv + " " + back);
    ASSERT_EQ(in.exitCode, 0) << in.output;
    EXPECT_EQ(Read(back), Read(sample));
}

TEST_F(Svltool, CsvAsASpreadsheetWritesIt) {
    // Columns in another order, a quoted comma, quote and line break, CRLF and
    // LF endings, an empty line, a table entry without an object.
    const std::string csv = dir.File("hand.csv"), out = dir.File("hand.svl");
    const std::string text =
        "Satz,Frequency,Name,ServiceId,Streams,Key,Object,Id,LnbType\r\n"
        "Programm,11836000,\"Das \"\"Erste\"\", HD\nneu\",28106,"
        "\"[{\"\"Pid\"\":101,\"\"StreamType\"\":2}]\",,,,\n"
        "\n"
        "LNB-Objekt,,,,,,,1,3\r\n"
        "LNB,,,,,Astra,1,,\r\n"
        "LNB,,,,,leer,,,\r\n";
    Write(csv, Bytes(text.begin(), text.end()));
    const Result r = RunTool("import-csv " + csv + " " + out);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    CSVLFile list;
    ASSERT_TRUE(list.Load(Read(out)));
    ASSERT_EQ(list.Programs.size(), 1u);
    EXPECT_EQ(list.Programs[0]->Name, "Das \"Erste\", HD\nneu");
    EXPECT_EQ(list.Programs[0]->Frequency, 11836000);
    EXPECT_EQ(list.Programs[0]->ServiceId, 28106);
    ASSERT_EQ(list.Programs[0]->Streams.size(), 1u);
    EXPECT_EQ(list.Programs[0]->Streams[0].Pid, 101);
    ASSERT_NE(list.FindLnb("Astra"), nullptr);
    EXPECT_EQ(list.FindLnb("Astra")->LnbType, 3);
    EXPECT_EQ(list.Lnbs.Size(), 2u);
}

TEST_F(Svltool, CsvErrorsNameTheRowAndWriteNothing) {
    const std::string csv = dir.File("bad.csv"), out = dir.File("bad.svl");
    const std::pair<std::string, std::string> cases[] = {
        {"Satz,Name\r\nProgramm,\"offen\r\n", "Zeile 2: Anführungszeichen nicht geschlossen"},
        {"Satz,Farbe\r\n", "Zeile 1: unbekannte Spalte \"Farbe\""},
        {"Satz,Frequency\r\nProgramm,hoch\r\n", "Zeile 2, Spalte Frequency: ungültiger Wert"},
        {"Satz,Name\r\nSender,x\r\n", "Zeile 2, Spalte Satz: unbekannter Satz \"Sender\""},
        {"Satz,Name\r\nProgramm,a,b\r\n", "Zeile 2: mehr Felder als Spalten"},
    };
    for (const auto& [text, message] : cases) {
        Write(csv, Bytes(text.begin(), text.end()));
        const Result r = RunTool("import-csv " + csv + " " + out);
        EXPECT_EQ(r.exitCode, 1) << text;
        EXPECT_NE(r.output.find(message), std::string::npos) << r.output;
        EXPECT_FALSE(std::filesystem::exists(out)) << text;
    }
}

TEST_F(Svltool, ImportDvb) {
    Bytes record(64, 0);
    std::memcpy(record.data(), "DVSO", 4);
    record[8] = 0x2E, record[9] = 0x7E;
    std::memcpy(record.data() + 32, "Test", 4);
    Write(dir.File("in.dvb"), record);
    const Result ok = RunTool("import-dvb " + dir.File("in.dvb") + " " + dir.File("in.svl"));
    ASSERT_EQ(ok.exitCode, 0) << ok.output;
    CSVLFile list;
    ASSERT_TRUE(list.Load(Read(dir.File("in.svl"))));
    ASSERT_EQ(list.Programs.size(), 1u);
    EXPECT_EQ(list.Programs[0]->Frequency, 11902000);

    record.push_back(0);
    Write(dir.File("bad.dvb"), record);
    const Result bad = RunTool("import-dvb " + dir.File("bad.dvb") + " " + dir.File("bad.svl"));
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.output.find("nicht importierbar"), std::string::npos) << bad.output;
    EXPECT_FALSE(std::filesystem::exists(dir.File("bad.svl")));
}

}  // namespace
