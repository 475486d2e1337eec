#include "CalculationRecord.h"

void ApplyStartValues(CalculationRecord& r)
{
    r.xk_ceiling = r.xk_wall = r.xk_floor = 100;
    r.xk_doors = 2.0;
    r.xk_doors_open = 1.0;
    r.by_temperature = 32;
    r.by_moisture = 75;
    r.by_ground = 20;
    r.xo_work = 70;
    r.xo_count = 1;
    r.px_time = 24;
    r.NewCalculation = false;
}

void ResetRecordFields(CalculationRecord& r)
{
    r.xk_bulk = 0;
    r.xk_length = r.xk_width = r.xk_height = 0;
    r.xk_ceiling = r.xk_wall = r.xk_floor = 100;
    r.xk_ceiling_stuff = r.xk_wall_stuff = r.xk_floor_stuff = 0;
    r.xk_ceiling_name.clear();
    r.xk_wall_name.clear();
    r.xk_floor_name.clear();
    r.xk_ceiling_k = r.xk_wall_k = r.xk_floor_k = 0;
    r.xk_doors = 2.0;
    r.xk_doors_open = 1.0;
    r.xk_curtain = 0;
    r.xk_curtain_name.clear();
    r.xk_curtain_c = 0;
    r.xk_temperature = 0;
    r.xk_people = 0;
    r.xk_heat = 0;

    r.by_temperature = 32;
    r.by_moisture = 70; // differs from the start value 75 on purpose
    r.by_ground = 20;

    r.px_product = 0;
    r.px_time = 24;
    r.px_start_t = r.px_end_t = 0;
    r.px_weight = 0;
    r.px_turnover = 0;
    r.px_packing = 0;

    r.xo_type1 = 0;
    r.xo_type2 = 0;
    r.xo_count = 1;
    r.xo_power = 0;
    r.xo_work = 70;

    r.secondOpinion = {};
    r.onote.clear();
    r.NewCalculation = false;
    r.NewContact = false;
}
