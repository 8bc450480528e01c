#pragma once

#include <QString>
#include <cstdint>

class TQuestionWindow;
class TResults;

// The test's operations, by their own names. There is one Test state and
// one results log, both held by the registration window; every operation
// reaches them through Kalvena.

// Results log.
void OpenResultsLog();
void WriteStudentHeader(const QString& fullName, const QString& platoon);
void WriteTestResult(std::int32_t rightCount, std::int32_t questionsToAsk);
void CloseResultsLog();

// The road of a test. The answers record follows it: a start line as the
// test begins, an end line as it ends, by its last answer or stopped.
void OpenThemeChoice();
void BeginTest(int theme);
void RecordAnswer(TQuestionWindow& window);
void FinishTest(TResults& window);
// «Прекратить выполнение теста»: the test ends unfinished, and the program
// with it.
void StopTest();
