#pragma once

#include <QString>
#include <QStringList>

// The command line of frostpick-calc.
struct CliArguments
{
    enum class Mode { Help, Input, Order, AllOrders, Offer, Offers };

    Mode mode = Mode::Help;
    QString dir;   // empty: the folder of the executable
    QString input; // a file name, or "-" for standard input
    qint32 orderKey = 0;
    qint64 offerKey = 0;
    bool explain = false; // adds trace, warnings and alternatives to each object
};

// Parses the arguments after the program name. Returns false with a one-line
// error when they do not form exactly one of the invocations.
bool parseArguments(const QStringList& arguments, CliArguments& result, QString* error);

QString usageText();
