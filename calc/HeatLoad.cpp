#include "HeatLoad.h"

#include "CalculationRecord.h"
#include "LoadSteps.h"
#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double WattsPerKcalHour = 1.163;
constexpr double DoorHeatFactor = 10.318;

// W per person at -50, -45, ... 15 °C.
constexpr double StaffHeat[] = {589, 526, 469, 419, 374, 337, 303, 273, 247, 223, 202, 184, 167, 152};

// The result fields, computed apart from the record so that a result out of
// range leaves the record's earlier results untouched.
struct Results
{
    qint32 q_ceiling, q_walls, q_floor;
    qint32 q_cooling, q_freezing, q_frozen_cooling, q_respiration, q_product;
    qint32 q_sources, q_staff, q_packing, q_doors, q_extra, q_total;
    double q_unit_required;
};

Results resultsOf(const CalculationRecord& r)
{
    return {r.q_ceiling,        r.q_walls,       r.q_floor,   r.q_cooling, r.q_freezing,
            r.q_frozen_cooling, r.q_respiration, r.q_product, r.q_sources, r.q_staff,
            r.q_packing,        r.q_doors,       r.q_extra,   r.q_total,   r.q_unit_required};
}

void storeResults(CalculationRecord& r, const Results& s)
{
    r.q_ceiling = s.q_ceiling;
    r.q_walls = s.q_walls;
    r.q_floor = s.q_floor;
    r.q_cooling = s.q_cooling;
    r.q_freezing = s.q_freezing;
    r.q_frozen_cooling = s.q_frozen_cooling;
    r.q_respiration = s.q_respiration;
    r.q_product = s.q_product;
    r.q_sources = s.q_sources;
    r.q_staff = s.q_staff;
    r.q_packing = s.q_packing;
    r.q_doors = s.q_doors;
    r.q_extra = s.q_extra;
    r.q_total = s.q_total;
    r.q_unit_required = s.q_unit_required;
}

// Rounds a watt value into a 32-bit field; false when it does not fit.
class Rounder
{
public:
    explicit Rounder(QString* error) : m_error(error) {}

    bool store(double watts, qint32& target, const char* field)
    {
        const std::optional<qint32> value = NumberText::toInt32(watts);
        if (!value)
            return fail(field);
        target = *value;
        return true;
    }

    bool storeSum(qint64 sum, qint32& target, const char* field)
    {
        if (sum < std::numeric_limits<qint32>::min() || sum > std::numeric_limits<qint32>::max())
            return fail(field);
        target = qint32(sum);
        return true;
    }

private:
    bool fail(const char* field)
    {
        if (m_error)
            *m_error = QStringLiteral("%1 вне диапазона 32-битного целого").arg(QLatin1String(field));
        return false;
    }

    QString* m_error;
};

// Heat through an insulated surface from |dt| already multiplied by the
// surface's dimensions, in the order the formula names them: forming the area
// first rounds an exact half the other way now and then (2.6 x 14.8 m).
double diffusion(double temperatureTimesArea, double conductivity, qint16 thicknessMm)
{
    return temperatureTimesArea * conductivity / (thicknessMm / 1000.0);
}

struct ProductHeats
{
    double cool = 0, freeze = 0, frozen = 0; // kcal per kg of incoming product
    int rule = 0;                            // the rule that set them, 1 to 5
};

// Heat still to be taken from 1 kg at x inside the freezing range until it is
// frozen through: 0 at tnz, the latent heat at tko.
double stillToFreeze(const CalculationRecord& r, double x)
{
    const double tko = r.tko, tnz = r.tnz;
    return (x - tnz) * (r.cz * (tko - x) + r.cwr * (x - tnz) / (tko - tnz)) / (tko - tnz);
}

