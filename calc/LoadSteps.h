#pragma once

#include "CalculationTrace.h"

struct CalculationRecord;

// The heat-load calculation's steps as it computes them, for the record's
// trace. Each call takes the values the calculation has just computed and
// stored; nothing is computed here but the text. Without a trace on the
// record every call returns at once.
class LoadSteps
{
public:
    explicit LoadSteps(const CalculationRecord& record);

    void diffusion(double floorArea, double wallArea, qint32 floor, qint32 ceiling, qint32 walls);

    struct Product
    {
        double massInChamber, massIncoming;
        int rule; // the first product rule that held, 1 to 5
        double cool, freeze, frozen;
        double respirationEnd, respirationStart;
        double rate;
        qint32 q_cooling, q_freezing, q_frozen_cooling, q_respiration, q_product;
    };
    void product(const Product& p);

    struct Extra
    {
        double rate, staffHeat;
        double warm, cold, ambientFactor, chamberFactor, airTerm, airFlow;
        qint32 q_sources, q_staff, q_packing, q_doors, q_extra;
    };
    void extra(const Extra& e);

    struct Totals
    {
        qint32 q_ceiling, q_floor, q_walls, diffusion, q_product, q_extra, q_total;
        double runningShare, q_unit_required;
    };
    void totals(const Totals& t);

    // Hands the lines to the record's trace, once the results are stored.
    void commit(CalculationRecord& record);

private:
    TraceLine& add(TraceLine::Kind kind, const char* key, const QString& name, const QString& formula,
                   const QString& values, double value, const QString& unit);
    void productRule(const Product& p);
    void productHeats(const Product& p);

    const CalculationRecord& m_r;
    bool m_on;
    QVector<TraceLine> m_lines;
};
