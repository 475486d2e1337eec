#include "OrderColumns.h"

#include "CalculationRecord.h"

namespace {

constexpr OrderColumn real(const char* name, double CalculationRecord::*field)
{
    return {name, field, nullptr};
}

constexpr OrderColumn whole(const char* name, qint16 CalculationRecord::*field)
{
    return {name, nullptr, field};
}

} // namespace

const OrderColumn OrderColumns[32] = {
    real("xk_bulk", &CalculationRecord::xk_bulk),
    real("xk_length", &CalculationRecord::xk_length),
    real("xk_width", &CalculationRecord::xk_width),
    real("xk_height", &CalculationRecord::xk_height),
    whole("xk_ceiling", &CalculationRecord::xk_ceiling),
    whole("xk_ceiling_stuff", &CalculationRecord::xk_ceiling_stuff),
    whole("xk_wall", &CalculationRecord::xk_wall),
    whole("xk_wall_stuff", &CalculationRecord::xk_wall_stuff),
    whole("xk_floor", &CalculationRecord::xk_floor),
    whole("xk_floor_stuff", &CalculationRecord::xk_floor_stuff),
    real("xk_doors", &CalculationRecord::xk_doors),
    real("xk_doors_open", &CalculationRecord::xk_doors_open),
    whole("xk_curtain", &CalculationRecord::xk_curtain),
    real("xk_temperature", &CalculationRecord::xk_temperature),
    real("xk_people", &CalculationRecord::xk_people),
    whole("xk_heat", &CalculationRecord::xk_heat),
    real("by_temperature", &CalculationRecord::by_temperature),
    whole("by_moisture", &CalculationRecord::by_moisture),
    real("by_ground", &CalculationRecord::by_ground),
    whole("px_product", &CalculationRecord::px_product),
    whole("px_time", &CalculationRecord::px_time),
    whole("px_start_t", &CalculationRecord::px_start_t),
    whole("px_end_t", &CalculationRecord::px_end_t),
    real("px_weight", &CalculationRecord::px_weight),
    whole("px_turnover", &CalculationRecord::px_turnover),
    whole("px_packing", &CalculationRecord::px_packing),
    whole("xo_type1", &CalculationRecord::xo_type1),
    whole("xo_type2", &CalculationRecord::xo_type2),
    whole("xo_count", &CalculationRecord::xo_count),
    whole("xo_power", &CalculationRecord::xo_power),
    whole("xo_work", &CalculationRecord::xo_work),
    whole("contact", &CalculationRecord::contact),
};
