// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CommandLine.h"

#include "ClassSummary.h"
#include "ExerciseFile.h"
#include "FileKind.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QCommandLineOption HelpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
const QCommandLineOption VersionOption(QStringList{QStringLiteral("v"), QStringLiteral("version")});
const QCommandLineOption ExportOption(QStringLiteral("export"), QString(), QStringLiteral("OUT"));
const QCommandLineOption SizeOption(QStringLiteral("size"), QString(), QStringLiteral("LxA"));
const QCommandLineOption SummaryOption(QStringLiteral("riepilogo"), QString(),
                                       QStringLiteral("OUT"));
const QCommandLineOption AssignmentOption(QStringLiteral("consegna"), QString(),
                                          QStringLiteral("CONSEGNA"));
const QCommandLineOption SolutionOption(QStringLiteral("soluzione"), QString(),
                                        QStringLiteral("ESERCIZIO"));
const QCommandLineOption PrintOption(QStringLiteral("stampa"), QString(), QStringLiteral("OUT"));

CommandLine wrong(const QString& problem) {
    CommandLine command;
    command.task = CommandLine::Task::Wrong;
    command.problem = problem;
    return command;
}

// "1280x990" within the sizes an exercise may have; an invalid size otherwise.
QSize sizeOf(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})[xX×](\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return {};
    const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
    const int most = ExerciseLimits::MaxDrawingExtent;
    if (size.width() < 1 || size.height() < 1 || size.width() > most || size.height() > most)
        return {};
    return size;
}

// An output must say what it holds: "--stampa scrive un PDF: il nome di "<output>" deve finire
// in .pdf"; empty when it does.
QString suffixProblem(const QString& option, const QString& output, const QString& suffix) {
    if (QFileInfo(output).suffix().compare(suffix, Qt::CaseInsensitive) == 0)
        return {};
    return QStringLiteral("%1 scrive un %2: il nome di \"%3\" deve finire in .%4")
        .arg(option, suffix.toUpper(), output, suffix);
}

// A command never writes over a file it reads, however the two are named: the output's name
// forgotten, so that the first input takes its place, a link, a file of a folder given.
CommandLine sparingInputs(CommandLine command, const QString& option, const QStringList& inputs) {
    for (const QString& input : inputs)
        if (sameFile(command.output, input))
            return wrong(QStringLiteral("%1 scriverebbe sopra \"%2\", che è anche un file da "
                                        "leggere")
                             .arg(option, command.output));
    return command;
}

