#pragma once

#include <QString>

// Builds large reference and orders databases for the benchmark,
// deterministically from a seed, in the project's own schema.
struct GeneratorSize
{
    int products = 2000;
    int groups = 40;
    int materials = 30;
    int packings = 20;
    int modifications = 8;
    int customers = 5000;
    int calculations = 100000;
    int bigCustomerCalculations = 1000; // held by one customer
};

bool GenerateReference(const QString& path, const GeneratorSize& size, quint32 seed, QString* error);
bool GenerateOrders(const QString& path, const GeneratorSize& size, quint32 seed, QString* error);

// Key of the customer who holds bigCustomerCalculations calculations.
inline constexpr int BigCustomerKey = 1;
