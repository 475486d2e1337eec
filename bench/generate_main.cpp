// Writes the benchmark's large nv.mdb and order.mdb into a folder.
#include "DataGenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Generates large benchmark databases."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("where nv.mdb and order.mdb go"));
    const QCommandLineOption calculations(QStringLiteral("calculations"),
                                          QStringLiteral("saved calculations"), QStringLiteral("count"),
                                          QStringLiteral("100000"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("random seed"),
                                  QStringLiteral("seed"), QStringLiteral("1"));
    parser.addOptions({calculations, seed});
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    const QDir folder(parser.positionalArguments().first());
    QDir().mkpath(folder.path());
    GeneratorSize size;
    size.calculations = parser.value(calculations).toInt();
    size.bigCustomerCalculations = qMin(size.bigCustomerCalculations, size.calculations);
    const quint32 s = parser.value(seed).toUInt();
    QString error;
    if (!GenerateReference(folder.filePath(QStringLiteral("nv.mdb")), size, s, &error) ||
        !GenerateOrders(folder.filePath(QStringLiteral("order.mdb")), size, s, &error)) {
        std::fprintf(stderr, "generate: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
