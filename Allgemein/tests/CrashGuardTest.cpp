// The crash guard end to end: a child program faults on purpose and its report
// and exit are checked (the child presses OK in the dialog itself).
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <regex>
#include <string>
#include <vector>

namespace {

struct ChildRun {
    bool finished = false;
    QProcess::ExitStatus status = QProcess::NormalExit;
    int exitCode = -1;
    QString out;
    QString err;
};

ChildRun RunChild(const QString& mode) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(QStringLiteral(SVL_CRASH_CHILD), {mode});
    ChildRun run;
    run.finished = child.waitForFinished(60000);
    if (!run.finished) child.kill(), child.waitForFinished();
    run.status = child.exitStatus();
    run.exitCode = child.exitCode();
    run.out = QString::fromLocal8Bit(child.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(child.readAllStandardError());
    return run;
}

const std::string ReportStart = "There has been a critical error in ";
constexpr std::size_t ReportLineCount = 24;

// The report's lines from standard error (empty when there is none).
std::vector<std::string> ReportLines(const QString& err) {
    const std::string text = err.toStdString();
    std::vector<std::string> lines;
    std::size_t at = text.find(ReportStart);
    while (at != std::string::npos && lines.size() < ReportLineCount) {
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) break;
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

std::string Field(const std::vector<std::string>& lines, std::size_t index,
                  const std::string& label) {
    if (index >= lines.size() || lines[index].rfind(label, 0) != 0) return "<none>";
    return lines[index].substr(label.size());
}

bool Matches(const std::string& line, const std::string& pattern) {
    return std::regex_match(line, std::regex(pattern));
}

// The parts every report has, whatever the fault; returns the report's lines.
std::vector<std::string> CheckReport(const ChildRun& run, const std::string& code) {
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.status, QProcess::NormalExit) << run.err.toStdString();
    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();

    const std::vector<std::string> lines = ReportLines(run.err);
    EXPECT_EQ(lines.size(), ReportLineCount) << run.err.toStdString();
    if (lines.size() != ReportLineCount) return lines;
    const std::string child =
        QFileInfo(QStringLiteral(SVL_CRASH_CHILD)).canonicalFilePath().toStdString();
    const std::vector<std::string> head = {
        ReportStart + "SVL_Editor",
        "",
        "A copy of this information should be sent to fehlerbericht@svl-editor.invalid",
        "",
        "Filename       : " + child,
        "Version        : 9.8.7.6",
        "Exception      : " + code,
    };
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 7), head);
    EXPECT_EQ(lines[10], "");
    EXPECT_EQ(lines[15], "");

    // The faulting address is the instruction pointer of the register block.
    const std::string hex = "[0-9a-f]{8,16}";
    std::smatch rip;
    EXPECT_TRUE(std::regex_match(lines[11], rip,
                                 std::regex("Registers      : RAX=" + hex +
                                            " CS=[0-9a-f]{4} RIP=(" + hex + ") EFLGS=" + hex)))
        << lines[11];
    const std::string address = Field(lines, 7, "Address        : ");
    EXPECT_EQ(address, rip.size() > 1 ? rip.str(1) : "");
    EXPECT_TRUE(Matches(address, hex) && std::stoull(address, nullptr, 16) != 0) << address;
    const std::string more = "               : ";
    EXPECT_TRUE(
        Matches(lines[12], more + "RBX=" + hex + " SS=[0-9a-f]{4} RSP=" + hex + " RBP=" + hex))
        << lines[12];
    EXPECT_TRUE(Matches(lines[13], more + "RCX=" + hex + " DS=0000 RSI=" + hex + " FS=[0-9a-f]{4}"))
        << lines[13];
    EXPECT_TRUE(Matches(lines[14], more + "RDX=" + hex + " ES=0000 RDI=" + hex + " GS=[0-9a-f]{4}"))
        << lines[14];

    // Eight lines of four words; the fault's own frame has a return address.
    const std::string words = "(" + hex + ") " + hex + " " + hex + " " + hex;
    EXPECT_TRUE(Matches(lines[16], "Stack Trace    : " + words)) << lines[16];
    for (std::size_t i = 17; i < ReportLineCount; ++i) {
        EXPECT_TRUE(Matches(lines[i], more + words)) << lines[i];
    }
    EXPECT_NE(std::stoull(lines[16].substr(17, 16), nullptr, 16), 0u) << lines[16];

    // The dialog showed the same text.
    std::string shown;
    for (const std::string& line : lines) shown += line + "\n";
    const std::string out = run.out.toStdString();
    const std::size_t text = out.find("text:\n");
    EXPECT_EQ(text == std::string::npos ? out : out.substr(text + 6), shown);
    EXPECT_NE(out.find("title: Crash Details\nread-only: 1\nok: OK\n"), std::string::npos) << out;
    return lines;
}

TEST(CrashGuard, DivisionByZeroInANestedDispatchIsReportedAndEndsWithCode3) {
    const std::vector<std::string> lines =
        CheckReport(RunChild(QStringLiteral("divide")), "c0000094");
    EXPECT_EQ(Field(lines, 8, "Access Type    : "), "NA");
    EXPECT_EQ(Field(lines, 9, "Access Address : "), "00000000");
}

TEST(CrashGuard, ReadOfAddressZeroAfterANestedDispatchIsAReadViolation) {
    const std::vector<std::string> lines =
        CheckReport(RunChild(QStringLiteral("null")), "c0000005");
    EXPECT_EQ(Field(lines, 8, "Access Type    : "), "read");
    const std::string accessed = Field(lines, 9, "Access Address : ");
    EXPECT_TRUE(Matches(accessed, "0{8,16}")) << accessed;
}

TEST(CrashGuard, StackOverflowIsCaughtOnTheHandlersOwnStack) {
    const std::vector<std::string> lines =
        CheckReport(RunChild(QStringLiteral("overflow")), "c00000fd");
    EXPECT_EQ(Field(lines, 8, "Access Type    : "), "NA");
}

TEST(CrashGuard, FaultsOfOtherThreadsAndOutsideADispatchCrashAsUsual) {
    for (const char* mode : {"thread", "outside"}) {
        const ChildRun run = RunChild(QString::fromLatin1(mode));
        EXPECT_TRUE(run.finished) << mode;
        EXPECT_EQ(run.status, QProcess::CrashExit) << mode << ": exit code " << run.exitCode;
        EXPECT_FALSE(run.err.contains(QString::fromStdString(ReportStart))) << mode;
    }
}

}  // namespace
