#pragma once

#include "SecondOpinionAssumptions.h"

#include <QString>
#include <memory>

struct CalculationTrace;

// Everything about the calculation in hand. Field names follow the columns of
// the saved calculation where the field is saved; 16-bit and 32-bit fields
// are signed integers. The wizard owns exactly one instance for its whole
// run; a new calculation reuses it after ResetRecord. Where it is read from
// and saved to is not part of it (see CalculationContext): a copy is a
// calculation apart that shares nothing with it but the trace.
struct CalculationRecord
{
    // Chamber
    double xk_bulk = 0;
    double xk_length = 0, xk_width = 0, xk_height = 0;
    qint16 xk_ceiling = 0, xk_wall = 0, xk_floor = 0;
    qint16 xk_ceiling_stuff = 0, xk_wall_stuff = 0, xk_floor_stuff = 0;
    QString xk_ceiling_name, xk_wall_name, xk_floor_name;
    double xk_ceiling_k = 0, xk_wall_k = 0, xk_floor_k = 0;
    double xk_doors = 0;
    double xk_doors_open = 0;
    qint16 xk_curtain = 0;
    QString xk_curtain_name;
    double xk_curtain_c = 0;
    double xk_temperature = 0;
    double xk_people = 0;
    qint16 xk_heat = 0;

    // Ambient conditions
    double by_temperature = 0;
    qint16 by_moisture = 0;
    double by_ground = 0;

    // Product
    qint16 px_pgroup = 0;
    qint16 px_product = 0;
    QString px_product_name;
    qint16 px_time = 0;
    qint16 px_start_t = 0, px_end_t = 0;
    double px_weight = 0;
    qint16 px_turnover = 0;
    qint16 px_packing = 0;
    QString px_packing_name;
    double co = 0, cz = 0;
    double cwr = 0;
    double tko = 0, tnz = 0;
    double td0 = 0, td2 = 0, td5 = 0, td15 = 0;
    double packing_mass = 0;
    double packing_thermal = 0;

    // Equipment
    qint16 xo_type1 = 0;
    qint16 xo_type2 = 0;
    QString xo_gas;
    qint16 xo_count = 0;
    qint16 xo_power = 0;
    qint16 xo_work = 0;
    QString xo_series, xo_type_name;
    qint16 t_class = 0;
    QString xo_picture, xo_scheme;

    // Customer and saving
    qint16 contact = 0;
    QString contact_organization, contact_city, contact_phones, contact_email, contact_name;
    QString onote;
    qint32 pkey_data = 0;
    bool NewCalculation = false;
    bool NewContact = false;

    // Results of the heat-load calculation. The three diffusion values are
    // held in 32 bits: a large chamber with thin insulation exceeds 16 bits.
    qint32 q_ceiling = 0, q_walls = 0, q_floor = 0;
    qint32 q_cooling = 0, q_freezing = 0, q_frozen_cooling = 0, q_respiration = 0, q_product = 0;
    qint32 q_sources = 0, q_staff = 0, q_packing = 0, q_doors = 0, q_extra = 0, q_total = 0;
    double q_unit_required = 0;

    // Selection
    QString sel_model, sel_modification;
    double unit_capacity = 0;
    QString verdict;

    // What the second opinion assumes; saved beside the calculation's row.
    SecondOpinionAssumptions secondOpinion;

    // Where the calculation and the selection record their steps, when
    // somebody wants them explained; not saved, never reset.
    std::shared_ptr<CalculationTrace> trace;
};

// Gives a record the values the program starts with: thicknesses 100 mm,
// doors 2.0 m2 open 1.0 h, ambient 32 °C and 75 %, ground 20 °C, process
// 24 h, one unit, run time 70 %; everything else as constructed.
void ApplyStartValues(CalculationRecord& record);

// The record's part of the reset of a new calculation. Keeps the product
// group, the customer, the saved calculation's key, the looked-up product and
// packing properties, the selection and all results. (The wizard's own reset
// also puts the customer screen back.)
void ResetRecordFields(CalculationRecord& record);
