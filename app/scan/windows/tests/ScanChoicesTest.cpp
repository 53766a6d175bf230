// The dialog's choices made into the scan's transponders and settings, and
// the transponder as the progress shows it.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "channellist/CSVLFile.h"
#include "scan/windows/ScanChoices.h"
#include "scan/windows/ScanWindowTexts.h"

namespace {

void AddProgram(CSVLFile& list, const char* lnb, int frequency, int polarisation) {
    auto p = std::make_unique<CProgramInfo>();
    p->LnbName = lnb;
    p->Frequency = frequency;
    p->PolarisationOrQam = polarisation;
    p->SymbolRate = 27500000;
    list.Programs.push_back(std::move(p));
}

class ScanChoicesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto astra = std::make_shared<CLnb>();
        astra->DiseqcType = 1;
        list.Lnbs.Set("Astra", astra);
        list.Lnbs.Set("Hotbird", std::make_shared<CLnb>());
        AddProgram(list, "Astra", 12226000, 1);
        AddProgram(list, "Hotbird", 11766000, 0);
        AddProgram(list, "Astra", 12226000, 1);  // the same transponder again
        AddProgram(list, "Astra", 11836000, 0);
        context.list = &list;
    }
    bool Make(const ScanChoice& choice) {
        return ScanChoices::MakeJob(choice, context, job, error);
    }

    CSVLFile list;
    ScanChoices::Context context;
    ScanJob job;
    QString error;
};

}  // namespace

TEST_F(ScanChoicesTest, ListTranspondersAreTheDistinctOnesOfTheLnbWithItsRecord) {
    ScanChoice choice;
    choice.lnbName = "Astra";
    ASSERT_TRUE(Make(choice)) << error.toStdString();
    EXPECT_EQ(job.transponders,
              (std::vector<ScanTransponder>{{12226000, 1, 27500000}, {11836000, 0, 27500000}}));
    EXPECT_EQ(job.settings.lnbName, "Astra");
    EXPECT_EQ(job.settings.lnb.DiseqcType, 1);
    EXPECT_FALSE(job.settings.followNit);

    list.Lnbs.Set("Leer", std::make_shared<CLnb>());
    choice.lnbName = "Leer";
    EXPECT_FALSE(Make(choice));
    EXPECT_EQ(error, QStringLiteral("Die Liste enthält keine Programme auf dem LNB \"Leer\"."));
}

TEST_F(ScanChoicesTest, NitStartsOnTheTunedProgramsTransponderOfTheChosenLnb) {
    ScanChoice choice;
    choice.lnbName = "Astra";
    choice.source = ScanSource::TunedNit;
    EXPECT_FALSE(Make(choice));
    EXPECT_EQ(error, ScanWindowTexts::NothingTuned);

    context.tuned = list.Programs[1].get();  // on Hotbird
    EXPECT_FALSE(Make(choice));
    EXPECT_EQ(error,
              QStringLiteral("Das eingestellte Programm liegt nicht auf dem LNB \"Astra\"."));

    context.tuned = list.Programs[3].get();
    ASSERT_TRUE(Make(choice));
    EXPECT_EQ(job.transponders, (std::vector<ScanTransponder>{{11836000, 0, 27500000}}));
    EXPECT_TRUE(job.settings.followNit);
}

TEST_F(ScanChoicesTest, TransponderFileIsReadAndItsFaultsAreTold) {
    ScanChoice choice;
    choice.lnbName = "Astra";
    choice.source = ScanSource::TransponderFile;
    EXPECT_FALSE(Make(choice));
    EXPECT_EQ(error, ScanWindowTexts::NoFileChosen);

    QTemporaryDir dir;
    const auto write = [&](const char* text) {
        QFile file(dir.filePath(QStringLiteral("tp.txt")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        return file.fileName();
    };
    choice.transponderFile = write("# Astra\n12226000 V 27500000\n\n10773000 H 22000000\n");
    ASSERT_TRUE(Make(choice)) << error.toStdString();
    EXPECT_EQ(job.transponders,
              (std::vector<ScanTransponder>{{12226000, 1, 27500000}, {10773000, 0, 22000000}}));

    choice.transponderFile = write("12226000 V 27500000\n12226000 X\n");
    EXPECT_FALSE(Make(choice));
    EXPECT_TRUE(error.contains(QStringLiteral("Zeile 2"))) << error.toStdString();

    choice.transponderFile = write("# nur Kommentar\n");
    EXPECT_FALSE(Make(choice));
    EXPECT_EQ(error, ScanWindowTexts::EmptyFile);
}

TEST_F(ScanChoicesTest, CableUsesTheChannelTableWithTheChosenModulation) {
    ScanChoice choice;
    choice.cable = true;
    choice.source = ScanSource::CableChannels;
    choice.qam = 256;
    choice.symbolRate = 6900000;
    context.cableFrequencies = [] { return std::vector<std::uint32_t>{306000, 314000}; };
    ASSERT_TRUE(Make(choice));
    EXPECT_EQ(job.transponders,
              (std::vector<ScanTransponder>{{306000, 256, 6900000}, {314000, 256, 6900000}}));
    EXPECT_EQ(job.settings.lnbName, "Kabel");
    EXPECT_EQ(job.settings.lnb.DiseqcType, -1);

    context.cableFrequencies = [] { return std::vector<std::uint32_t>{}; };
    EXPECT_FALSE(Make(choice));
    EXPECT_EQ(error, ScanWindowTexts::NoCableChannels);
}

TEST_F(ScanChoicesTest, WithoutListOrLnbNothingIsMade) {
    ScanChoice choice;
    choice.lnbName = "Unbekannt";
    EXPECT_FALSE(Make(choice));
    EXPECT_EQ(error, ScanWindowTexts::NoLnb);
    context.list = nullptr;
    EXPECT_FALSE(Make(choice));
    EXPECT_EQ(error, ScanWindowTexts::NoList);
}

TEST(ScanChoicesText, TranspondersShowInMegahertzAndKilosymbols) {
    EXPECT_EQ(ScanChoices::DisplayText({12226000, 1, 27500000}),
              QStringLiteral("12226 MHz V 27500"));
    EXPECT_EQ(ScanChoices::DisplayText({12188500, 0, 22000000}),
              QStringLiteral("12188,5 MHz H 22000"));
    EXPECT_EQ(ScanChoices::DisplayText({346000, 64, 6900000}),
              QStringLiteral("346 MHz QAM64 6900"));
}
