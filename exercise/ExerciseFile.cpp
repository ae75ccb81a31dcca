#include "ExerciseFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QLocale>
#include <cerrno>
#include <cmath>
#include <utility>

using namespace ExerciseLimits;

namespace {

// Qt writes an object's keys in sorted order: every other key of the top level must sort after
// "format", so that the marker opens the file where a file-type check looks for it.
constexpr QLatin1StringView Marker("curve-sulla-corda");
constexpr int FormatVersion = 1;

// The calibration ratio is 0.51 + 0.02 p, which rounding may put just past either end.
constexpr double IncrLow = 0.51 - 1e-9, IncrHigh = 1.11 + 1e-9;
constexpr int HScroll1Bound = 600, HScroll2Bound = 500;
constexpr int LastColour = 13;

QJsonObject curveObject(const PlotRecord& curve) {
    return {{"Miocolor", curve.Miocolor}, {"axes", curve.axes}, {"Incr", curve.Incr},
            {"DAX", curve.DAX},           {"DAY", curve.DAY},   {"ALX", curve.ALX},
            {"ALY", curve.ALY},           {"RAX", curve.RAX},   {"RAY", curve.RAY},
            {"AVX", curve.AVX},           {"AVY", curve.AVY},   {"INST", curve.INST},
            {"SPTX", curve.SPTX},         {"SPTY", curve.SPTY}};
}

// A refusal ends the reading at once; the exercise read so far is dropped with it.
struct Refusal {
    QString reason;
};

[[noreturn]] void refuse(const QString& reason) {
    throw Refusal{reason};
}

QString typeName(QJsonValue::Type type) {
    switch (type) {
    case QJsonValue::Bool:
        return QStringLiteral("un valore logico (true o false)");
    case QJsonValue::Double:
        return QStringLiteral("un numero");
    case QJsonValue::String:
        return QStringLiteral("un testo");
    case QJsonValue::Array:
        return QStringLiteral("un elenco");
    case QJsonValue::Object:
        return QStringLiteral("un oggetto");
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("null");
}

// A value of the file with its place in it, which every refusal names.
class Node {
public:
    Node(QJsonValue value, QString place) : value_(std::move(value)), place_(std::move(place)) {}

    Node operator[](QLatin1StringView key) const {
        const QJsonObject object = expect(QJsonValue::Object).toObject();
        const QString place = place_.isEmpty() ? QString(key) : place_ + u'.' + key;
        const auto found = object.constFind(key);
        if (found == object.constEnd())
            refuse(QStringLiteral("manca la chiave %1").arg(place));
        return {found.value(), place};
    }
    Node operator[](const char* key) const { return (*this)[QLatin1StringView(key)]; }

    qsizetype size() const { return expect(QJsonValue::Array).toArray().size(); }
    Node element(qsizetype index) const {
        return {expect(QJsonValue::Array).toArray().at(index),
                QStringLiteral("%1[%2]").arg(place_).arg(index)};
    }

    bool boolean() const { return expect(QJsonValue::Bool).toBool(); }
    QString text() const { return expect(QJsonValue::String).toString(); }

    double number() const {
        // Qt writes a number that is not finite as null and refuses to read one beyond the
        // range of a double, so null is how such a number reaches a file; toDouble() makes it 0.
        if (value_.isNull())
            refuseWith(QStringLiteral("è null: un numero infinito o indefinito non è ammesso"));
        return expect(QJsonValue::Double).toDouble();
    }
    // toInt() would take 3.0 and make 2.5 a default without a word: wholeness is checked here.
    int integerBetween(int low, int high) const {
        const double value = number();
        if (!(value >= low && value <= high && value == std::trunc(value)))
            refuseWith(
                QStringLiteral("dovrebbe essere un numero intero da %1 a %2").arg(low).arg(high));
        return static_cast<int>(value);
    }

    // Refuses the file for this value: "window.curves[3].INST <what is wrong>".
    [[noreturn]] void refuseWith(const QString& what) const { refuse(place_ + u' ' + what); }

private:
    const QJsonValue& expect(QJsonValue::Type type) const {
        if (value_.type() != type)
            refuse(QStringLiteral("%1 dovrebbe essere %2, non %3")
                       .arg(place_, typeName(type), typeName(value_.type())));
        return value_;
    }

    QJsonValue value_;
    QString place_;
};

void checkVersion(const Node& node) {
    const double version = node.number();
    if (!(version >= 1 && version == std::trunc(version)))
        node.refuseWith(QStringLiteral("dovrebbe essere un numero intero da 1 in su"));
    if (version > FormatVersion)
        refuse(QStringLiteral("è scritto nel formato %1, più recente di quello che questo "
                              "programma sa leggere (%2)")
                   .arg(QString::number(version, 'g', QLocale::FloatingPointShortest))
                   .arg(FormatVersion));
}

QString fieldText(const Node& field) {
    const QString text = field.text();
    if (text.size() > MaxFieldLength)
        field.refuseWith(QStringLiteral("è più lungo di %1 caratteri").arg(MaxFieldLength));
    // A lone half of a surrogate pair would not survive being written as UTF-8.
    if (!text.isValidUtf16())
        field.refuseWith(QStringLiteral("contiene un carattere Unicode non valido"));
    return text;
}

double incr(const Node& node) {
    const double value = node.number();
    if (!(value >= IncrLow && value <= IncrHigh))
        node.refuseWith(QStringLiteral("dovrebbe essere un numero da 0,51 a 1,11"));
    return value;
}

double inst(const Node& node) {
    const double value = node.number();
    if (value == 0 || value > LargestINST)
        node.refuseWith(
            QStringLiteral("dovrebbe essere un numero diverso da 0 e non più grande di 100000"));
    return value;
}

std::vector<PlotRecord> readCurves(const Node& list) {
    const qsizetype count = list.size();
    if (std::size_t(count) > MaxCurves)
        list.refuseWith(QStringLiteral("ha %1 curve, più delle %2 che un esercizio può avere")
                            .arg(count)
                            .arg(MaxCurves));
    std::vector<PlotRecord> curves;
    curves.reserve(std::size_t(count));
    double points = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const Node item = list.element(i);
        PlotRecord curve;
        curve.curve = static_cast<int>(i) + 1;
        curve.Miocolor = static_cast<std::int16_t>(item["Miocolor"].integerBetween(1, LastColour));
        curve.axes = item["axes"].boolean();
        curve.Incr = incr(item["Incr"]);
        curve.DAX = item["DAX"].number();
        curve.DAY = item["DAY"].number();
        curve.ALX = item["ALX"].number();
        curve.ALY = item["ALY"].number();
        curve.RAX = item["RAX"].number();
        curve.RAY = item["RAY"].number();
        curve.AVX = item["AVX"].number();
        curve.AVY = item["AVY"].number();
        curve.INST = inst(item["INST"]);
        curve.SPTX =
            static_cast<std::int16_t>(item["SPTX"].integerBetween(-HScroll1Bound, HScroll1Bound));
        curve.SPTY =
            static_cast<std::int16_t>(item["SPTY"].integerBetween(-HScroll2Bound, HScroll2Bound));
        points += anglesWalked(curve.INST);
        if (points > MaxPoints)
            item.refuseWith(QStringLiteral("porta le curve oltre 20 milioni di punti (45 × INST "
                                           "per curva), il massimo di un esercizio"));
        curves.push_back(curve);
    }
    return curves;
}

Exercise readExercise(const QJsonDocument& document) {
    if (!document.isObject() || document.object().value("format") != QJsonValue(Marker))
        refuse(QStringLiteral("non è un esercizio di Curve sulla corda"));
    const Node file(document.object(), {});
    checkVersion(file["version"]);

    const Node window = file["window"];
    Exercise exercise;
    ExerciseControls& controls = exercise.controls;
    const Node fields = window["fields"];
    for (std::size_t i = 0; i < ParameterFieldCount; ++i)
        controls.fields[i] = fieldText(fields[ParameterVariables[i]]);
    controls.HScroll1 =
        static_cast<std::int16_t>(window["HScroll1"].integerBetween(-HScroll1Bound, HScroll1Bound));
    controls.HScroll2 =
        static_cast<std::int16_t>(window["HScroll2"].integerBetween(-HScroll2Bound, HScroll2Bound));
    controls.Check1 = window["Check1"].boolean();
    exercise.Incr = incr(window["Incr"]);
    exercise.drawingSize = QSize(window["width"].integerBetween(1, MaxDrawingExtent),
                                 window["height"].integerBetween(1, MaxDrawingExtent));
    exercise.Miocolor = static_cast<std::int16_t>(window["Miocolor"].integerBetween(0, LastColour));
    exercise.curves = readCurves(window["curves"]);
    return exercise;
}

QString syntaxError(QJsonParseError::ParseError error) {
    switch (error) {
    case QJsonParseError::UnterminatedObject:
        return QStringLiteral("un oggetto non è chiuso");
    case QJsonParseError::MissingNameSeparator:
        return QStringLiteral("mancano i due punti dopo un nome");
    case QJsonParseError::UnterminatedArray:
        return QStringLiteral("un elenco non è chiuso");
    case QJsonParseError::MissingValueSeparator:
        return QStringLiteral("manca una virgola tra due valori");
    case QJsonParseError::IllegalNumber:
        return QStringLiteral("un valore non è valido o un numero è fuori dai limiti");
    case QJsonParseError::IllegalEscapeSequence:
        return QStringLiteral("una sequenza con \\ non è valida");
    case QJsonParseError::IllegalUTF8String:
        return QStringLiteral("un testo non è UTF-8 valido");
    case QJsonParseError::UnterminatedString:
        return QStringLiteral("un testo non è chiuso");
    case QJsonParseError::DeepNesting:
        return QStringLiteral("ci sono troppi livelli annidati");
    case QJsonParseError::DocumentTooLarge:
        return QStringLiteral("il documento è troppo grande");
    case QJsonParseError::GarbageAtEnd:
        return QStringLiteral("c'è altro testo dopo la fine");
    default:
        return QStringLiteral("un valore non è valido");
    }
}

QString parseFailure(const QJsonParseError& error, qsizetype size) {
    if (size == 0)
        return QStringLiteral("il file è vuoto");
    if (error.offset >= size)
        return QStringLiteral("il file finisce a metà (posizione %1): forse è troncato")
            .arg(error.offset);
    return QStringLiteral("non è un file JSON valido: %1 (posizione %2)")
        .arg(syntaxError(error.error))
        .arg(error.offset);
}

} // namespace

