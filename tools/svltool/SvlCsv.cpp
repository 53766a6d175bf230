#include "SvlCsv.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <optional>
#include <vector>

#include "SvlJson.h"

namespace {

enum class Kind { Number, Text, Json, Id };

struct Column {
    const char* name;
    Kind kind;
};

// The columns, in the JSON form's order: the list, the program, the LNB
// object, the table entry.
const Column kColumns[] = {
    {"Satz", Kind::Text},
    {"Reserved", Kind::Number},
    {"Name", Kind::Text},
    {"Provider", Kind::Text},
    {"FrontendType", Kind::Number},
    {"LnbName", Kind::Text},
    {"Frequency", Kind::Number},
    {"PolarisationOrQam", Kind::Number},
    {"SymbolRate", Kind::Number},
    {"ProgramType", Kind::Number},
    {"CiAccess", Kind::Number},
    {"TransportStreamId", Kind::Number},
    {"NetworkId", Kind::Number},
    {"OriginalNetworkId", Kind::Number},
    {"ServiceId", Kind::Number},
    {"PcrPid", Kind::Number},
    {"PmtPid", Kind::Number},
    {"VideoPid", Kind::Number},
    {"AudioPid", Kind::Number},
    {"TeletextPid", Kind::Number},
    {"Streams", Kind::Json},
    {"ProgramData1", Kind::Text},
    {"ProgramData2", Kind::Text},
    {"Id", Kind::Number},
    {"LnbType", Kind::Number},
    {"LowFrequency", Kind::Number},
    {"HighFrequency", Kind::Number},
    {"SwitchFrequency", Kind::Number},
    {"LowBandLof", Kind::Number},
    {"HighBandLof", Kind::Number},
    {"CBand", Kind::Number},
    {"PowerOn", Kind::Number},
    {"Tone22kHz", Kind::Number},
    {"DiseqcType", Kind::Number},
    {"DiseqcParameter", Kind::Number},
    {"DiseqcRepeat", Kind::Number},
    {"Key", Kind::Text},
    {"Object", Kind::Id},
};

// Record names in the first column, and the JSON array each row kind fills.
struct Record {
    const char* name;
    const char* array;  // nullptr: the list itself
};
const Record kRecords[] = {
    {"Liste", nullptr}, {"Programm", "Programs"}, {"LNB-Objekt", "LnbObjects"}, {"LNB", "Lnbs"}};

// ------------------------------------------------------------------ writing

QByteArray Field(const QString& text) {
    QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\n') &&
        !bytes.contains('\r'))
        return bytes;
    bytes.replace("\"", "\"\"");
    return '"' + bytes + '"';
}

QString Cell(const QJsonValue& v, Kind kind) {
    if (v.isUndefined() || v.isNull()) return {};
    if (kind == Kind::Json)
        return QString::fromUtf8(QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact));
    if (v.isString()) return v.toString();
    return QString::number(static_cast<qint64>(v.toDouble()));
}

void AppendRow(QByteArray& out, const char* record, const QJsonObject& fields) {
    out += record;
    for (std::size_t c = 1; c < std::size(kColumns); ++c) {
        out += ',';
        out += Field(Cell(fields.value(QLatin1String(kColumns[c].name)), kColumns[c].kind));
    }
    out += "\r\n";
}

// ------------------------------------------------------------------ reading

/// RFC 4180 records; CRLF or LF ends a row, quoted fields may hold both.
/// Nothing on a malformed quote.
std::optional<std::vector<QStringList>> ParseCsv(const QByteArray& csv, std::string& error) {
    std::vector<QStringList> rows;
    QStringList row;
    QByteArray field;
    qsizetype i = csv.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    bool quoted = false, fieldStarted = false;
    auto endField = [&] {
        row << QString::fromUtf8(field);
        field.clear();
        fieldStarted = false;
    };
    for (; i < csv.size(); ++i) {
        const char c = csv[i];
        if (quoted) {
            if (c != '"') {
                field += c;
            } else if (i + 1 < csv.size() && csv[i + 1] == '"') {
                field += '"';
                ++i;
            } else {
                quoted = false;
                if (i + 1 < csv.size() && csv[i + 1] != ',' && csv[i + 1] != '\r' &&
                    csv[i + 1] != '\n') {
                    error = "Zeile " + std::to_string(rows.size() + 1) +
                            ": Zeichen nach dem schließenden Anführungszeichen";
                    return std::nullopt;
                }
            }
        } else if (c == '"' && !fieldStarted && field.isEmpty()) {
            quoted = fieldStarted = true;
        } else if (c == ',') {
            endField();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < csv.size() && csv[i + 1] == '\n') ++i;
            endField();
            rows.push_back(row);
            row.clear();
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted) {
        error =
            "Zeile " + std::to_string(rows.size() + 1) + ": Anführungszeichen nicht geschlossen";
        return std::nullopt;
    }
    if (fieldStarted || !field.isEmpty() || !row.isEmpty()) {
        endField();
        rows.push_back(row);
    }
    return rows;
}

