#include "SvlJson.h"

#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <map>
#include <stdexcept>

#include "channellist/Windows1252.h"

namespace {

// ---------------------------------------------------------------- to JSON

QString Text(const std::string& bytes) { return QString::fromStdString(Windows1252ToUtf8(bytes)); }

QString Hex(const ByteBlock& block) {
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(block.data()),
                                          static_cast<qsizetype>(block.size()))
                                   .toHex());
}

QJsonObject StreamToJson(const CStreaminfo& s) {
    return QJsonObject{
        {"Descriptors", Hex(s.Descriptors)}, {"StreamType", s.StreamType}, {"Pid", s.Pid}};
}

QJsonObject ProgramToJson(const CProgramInfo& p) {
    QJsonArray streams;
    for (const auto& s : p.Streams) streams.append(StreamToJson(s));
    return QJsonObject{
        {"Name", Text(p.Name)},
        {"Provider", Text(p.Provider)},
        {"FrontendType", p.FrontendType},
        {"LnbName", Text(p.LnbName)},
        {"Frequency", p.Frequency},
        {"PolarisationOrQam", p.PolarisationOrQam},
        {"SymbolRate", p.SymbolRate},
        {"ProgramType", static_cast<qint64>(p.ProgramType)},
        {"CiAccess", p.CiAccess},
        {"TransportStreamId", p.TransportStreamId},
        {"NetworkId", p.NetworkId},
        {"OriginalNetworkId", p.OriginalNetworkId},
        {"ServiceId", p.ServiceId},
        {"PcrPid", p.PcrPid},
        {"PmtPid", p.PmtPid},
        {"VideoPid", p.VideoPid},
        {"AudioPid", p.AudioPid},
        {"TeletextPid", p.TeletextPid},
        {"Streams", streams},
        {"ProgramData1", Hex(p.ProgramData1)},
        {"ProgramData2", Hex(p.ProgramData2)},
    };
}

QJsonObject LnbToJson(const CLnb& l, int id) {
    return QJsonObject{
        {"Id", id},
        {"LnbType", l.LnbType},
        {"LowFrequency", l.LowFrequency},
        {"HighFrequency", l.HighFrequency},
        {"SwitchFrequency", l.SwitchFrequency},
        {"LowBandLof", l.LowBandLof},
        {"HighBandLof", l.HighBandLof},
        {"CBand", l.CBand},
        {"PowerOn", l.PowerOn},
        {"Tone22kHz", l.Tone22kHz},
        {"DiseqcType", l.DiseqcType},
        {"DiseqcParameter", l.DiseqcParameter},
        {"DiseqcRepeat", l.DiseqcRepeat},
    };
}

// ---------------------------------------------------------------- from JSON

struct JsonError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Bad(const QString& where, const char* what) {
    throw JsonError(where.toStdString() + ": " + what);
}

std::int64_t Integer(const QJsonObject& o, const char* key, const QString& where, std::int64_t min,
                     std::int64_t max) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined()) return 0;
    const QString at = where + "." + key;
    if (!v.isDouble()) Bad(at, "Zahl erwartet");
    const double d = v.toDouble();
    if (d != std::floor(d) || d < static_cast<double>(min) || d > static_cast<double>(max))
        Bad(at, "ganze Zahl außerhalb des Wertebereichs");
    return static_cast<std::int64_t>(d);
}

std::int32_t I32(const QJsonObject& o, const char* key, const QString& where) {
    return static_cast<std::int32_t>(Integer(o, key, where,
                                             std::numeric_limits<std::int32_t>::min(),
                                             std::numeric_limits<std::int32_t>::max()));
}
std::uint32_t U32(const QJsonObject& o, const char* key, const QString& where) {
    return static_cast<std::uint32_t>(Integer(o, key, where, 0, 0xFFFFFFFFll));
}
std::uint16_t U16(const QJsonObject& o, const char* key, const QString& where) {
    return static_cast<std::uint16_t>(Integer(o, key, where, 0, 0xFFFF));
}