ProductHeats productHeats(const CalculationRecord& r)
{
    const int ts = r.px_start_t;
    const int te = r.px_end_t;
    const int range = ts - te; // two 16-bit values: always fits an int
    const double tko = r.tko, tnz = r.tnz;
    ProductHeats h;
    if (te > tko) {
        h.rule = 1;
        h.cool = range * r.co;
    } else if (ts < tnz) {
        h.rule = 2;
        h.frozen = range * r.cz;
    } else if (ts >= tko && te <= tnz) {
        h.rule = 3;
        h.cool = (ts - tko) * r.co;
        h.freeze = r.cwr;
        h.frozen = (tnz - te) * r.cz;
    } else if (ts > tko) {
        h.rule = 4;
        h.cool = (ts - tko) * r.co;
        h.freeze =
            (tko - te) * ((tnz - te) * r.cz + r.cwr * (tko - 2 * tnz + te) / (tko - tnz)) / (tko - tnz);
    } else {
        h.rule = 5;
        h.freeze = stillToFreeze(r, ts);
        // A product that also leaves inside the range gives up only the heat
        // between its two temperatures on the same curve, and none below tnz.
        if (te > tnz)
            h.freeze -= stillToFreeze(r, te);
        else
            h.frozen = (tnz - te) * r.cz;
    }
    return h;
}

} // namespace

double GetRespiration(const CalculationRecord& r, int t)
{
    const double k = NumberText::roundHalfEven(r.tko);
    if (t <= k)
        return 0;
    if (t < 0)
        return (k - t) * r.td0 / k;
    if (t < 2)
        return ((2 - t) * r.td0 + t * r.td2) * 0.5;
    if (t < 5)
        return ((5 - t) * r.td2 + (t - 2) * r.td5) / 3;
    return ((t - 5) * r.td15 + (15 - t) * r.td5) * 0.1;
}

double GetStaffHeat(double t)
{
    const double x = 0.2 * t + 10;
    if (!std::isfinite(x))
        return x;
    // Rounded before it is clamped to the table, so a far-off temperature
    // cannot overflow the 16-bit position.
    const double rounded = std::clamp(NumberText::roundHalfEven(x), -1.0, 13.0);
    const int j = Clamp(qint16(rounded), 0, 12);
    return StaffHeat[j] + (x - j) * (StaffHeat[j + 1] - StaffHeat[j]);
}

qint16 Clamp(qint16 value, qint16 low, qint16 high)
{
    if (value < low)
        return low;
    return std::min(value, high);
}

double AirFactorWarm(double t, double phi)
{
    return 0.244 + t * (0.00008 * t + 0.00023 * phi - 0.00335) + 0.0003 * phi;
}

double AirFactorCold(double t, double phi)
{
    return 0.44 + t * (0.001 + 0.00000125 * phi * t - 0.0000125 * phi) + 0.000125 * phi;
}

double DoorAirFlow(double t, double volume)
{
    return volume > 0 ? (3.54 + 0.04 * t) * std::sqrt(volume) : 0;
}