QByteArray exerciseToJson(const Exercise& exercise) {
    const ExerciseControls& controls = exercise.controls;
    QJsonObject fields;
    for (std::size_t i = 0; i < ParameterFieldCount; ++i)
        fields.insert(QLatin1StringView(ParameterVariables[i]), controls.fields[i]);
    QJsonArray curves;
    for (const PlotRecord& curve : exercise.curves)
        curves.append(curveObject(curve));
    const QJsonObject window{{"fields", fields},
                             {"HScroll1", controls.HScroll1},
                             {"HScroll2", controls.HScroll2},
                             {"Check1", controls.Check1},
                             {"Incr", exercise.Incr},
                             {"width", exercise.drawingSize.width()},
                             {"height", exercise.drawingSize.height()},
                             {"Miocolor", exercise.Miocolor},
                             {"curves", curves}};
    const QJsonObject file{{"format", Marker}, {"version", FormatVersion}, {"window", window}};
    return QJsonDocument(file).toJson(QJsonDocument::Indented);
}

ExerciseReading exerciseFromJson(QByteArrayView bytes) {
    if (bytes.size() > MaxFileBytes)
        return {std::nullopt, QStringLiteral("il file è più grande di 8 MiB, il massimo di un "
                                             "esercizio")};
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(bytes.data(), bytes.size()), &error);
    if (error.error != QJsonParseError::NoError)
        return {std::nullopt, parseFailure(error, bytes.size())};
    try {
        return {readExercise(document), {}};
    } catch (const Refusal& refusal) {
        return {std::nullopt, refusal.reason};
    }
}

