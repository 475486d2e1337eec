#pragma once

#include <QString>
#include <functional>
#include <vector>

// Figures of the calculation core taken in this process, on the databases
// of one folder. Every sample is in microseconds.
struct CoreSamples
{
    std::vector<double> reopen;       // one ReopenCalculation each
    std::vector<double> reopenCpu;    // the same in this thread's CPU time: no waiting for other programs
    std::vector<double> searchBig;    // FindOrders of the customer with the most calculations
    std::vector<double> searchSmall;  // FindOrders of an ordinary customer
    std::vector<double> customerList; // ReadCustomers
    int bigCustomerRows = 0;
    int smallCustomerRows = 0;
    // Requests to the server per reopening and per search, when counted.
    double reopenRequests = 0;
    double searchBigRequests = 0;
    QString error;
};

// Reopens `reopens` calculations spread evenly over the table (each key
// once, in a fixed order), and runs each read `runs` times. requestsSent,
// when given, counts the requests sent to a server so far.
CoreSamples measureCore(const QString& folder, int reopens, int runs,
                        const std::function<qint64()>& requestsSent = {});