CommandLine summaryCommand(const QCommandLineParser& parser) {
    if (parser.values(SummaryOption).size() > 1 || parser.values(AssignmentOption).size() > 1)
        return wrong(QStringLiteral("--riepilogo e --consegna si danno una volta sola"));
    if (parser.isSet(ExportOption) || parser.isSet(SizeOption) || parser.isSet(SolutionOption) ||
        parser.isSet(PrintOption))
        return wrong(
            QStringLiteral("--riepilogo non va con --export, --size, --soluzione o --stampa"));
    CommandLine command;
    command.task = CommandLine::Task::Summary;
    command.output = parser.value(SummaryOption);
    command.assignment = parser.value(AssignmentOption);
    command.attempts = parser.positionalArguments();
    if (command.output.isEmpty())
        return wrong(QStringLiteral("--riepilogo vuole il file da scrivere"));
    if (parser.isSet(AssignmentOption) && command.assignment.isEmpty())
        return wrong(QStringLiteral("--consegna vuole il file della consegna"));
    if (command.attempts.isEmpty())
        return wrong(QStringLiteral("--riepilogo vuole almeno un esercizio o una cartella"));
    const QString option = QStringLiteral("--riepilogo");
    if (const QString problem = suffixProblem(option, command.output, QStringLiteral("csv"));
        !problem.isEmpty())
        return wrong(problem);
    QStringList inputs = attemptFiles(command.attempts);
    if (!command.assignment.isEmpty())
        inputs << command.assignment;
    return sparingInputs(command, option, inputs);
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.addOptions({HelpOption, VersionOption, ExportOption, SizeOption, SummaryOption,
                       AssignmentOption, SolutionOption, PrintOption});
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            return wrong(QStringLiteral("opzione sconosciuta: %1")
                             .arg((unknown.first().size() == 1 ? "-" : "--") + unknown.first()));
        if (arguments.constLast() == u"--riepilogo" || arguments.constLast() == u"--consegna" ||
            arguments.constLast() == u"--stampa")
            return wrong(QStringLiteral("%1 vuole un valore").arg(arguments.last()));
        if (arguments.constLast() == u"--soluzione")
            return wrong(QStringLiteral("--soluzione vuole l'esercizio"));
        return wrong(QStringLiteral("--export e --size vogliono un valore"));
    }
    CommandLine command;
    if (parser.isSet(HelpOption)) {
        command.task = CommandLine::Task::Help;
        return command;
    }
    if (parser.isSet(VersionOption)) {
        command.task = CommandLine::Task::Version;
        return command;
    }
    if (parser.isSet(SummaryOption))
        return summaryCommand(parser);
    if (parser.isSet(AssignmentOption))
        return wrong(QStringLiteral("--consegna vale solo con --riepilogo"));
    const QStringList exercises = parser.positionalArguments();
    if (parser.isSet(SolutionOption)) {
        if (parser.values(SolutionOption).size() > 1 || !exercises.isEmpty() ||
            parser.isSet(ExportOption) || parser.isSet(SizeOption) || parser.isSet(PrintOption))
            return wrong(QStringLiteral("--soluzione vuole un esercizio solo e nient'altro"));
        command.task = CommandLine::Task::Solution;
        command.exercise = parser.value(SolutionOption);
        if (command.exercise.isEmpty())
            return wrong(QStringLiteral("--soluzione vuole l'esercizio"));
        return command;
    }
    if (exercises.size() > 1)
        return wrong(QStringLiteral("un esercizio alla volta, non %1").arg(exercises.size()));
    command.exercise = exercises.value(0);
    if (parser.values(ExportOption).size() > 1 || parser.values(SizeOption).size() > 1)
        return wrong(QStringLiteral("--export e --size si danno una volta sola"));
    if (parser.isSet(SizeOption)) {
        if (!parser.isSet(ExportOption))
            return wrong(QStringLiteral("--size vale solo con --export"));
        command.size = sizeOf(parser.value(SizeOption));
        if (!command.size.isValid())
            return wrong(QStringLiteral("--size vuole larghezza e altezza in pixel, da 1 a %1, "
                                        "per esempio 1280x990")
                             .arg(ExerciseLimits::MaxDrawingExtent));
    }
    if (parser.isSet(ExportOption)) {
        command.task = CommandLine::Task::Export;
        command.output = parser.value(ExportOption);
        if (command.output.isEmpty())
            return wrong(QStringLiteral("--export vuole il file da scrivere"));
        if (command.exercise.isEmpty())
            return wrong(QStringLiteral("--export vuole l'esercizio da disegnare"));
        const auto format = drawingFormatForSuffix(QFileInfo(command.output).suffix());
        if (!format)
            return wrong(QStringLiteral("il formato di \"%1\" non è noto: il nome deve finire in "
                                        ".png, .svg o .pdf")
                             .arg(command.output));
        command.format = *format;
    }
    if (parser.isSet(PrintOption)) {
        if (parser.isSet(ExportOption))
            return wrong(QStringLiteral("--export e --stampa non vanno insieme"));
        if (parser.values(PrintOption).size() > 1)
            return wrong(QStringLiteral("--stampa si dà una volta sola"));
        command.task = CommandLine::Task::Print;
        command.output = parser.value(PrintOption);
        if (command.exercise.isEmpty())
            return wrong(QStringLiteral("--stampa vuole l'esercizio da stampare"));
        const QString option = QStringLiteral("--stampa");
        if (const QString problem = suffixProblem(option, command.output, QStringLiteral("pdf"));
            !problem.isEmpty())
            return wrong(problem);
        return sparingInputs(command, option, {command.exercise});
    }
    if (command.task == CommandLine::Task::Export)
        return sparingInputs(command, QStringLiteral("--export"), {command.exercise});
    return command;
}