ExerciseReading readExerciseFile(const QString& path) {
    const auto failure = [&path](const QString& reason) {
        return ExerciseReading{
            std::nullopt,
            QStringLiteral("Impossibile aprire l'esercizio \"%1\": %2.")
                .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), reason)};
    };
    if (QFileInfo(path).isDir())
        return failure(QStringLiteral("è una cartella, non un file"));
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        // QFile keeps the system's reason only as English text.
        const int cause = errno;
        if (cause == EACCES || cause == EPERM)
            return failure(QStringLiteral("non è permesso leggerlo"));
        if (!file.exists())
            return failure(QStringLiteral("il file non esiste"));
        return failure(QStringLiteral("il file non può essere letto"));
    }
    // One byte past the limit tells a file that is too large without reading the rest of it.
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return failure(QStringLiteral("la lettura si è interrotta"));
    ExerciseReading reading = exerciseFromJson(bytes);
    if (!reading.exercise)
        reading.message = failure(reading.message).message;
    return reading;
}

QString whyNotWritable(const Exercise& exercise) {
    double points = 0;
    for (const PlotRecord& curve : exercise.curves)
        points += anglesWalked(curve.INST);
    if (exercise.curves.size() > MaxCurves || points > MaxPoints)
        return QStringLiteral("il disegno ha più curve o più punti di quanti un esercizio ne "
                              "possa tenere (%1 curve, 20 milioni di punti)")
            .arg(MaxCurves);
    return {};
}
