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

// The road of a test.
void OpenThemeChoice();
void BeginTest(int theme);
void RecordAnswer(TQuestionWindow& window);
void FinishTest(TResults& window);