bool needsNoWindow(int argc, const char* const* argv) {
    QStringList arguments;
    bool qtOptions = false;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
        const QString& a = arguments.last();
        // Qt's own options ("-platform", "-style"…) are single-dash words this parser does
        // not know.
        qtOptions |= i > 0 && a.size() > 2 && a.startsWith('-') && !a.startsWith(u"--");
    }
    const CommandLine command = parseCommandLine(arguments);
    using Task = CommandLine::Task;
    return command.task == Task::Export || command.task == Task::Print ||
           command.task == Task::Summary || command.task == Task::Solution ||
           command.task == Task::Help || command.task == Task::Version ||
           (command.task == Task::Wrong && !qtOptions);
}

// Laid out as help2man reads it, since the manual page is made from it: the usage lines
// continued with "o:", every option's description from one column, headings ending in ":".
QString helpText(const QString& program) {
    return QStringLiteral(
               "Uso: %1 [ESERCIZIO]\n"
               "  o: %1 --export FILE ESERCIZIO [--size LxA]\n"
               "  o: %1 --stampa FILE.pdf ESERCIZIO\n"
               "  o: %1 --riepilogo FILE.csv [--consegna CONSEGNA] PERCORSO...\n"
               "  o: %1 --soluzione ESERCIZIO\n"
               "\n"
               "Curve sulla corda: disegna curve sulla corda. Senza argomenti si apre sulle\n"
               "istruzioni; con un esercizio (un file .curva) si apre sulla finestra delle\n"
               "curve che lo mostra.\n"
               "\n"
               "Opzioni:\n"
               "  --export FILE           salva il disegno dell'esercizio in FILE senza aprire\n"
               "                          finestre; il formato segue l'estensione: .png, .svg\n"
               "                          o .pdf\n"
               "  --size LxA              con --export: larghezza e altezza del disegno in\n"
               "                          pixel (senza, quelle salvate nell'esercizio), per\n"
               "                          esempio 1280x990\n"
               "  --stampa FILE           scrive in FILE, un PDF, la pagina che \"Stampa…\"\n"
               "                          stampa: il disegno, i valori dell'esercizio e\n"
               "                          l'ultima curva\n"
               "  --riepilogo FILE.csv    scrive in FILE.csv, senza aprire finestre, una riga\n"
               "                          per ogni esercizio dei PERCORSI (file .curva o\n"
               "                          cartelle che li contengono): curve, distanza minima\n"
               "                          dal punto e con quale curva, se il punto è raggiunto\n"
               "  --consegna CONSEGNA     con --riepilogo: la consegna con cui giudicare la\n"
               "                          distanza e i valori che non si dovevano cambiare\n"
               "  --soluzione ESERCIZIO   scrive le posizioni delle due barre di spostamento\n"
               "                          con cui la curva dell'esercizio passa più vicino al\n"
               "                          PUNTO da raggiungere: orizzontale H, verticale V,\n"
               "                          distanza D\n"
               "  -h, --help              mostra questo aiuto\n"
               "  -v, --version           mostra la versione\n"
               "\n"
               "Stato d'uscita:\n"
               "  Con --export e --stampa l'uscita è 0 se il file è stato scritto, 1 se\n"
               "  l'esercizio non si può leggere o il file non si può scrivere, 2 se la riga\n"
               "  di comando è sbagliata.\n"
               "  Con --riepilogo l'uscita è 0 se ogni esercizio è stato letto, 1 se qualcuno\n"
               "  è stato rifiutato (il riepilogo lo dice) o se la consegna non si può leggere\n"
               "  o il file non si può scrivere, 2 se la riga di comando è sbagliata.\n"
               "  Con --soluzione l'uscita è 0 se la riga è stata scritta, 1 se l'esercizio\n"
               "  non si può leggere, se un suo valore non va bene o se nessuna curva ha\n"
               "  punti.\n")
        .arg(program);
}

QString versionText(const QString& program) {
    return QStringLiteral("%1 %2\n").arg(program, QStringLiteral(CURVE_VERSION));
}
