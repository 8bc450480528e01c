#pragma once

#include <QString>

namespace resultslog {
class ResultsLog;
}

// The registration window's red line about the results log: why results
// wait or are not saved, or empty while all is well.
QString LogWarningText(const resultslog::ResultsLog& log);
