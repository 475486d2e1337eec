#pragma once

#include <QByteArray>

struct Explanation;

// The fields --explain adds to a calculation's JSON object, each preceded
// by a comma: "trace" (every step of the load and the selection), "warnings",
// "alternatives" and "second_opinion". Numbers that are not finite are written as null.
QByteArray explanationFields(const Explanation& explanation);
