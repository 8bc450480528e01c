#pragma once

#include <QString>
#include <initializer_list>

namespace resultslog {
class PendingAppend;
}

// The registration window's red line about the results log and the answers
// record, which belongs to it: why results wait or are not saved, or empty
// while all is well.
QString LogWarningText(std::initializer_list<const resultslog::PendingAppend*> files);