std::string String(const QJsonObject& o, const char* key, const QString& where) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined()) return {};
    const QString at = where + "." + key;
    if (!v.isString()) Bad(at, "Text erwartet");
    std::string bytes;
    if (!Utf8ToWindows1252(v.toString().toStdString(), bytes))
        Bad(at, "Zeichen ohne Entsprechung in Windows-1252");
    return bytes;
}

ByteBlock Block(const QJsonObject& o, const char* key, const QString& where) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined()) return {};
    const QString at = where + "." + key;
    if (!v.isString()) Bad(at, "Hex-Text erwartet");
    const QByteArray text = v.toString().toLatin1();
    if (text.size() % 2 != 0) Bad(at, "ungerade Anzahl Hex-Ziffern");
    for (char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c))) Bad(at, "keine Hex-Ziffer");
    const QByteArray raw = QByteArray::fromHex(text);
    return ByteBlock(raw.begin(), raw.end());
}

QJsonArray Array(const QJsonObject& o, const char* key, const QString& where) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined()) return {};
    if (!v.isArray()) Bad(where + "." + key, "Liste erwartet");
    return v.toArray();
}

QJsonObject Object(const QJsonValue& v, const QString& where) {
    if (!v.isObject()) Bad(where, "Objekt erwartet");
    return v.toObject();
}

CStreaminfo StreamFromJson(const QJsonObject& o, const QString& at) {
    CStreaminfo s;
    s.Descriptors = Block(o, "Descriptors", at);
    s.StreamType = U16(o, "StreamType", at);
    s.Pid = U16(o, "Pid", at);
    return s;
}

std::unique_ptr<CProgramInfo> ProgramFromJson(const QJsonObject& o, const QString& at) {
    auto p = std::make_unique<CProgramInfo>();
    p->Name = String(o, "Name", at);
    p->Provider = String(o, "Provider", at);
    p->FrontendType = I32(o, "FrontendType", at);
    p->LnbName = String(o, "LnbName", at);
    p->Frequency = I32(o, "Frequency", at);
    p->PolarisationOrQam = I32(o, "PolarisationOrQam", at);
    p->SymbolRate = I32(o, "SymbolRate", at);
    p->ProgramType = U32(o, "ProgramType", at);
    p->CiAccess = U16(o, "CiAccess", at);
    p->TransportStreamId = U16(o, "TransportStreamId", at);
    p->NetworkId = U16(o, "NetworkId", at);
    p->OriginalNetworkId = U16(o, "OriginalNetworkId", at);
    p->ServiceId = U16(o, "ServiceId", at);
    p->PcrPid = U16(o, "PcrPid", at);
    p->PmtPid = U16(o, "PmtPid", at);
    p->VideoPid = U16(o, "VideoPid", at);
    p->AudioPid = U16(o, "AudioPid", at);
    p->TeletextPid = U16(o, "TeletextPid", at);
    const QJsonArray streams = Array(o, "Streams", at);
    for (qsizetype i = 0; i < streams.size(); ++i) {
        const QString sat = at + ".Streams[" + QString::number(i) + "]";
        p->Streams.push_back(StreamFromJson(Object(streams[i], sat), sat));
    }
    p->ProgramData1 = Block(o, "ProgramData1", at);
    p->ProgramData2 = Block(o, "ProgramData2", at);
    return p;
}

std::shared_ptr<CLnb> LnbFromJson(const QJsonObject& o, const QString& at) {
    auto l = std::make_shared<CLnb>();
    l->LnbType = I32(o, "LnbType", at);
    l->LowFrequency = I32(o, "LowFrequency", at);
    l->HighFrequency = I32(o, "HighFrequency", at);
    l->SwitchFrequency = I32(o, "SwitchFrequency", at);
    l->LowBandLof = I32(o, "LowBandLof", at);
    l->HighBandLof = I32(o, "HighBandLof", at);
    l->CBand = I32(o, "CBand", at);
    l->PowerOn = I32(o, "PowerOn", at);
    l->Tone22kHz = I32(o, "Tone22kHz", at);
    l->DiseqcType = I32(o, "DiseqcType", at);
    l->DiseqcParameter = I32(o, "DiseqcParameter", at);
    l->DiseqcRepeat = I32(o, "DiseqcRepeat", at);
    return l;
}