std::optional<QJsonValue> Value(const QString& cell, Kind kind) {
    // Empty cells: texts are empty, a table entry without an object names
    // none, other fields take their default.
    if (cell.isEmpty() && kind == Kind::Text) return QJsonValue(QString());
    if (cell.isEmpty() && kind == Kind::Id) return QJsonValue(QJsonValue::Null);
    if (cell.isEmpty()) return std::nullopt;
    switch (kind) {
        case Kind::Text:
            return QJsonValue(cell);
        case Kind::Json: {
            const QJsonDocument doc = QJsonDocument::fromJson(cell.toUtf8());
            if (!doc.isArray()) return QJsonValue(QJsonValue::Undefined);
            return QJsonValue(doc.array());
        }
        case Kind::Number:
        case Kind::Id: {
            bool ok = false;
            const qlonglong n = cell.toLongLong(&ok);
            if (!ok) return QJsonValue(QJsonValue::Undefined);
            return QJsonValue(static_cast<double>(n));
        }
    }
    return std::nullopt;
}

const Column* FindColumn(const QString& name) {
    for (const Column& c : kColumns)
        if (name == QLatin1String(c.name)) return &c;
    return nullptr;
}

const Record* FindRecord(const QString& name) {
    for (const Record& r : kRecords)
        if (name == QLatin1String(r.name)) return &r;
    return nullptr;
}

std::string At(std::size_t row, const QString& column) {
    return "Zeile " + std::to_string(row + 1) + ", Spalte " + column.toStdString();
}

}  // namespace

QByteArray ListToCsv(const CSVLFile& list) {
    const QJsonObject json = ListToJson(list).object();
    QByteArray out = kColumns[0].name;
    for (std::size_t c = 1; c < std::size(kColumns); ++c) out += QByteArray(",") + kColumns[c].name;
    out += "\r\n";
    AppendRow(out, kRecords[0].name, QJsonObject{{"Reserved", json.value("Reserved")}});
    for (std::size_t r = 1; r < std::size(kRecords); ++r)
        for (const QJsonValue& v : json.value(QLatin1String(kRecords[r].array)).toArray())
            AppendRow(out, kRecords[r].name, v.toObject());
    return out;
}

bool ListFromCsv(const QByteArray& csv, CSVLFile& list, std::string& error) {
    const auto rows = ParseCsv(csv, error);
    if (!rows) return false;
    if (rows->empty()) {
        error = "Keine Kopfzeile";
        return false;
    }
    const QStringList& header = rows->front();
    std::vector<const Column*> columns;
    for (const QString& name : header) {
        const Column* c = FindColumn(name);
        if (!c || (columns.empty() && c != &kColumns[0])) {
            error = "Zeile 1: unbekannte Spalte \"" + name.toStdString() + "\"";
            if (c) error = "Zeile 1: die erste Spalte muss \"Satz\" heißen";
            return false;
        }
        columns.push_back(c);
    }
    QJsonObject json;
    QJsonArray arrays[std::size(kRecords)];
    for (std::size_t r = 1; r < rows->size(); ++r) {
        const QStringList& cells = (*rows)[r];
        if (cells.size() == 1 && cells[0].isEmpty()) continue;  // an empty line
        if (std::size_t(cells.size()) > columns.size()) {
            error = "Zeile " + std::to_string(r + 1) + ": mehr Felder als Spalten";
            return false;
        }
        const Record* record = FindRecord(cells[0]);
        if (!record) {
            error = At(r, "Satz") + ": unbekannter Satz \"" + cells[0].toStdString() + "\"";
            return false;
        }
        QJsonObject fields;
        for (qsizetype c = 1; c < cells.size(); ++c) {
            const auto value = Value(cells[c], columns[std::size_t(c)]->kind);
            if (!value) continue;
            if (value->isUndefined()) {
                error = At(r, header[c]) + ": ungültiger Wert \"" + cells[c].toStdString() + "\"";
                return false;
            }
            fields.insert(QLatin1String(columns[std::size_t(c)]->name), *value);
        }
        if (!record->array) {
            json.insert("Reserved", fields.value("Reserved"));
            continue;
        }
        arrays[std::size_t(record - kRecords)].append(fields);
    }
    for (std::size_t r = 1; r < std::size(kRecords); ++r)
        json.insert(QLatin1String(kRecords[r].array), arrays[r]);
    return ListFromJson(QJsonDocument(json), list, error);
}