bool CalculateLoad(CalculationRecord& r, QString* rangeError)
{
    Results s = resultsOf(r);
    Rounder round(rangeError);
    LoadSteps steps(r);

    const double wallArea = 2 * r.xk_length * r.xk_height + 2 * r.xk_width * r.xk_height;
    const double insideToAir = std::fabs(r.xk_temperature - r.by_temperature);
    const double insideToGround = std::fabs(r.xk_temperature - r.by_ground);
    if (r.xk_floor != 0 &&
        !round.store(diffusion(insideToGround * r.xk_length * r.xk_width, r.xk_floor_k, r.xk_floor),
                     s.q_floor, "q_floor"))
        return false;
    if (r.xk_ceiling != 0 &&
        !round.store(diffusion(insideToAir * r.xk_length * r.xk_width, r.xk_ceiling_k, r.xk_ceiling),
                     s.q_ceiling, "q_ceiling"))
        return false;
    if (r.xk_wall != 0 &&
        !round.store(diffusion(insideToAir * wallArea, r.xk_wall_k, r.xk_wall), s.q_walls, "q_walls"))
        return false;
    steps.diffusion(r.xk_length * r.xk_width, wallArea, s.q_floor, s.q_ceiling, s.q_walls);

    const double massInChamber = r.px_weight * 1000;
    const double massIncoming = massInChamber * 0.01 * r.px_turnover;
    const ProductHeats h = productHeats(r);
    // The stored product respires at its final temperature, half of the
    // incoming product at its entry temperature.
    const double respirationEnd = GetRespiration(r, r.px_end_t);
    const double respirationStart = GetRespiration(r, r.px_start_t);
    const double respiration = massInChamber * respirationEnd + 0.5 * massIncoming * respirationStart;
    const double rate = r.px_time != 0 ? massIncoming * WattsPerKcalHour / r.px_time : massInChamber;

    if (!round.store(h.cool * rate, s.q_cooling, "q_cooling") ||
        !round.store(h.freeze * rate, s.q_freezing, "q_freezing") ||
        !round.store(h.frozen * rate, s.q_frozen_cooling, "q_frozen_cooling") ||
        !round.store(respiration, s.q_respiration, "q_respiration") ||
        !round.storeSum(qint64(s.q_frozen_cooling) + s.q_freezing + s.q_respiration + s.q_cooling,
                        s.q_product, "q_product"))
        return false;
    steps.product({massInChamber, massIncoming, h.rule, h.cool, h.freeze, h.frozen, respirationEnd,
                   respirationStart, rate, s.q_cooling, s.q_freezing, s.q_frozen_cooling, s.q_respiration,
                   s.q_product});

    s.q_sources = r.xk_heat;
    const double staffHeat = GetStaffHeat(r.xk_temperature);
    if (r.px_time != 0 && !round.store(r.xk_people * staffHeat / r.px_time, s.q_staff, "q_staff"))
        return false;
    const int range = r.px_start_t - r.px_end_t;
    if (!round.store(rate * (r.packing_thermal * r.packing_mass * range) * 0.01, s.q_packing, "q_packing"))
        return false;

    // Both factors belong to the ambient air; each side takes the warm or
    // the cold one by its own temperature.
    const double warm = AirFactorWarm(r.by_temperature, r.by_moisture);
    const double cold = AirFactorCold(r.by_temperature, r.by_moisture);
    const double ambientFactor = r.by_temperature < 0 ? cold : warm;
    const double chamberFactor = r.xk_temperature < 0 ? cold : warm;
    const double airTerm = r.by_temperature * ambientFactor - r.xk_temperature * chamberFactor;
    const double airFlow = DoorAirFlow(r.xk_temperature, r.xk_bulk);
    if (r.px_time != 0 && !round.store(airTerm * (1 - r.xk_curtain_c * 0.01) * airFlow * r.xk_doors *
                                           r.xk_doors_open * DoorHeatFactor / r.px_time,
                                       s.q_doors, "q_doors"))
        return false;

    qint32 diffusionSum = 0;
    if (!round.storeSum(qint64(s.q_staff) + s.q_sources + s.q_packing + s.q_doors, s.q_extra, "q_extra") ||
        !round.storeSum(qint64(s.q_ceiling) + s.q_floor + s.q_walls, diffusionSum,
                        "q_ceiling + q_floor + q_walls") ||
        !round.storeSum(qint64(diffusionSum) + s.q_product + s.q_extra, s.q_total, "q_total"))
        return false;
    steps.extra({rate, staffHeat, warm, cold, ambientFactor, chamberFactor, airTerm, airFlow, s.q_sources,
                 s.q_staff, s.q_packing, s.q_doors, s.q_extra});

    const double runningShare = r.xo_count * 0.01 * r.xo_work;
    if (runningShare != 0)
        s.q_unit_required = (1 + r.xo_power * 0.01) * s.q_total / runningShare;
    steps.totals({s.q_ceiling, s.q_floor, s.q_walls, diffusionSum, s.q_product, s.q_extra, s.q_total,
                  runningShare, s.q_unit_required});

    storeResults(r, s);
    steps.commit(r);
    return true;
}