void LnbsFromJson(const QJsonObject& root, CSVLFile& list) {
    std::map<std::int64_t, std::shared_ptr<CLnb>> objects;
    const QJsonArray lnbObjects = Array(root, "LnbObjects", "$");
    for (qsizetype i = 0; i < lnbObjects.size(); ++i) {
        const QString at = "$.LnbObjects[" + QString::number(i) + "]";
        const QJsonObject o = Object(lnbObjects[i], at);
        const std::int64_t id = Integer(o, "Id", at, 1, std::numeric_limits<std::int32_t>::max());
        if (!objects.emplace(id, LnbFromJson(o, at)).second) Bad(at + ".Id", "Id doppelt vergeben");
    }
    const QJsonArray table = Array(root, "Lnbs", "$");
    for (qsizetype i = 0; i < table.size(); ++i) {
        const QString at = "$.Lnbs[" + QString::number(i) + "]";
        const QJsonObject o = Object(table[i], at);
        if (!o.value("Key").isString()) Bad(at + ".Key", "Text erwartet");
        const std::string key = String(o, "Key", at);
        const auto& entries = list.Lnbs.Entries();
        if (std::any_of(entries.begin(), entries.end(),
                        [&](const auto& e) { return e.key == key; }))
            Bad(at + ".Key", "Schlüssel doppelt vorhanden");
        std::shared_ptr<CLnb> lnb;
        if (!o.value("Object").isNull()) {
            const std::int64_t id =
                Integer(o, "Object", at, 1, std::numeric_limits<std::int32_t>::max());
            auto it = objects.find(id);
            if (it == objects.end()) Bad(at + ".Object", "unbekannte LNB-Id");
            lnb = it->second;
        }
        list.Lnbs.Set(key, lnb);
    }
}

}  // namespace

QJsonDocument ListToJson(const CSVLFile& list) {
    QJsonArray programs;
    for (const auto& p : list.Programs) programs.append(ProgramToJson(*p));
    QJsonArray objects;
    QJsonArray table;
    std::map<const CLnb*, int> ids;
    for (const auto& entry : list.Lnbs.Entries()) {
        QJsonValue object = QJsonValue::Null;
        if (entry.lnb) {
            auto [it, added] = ids.emplace(entry.lnb.get(), static_cast<int>(ids.size()) + 1);
            if (added) objects.append(LnbToJson(*entry.lnb, it->second));
            object = it->second;
        }
        table.append(QJsonObject{{"Key", Text(entry.key)}, {"Object", object}});
    }
    return QJsonDocument(QJsonObject{
        {"Reserved", static_cast<qint64>(list.Reserved)},
        {"Programs", programs},
        {"LnbObjects", objects},
        {"Lnbs", table},
    });
}

bool ListFromJson(const QJsonDocument& json, CSVLFile& list, std::string& error) {
    list.Clear();
    try {
        if (!json.isObject()) Bad("$", "Objekt erwartet");
        const QJsonObject root = json.object();
        list.Reserved = U32(root, "Reserved", "$");
        const QJsonArray programs = Array(root, "Programs", "$");
        for (qsizetype i = 0; i < programs.size(); ++i) {
            const QString at = "$.Programs[" + QString::number(i) + "]";
            list.InsertProgram(ProgramFromJson(Object(programs[i], at), at));
        }
        LnbsFromJson(root, list);
    } catch (const JsonError& e) {
        list.Clear();
        error = e.what();
        return false;
    }
    return true;
}
