#pragma once

#include <initializer_list>

namespace resultslog {
class PendingAppend;
}

// Before the program ends at the student's word («Выход», «Прекратить
// выполнение теста»): gives a busy log a few hundred milliseconds more, then
// says on screen what is still held back and where it is kept.
void SettleHeldEntries(std::initializer_list<resultslog::PendingAppend*> files);
