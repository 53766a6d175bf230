#include "CDemoList.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace demomux {
namespace {

std::string Latin1(const QString& s) { return s.toLatin1().toStdString(); }

bool Pid(const QJsonValue& v, uint16_t& out) {
    const int n = v.toInt(-1);
    if (n < 0 || n > 0x1FFF) return false;
    out = uint16_t(n);
    return true;
}

bool ReadStreams(const QJsonArray& arr, DemoProgram& p) {
    for (const auto& sv : arr) {
        const QJsonObject s = sv.toObject();
        DemoStream st;
        const int type = s.value("StreamType").toInt(-1);
        if (type < 0 || type > 255 || !Pid(s.value("Pid"), st.pid)) return false;
        st.type = uint8_t(type);
        const QByteArray d = QByteArray::fromHex(s.value("Descriptors").toString().toLatin1());
        if (d.size() > 200) return false;
        st.descriptors.assign(d.begin(), d.end());
        p.streams.push_back(st);
    }
    return true;
}

bool ReadProgram(const QJsonObject& o, DemoProgram& p) {
    p.name = Latin1(o.value("Name").toString());
    p.provider = Latin1(o.value("Provider").toString());
    p.programType = uint32_t(o.value("ProgramType").toInteger());
    const int sid = o.value("ServiceId").toInt(-1);
    if (sid < 1 || sid > 0xFFFF || p.name.size() > 60 || p.provider.size() > 60) return false;
    p.serviceId = uint16_t(sid);
    if (!Pid(o.value("PmtPid"), p.pmtPid) || !Pid(o.value("PcrPid"), p.pcrPid) ||
        !Pid(o.value("VideoPid"), p.videoPid) || !Pid(o.value("AudioPid"), p.audioPid)) {
        return false;
    }
    return ReadStreams(o.value("Streams").toArray(), p);
}

}  // namespace

std::string DemoTransponder::FileName() const {
    return std::to_string(frequencyKHz / 1000) + (vertical ? "V" : "H") + ".ts";
}

std::optional<CDemoList> CDemoList::Parse(const std::string& json, std::string& error) {
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(json), &pe);
    if (!doc.isObject()) {
        error = "keine gültige Programmliste: " + pe.errorString().toStdString();
        return std::nullopt;
    }
    CDemoList list;
    for (const auto& v : doc.object().value("Programs").toArray()) {
        const QJsonObject o = v.toObject();
        DemoProgram p;
        if (!ReadProgram(o, p)) {
            error = "Programm mit ungültigen Angaben: " + o.value("Name").toString().toStdString();
            return std::nullopt;
        }
        const uint32_t freq = uint32_t(o.value("Frequency").toInteger());
        const bool vertical = o.value("PolarisationOrQam").toInt() == 1;
        DemoTransponder* tp = nullptr;
        for (auto& t : list.transponders) {
            if (t.frequencyKHz == freq && t.vertical == vertical) tp = &t;
        }
        if (!tp) {
            DemoTransponder t;
            t.frequencyKHz = freq;
            t.vertical = vertical;
            t.symbolRate = uint32_t(o.value("SymbolRate").toInteger());
            t.tsid = uint16_t(o.value("TransportStreamId").toInt());
            t.onid = uint16_t(o.value("OriginalNetworkId").toInt());
            t.networkId = uint16_t(o.value("NetworkId").toInt());
            list.transponders.push_back(t);
            tp = &list.transponders.back();
        }
        tp->programs.push_back(p);
    }
    if (list.transponders.empty()) {
        error = "die Programmliste enthält keine Programme";
        return std::nullopt;
    }
    return list;
}

std::optional<CDemoList> CDemoList::Load(const std::string& jsonPath, std::string& error) {
    QFile f(QString::fromStdString(jsonPath));
    if (!f.open(QIODevice::ReadOnly)) {
        error = "Programmliste nicht lesbar: " + jsonPath;
        return std::nullopt;
    }
    return Parse(f.readAll().toStdString(), error);
}

}  // namespace demomux
