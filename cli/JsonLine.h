#pragma once

#include <QtGlobal>
#include <string>

class QString;

// One JSON object on one line, written field by field into a buffer kept
// from line to line: a batch of 100,000 calculations writes millions of
// fields, and no field allocates. Doubles are the shortest text that reads
// back to the same value, as QByteArray::number(v, 'g', shortest) writes them.
class JsonLine
{
public:
    // Starts a new object; the buffer keeps its capacity.
    void clear();

    void add(const char* name, qint64 value);
    void add(const char* name, bool value);
    void add(const char* name, double value);
    void add(const char* name, const QString& value);

    // Ends the object with '}'.
    void close();

    // The first double field that was not a finite number (JSON has none);
    // null when there was none.
    const char* badField() const { return m_badField; }

    std::string& text() { return m_text; }

private:
    void key(const char* name);
    void appendNumber(double value);
    void appendQuoted(const QString& value);

    std::string m_text;
    const char* m_badField = nullptr;
};
