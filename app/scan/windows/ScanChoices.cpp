#include "scan/windows/ScanChoices.h"

#include "channellist/CSVLFile.h"
#include "channellist/Windows1252.h"
#include "scan/TransponderSources.h"
#include "scan/windows/ScanWindowTexts.h"

namespace {

QString LnbText(const std::string& name) { return QString::fromStdString(Windows1252ToUtf8(name)); }

// kHz as MHz with a decimal comma where it is not a whole number.
QString Megahertz(std::uint32_t kHz) {
    QString text = QString::number(kHz / 1000);
    if (const std::uint32_t rest = kHz % 1000) {
        QString fraction = QStringLiteral("%1").arg(rest, 3, 10, QLatin1Char('0'));
        while (fraction.endsWith(QLatin1Char('0'))) fraction.chop(1);
        text += QLatin1Char(',') + fraction;
    }
    return text;
}

bool SatelliteTransponders(const ScanChoice& choice, const ScanChoices::Context& context,
                           ScanJob& job, QString& error) {
    switch (choice.source) {
        case ScanSource::ListTransponders:
            job.transponders = TransponderSources::FromList(*context.list, choice.lnbName);
            if (job.transponders.empty())
                error = ScanWindowTexts::NoProgramsOnLnb.arg(LnbText(choice.lnbName));
            return error.isEmpty();
        case ScanSource::TunedNit: {
            const CProgramInfo* tuned = context.tuned;
            if (!tuned)
                error = ScanWindowTexts::NothingTuned;
            else if (tuned->LnbName != choice.lnbName)
                error = ScanWindowTexts::TunedOnOtherLnb.arg(LnbText(choice.lnbName));
            if (!error.isEmpty()) return false;
            job.transponders = {{std::uint32_t(tuned->Frequency), tuned->PolarisationOrQam,
                                 std::uint32_t(tuned->SymbolRate)}};
            job.settings.followNit = true;
            return true;
        }
        case ScanSource::TransponderFile: {
            if (choice.transponderFile.isEmpty()) {
                error = ScanWindowTexts::NoFileChosen;
                return false;
            }
            std::string why;
            if (!TransponderSources::ReadTransponderFile(choice.transponderFile.toStdString(),
                                                         job.transponders, why)) {
                error = QString::fromStdString(why);
                return false;
            }
            if (job.transponders.empty()) error = ScanWindowTexts::EmptyFile;
            return error.isEmpty();
        }
        case ScanSource::CableChannels:
            break;
    }
    return false;
}

}  // namespace

namespace ScanChoices {

bool MakeJob(const ScanChoice& choice, const Context& context, ScanJob& job, QString& error) {
    job = {};
    error.clear();
    if (!context.list) {
        error = ScanWindowTexts::NoList;
        return false;
    }
    if (choice.cable) {
        const std::vector<std::uint32_t> frequencies =
            context.cableFrequencies ? context.cableFrequencies() : std::vector<std::uint32_t>{};
        job.transponders =
            TransponderSources::FromCableFrequencies(frequencies, choice.qam, choice.symbolRate);
        job.settings.lnbName = ScanWindowTexts::CableLnbName.toStdString();
        job.settings.lnb = CableLnb();
        if (job.transponders.empty()) error = ScanWindowTexts::NoCableChannels;
        return error.isEmpty();
    }
    const CLnb* lnb = context.list->FindLnb(choice.lnbName);
    if (!lnb) {
        error = ScanWindowTexts::NoLnb;
        return false;
    }
    job.settings.lnbName = choice.lnbName;
    job.settings.lnb = *lnb;
    return SatelliteTransponders(choice, context, job, error);
}

QString DisplayText(const ScanTransponder& tp) {
    const QString rate = QString::number(tp.symbolRate / 1000);
    if (tp.IsCable())
        return QStringLiteral("%1 MHz QAM%2 %3")
            .arg(Megahertz(tp.frequency))
            .arg(tp.polarisationOrQam)
            .arg(rate);
    const QChar polarisation = tp.polarisationOrQam == 1 ? QLatin1Char('V') : QLatin1Char('H');
    return QStringLiteral("%1 MHz %2 %3").arg(Megahertz(tp.frequency), polarisation, rate);
}

CLnb CableLnb() {
    CLnb lnb;
    lnb.DiseqcType = -1;  // no switch in front of a cable tuner
    return lnb;
}

}  // namespace ScanChoices
