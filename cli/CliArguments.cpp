#include "CliArguments.h"

namespace {

// "--name value" or "--name=value".
bool takeValue(const QStringList& args, int& i, const QString& name, QString& value, QString* error)
{
    const QString& arg = args.at(i);
    if (arg.startsWith(name + QLatin1Char('='))) {
        value = arg.mid(name.size() + 1);
        return true;
    }
    if (i + 1 >= args.size()) {
        *error = QStringLiteral("%1 needs a value").arg(name);
        return false;
    }
    value = args.at(++i);
    return true;
}

bool isOption(const QString& arg, const char* name)
{
    const QLatin1String option(name);
    return arg == option || arg.startsWith(option + QLatin1Char('='));
}

} // namespace

bool parseArguments(const QStringList& args, CliArguments& result, QString* error)
{
    result = CliArguments();
    int modes = 0;
    bool help = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        QString value;
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            help = true;
        } else if (isOption(arg, "--dir")) {
            if (!takeValue(args, i, QStringLiteral("--dir"), result.dir, error))
                return false;
        } else if (isOption(arg, "--input")) {
            if (!takeValue(args, i, QStringLiteral("--input"), result.input, error))
                return false;
            result.mode = CliArguments::Mode::Input;
            ++modes;
        } else if (isOption(arg, "--order")) {
            if (!takeValue(args, i, QStringLiteral("--order"), value, error))
                return false;
            bool ok = false;
            result.orderKey = value.toInt(&ok);
            if (!ok) {
                *error = QStringLiteral("--order: KEY must be a whole number within 32 bits, not \"%1\"")
                             .arg(value);
                return false;
            }
            result.mode = CliArguments::Mode::Order;
            ++modes;
        } else if (arg == QLatin1String("--offers")) {
            result.mode = CliArguments::Mode::Offers;
            ++modes;
        } else if (isOption(arg, "--offer")) {
            if (!takeValue(args, i, QStringLiteral("--offer"), value, error))
                return false;
            bool ok = false;
            result.offerKey = value.toLongLong(&ok);
            if (!ok) {
                *error = QStringLiteral("--offer: KEY must be a whole number, not \"%1\"").arg(value);
                return false;
            }
            result.mode = CliArguments::Mode::Offer;
            ++modes;
        } else if (arg == QLatin1String("--all-orders")) {
            result.mode = CliArguments::Mode::AllOrders;
            ++modes;
        } else if (arg == QLatin1String("--explain")) {
            result.explain = true;
        } else {
            *error = QStringLiteral("unknown argument \"%1\" (see --help)").arg(arg);
            return false;
        }
    }
    if (help) {
        result.mode = CliArguments::Mode::Help;
        return true;
    }
    if (modes != 1) {
        *error = QStringLiteral(
            "give exactly one of --input, --order, --all-orders, --offer, --offers (see --help)");
        return false;
    }
    return true;
}

QString usageText()
{
    return QStringLiteral(
        "Usage:\n"
        "  frostpick-calc [--dir DIR] [--explain] --input FILE|-   one calculation from a JSON object\n"
        "  frostpick-calc [--dir DIR] [--explain] --order KEY      reopen saved calculation KEY from "
        "order.mdb and recompute it\n"
        "  frostpick-calc [--dir DIR] [--explain] --all-orders     recompute every saved calculation, one "
        "JSON object per line\n"
        "  frostpick-calc [--dir DIR] [--explain] --offer KEY      recompute the chambers of offer KEY and "
        "sum "
        "them\n"
        "  frostpick-calc [--dir DIR] --offers                     list the offers kept in order.mdb\n"
        "  frostpick-calc --help                                   this text\n"
        "\n"
        "DIR holds nv.mdb (and order.mdb for all but --input); default: the data folder named below,\n"
        "the folder of the executable when it holds nv.mdb and may be written, else the user's data folder\n"
        "(~/.local/share/frostpick), filled on first use from the sample data installed with the programs.\n"
        "The input object's keys are calculation-record field names; missing fields take the start values,\n"
        "a missing xk_bulk is length*width*height. The output is one JSON object per calculation.\n"
        "An object under \"second_opinion\" gives the second opinion's assumptions, each optional:\n"
        "door_height (m, default 2), chamber_humidity (%, 90), fans and defrost (W, 0).\n"
        "The input passes the checks of the input screens, in their order, or is refused (status 2) with\n"
        "the field and the screen's message: xk_length, xk_width, xk_height above 0 and their product\n"
        "finite; px_time above 0; px_weight not below 0; px_start_t not below px_end_t; px_end_t not\n"
        "below xk_temperature; xo_count and xo_work above 0. A saved calculation that fails one of\n"
        "these is computed as saved, with an input_check_failed warning for each under --explain.\n"
        "\n"
        "--explain (with any of the three) adds to each object:\n"
        "  \"trace\": every step of the heat load and of the selection in the order they ran, each\n"
        "    {section: load|selection, kind: step|component|sum|note, key, name, formula, values, result,\n"
        "    unit}: name, formula and values (the formula with the numbers and units) are Russian text;\n"
        "    result is a number in unit, a text where the step decides, or null. The \"component\" lines\n"
        "    add up to q_total; the selection's last line (key unit_capacity) is unit_capacity.\n"
        "  \"warnings\": [{code, text}] where the numbers are stretched; codes: chamber_outside_rated,\n"
        "    ambient_outside_rated, capacity_curve_implausible, run_time_above_maximum,\n"
        "    reserve_below_minimum, minimum_reserve_negative, missing_references, input_check_failed.\n"
        "    second_opinion_not_covered: the chosen unit does not cover the door-opening formula's load.\n"
        "  \"alternatives\": every modification of every equipment type offered for the chamber\n"
        "    temperature, sorted by capacity: [{type, model, modification, capacity, reserve, run_time,\n"
        "    sufficient, chosen}] (capacity and the % figures null when the capacity table is incomplete).\n"
        "  \"second_opinion\": the load by the door-opening formula with fans and defrost:\n"
        "    {assumptions: {door_height, chamber_humidity, fans, defrost}, components: {infiltration,\n"
        "    people, fans, defrost}, total, unit_required, covered, model, modification} (W; model and\n"
        "    modification: the first unit of the chosen type that covers it, null when covered or none).\n"
        "Without --explain the output is exactly as above.\n"
        "\n"
        "--offer prints the line of each chamber of the offer in its order, as --order prints it, then\n"
        "  {\"offer\": KEY, \"chambers\": N, \"q_total\": W, \"units\": [{\"model\", \"modification\", "
        "\"count\"}],\n"
        "  \"capacity\": W}: the sums over the chambers printed (capacity: each chosen unit's times its\n"
        "  count). A chamber deleted since (status 4) or not computed, its reference rows gone or a result\n"
        "  out of range (status 3), is named on standard error and not summed.\n"
        "--offers prints one {\"offer\", \"contact\", \"name\", \"date\", \"calculations\": [KEY, ...]} per "
        "offer.\n"
        "\n"
        "Exit status: 0 done; 1 a database file is missing or unreadable; 2 the arguments or the input are\n"
        "refused; 3 a result does not fit its 32-bit field; 4 no saved calculation (or offer) has that "
        "key.\n");
}
