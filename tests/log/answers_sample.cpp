// Writes an answers record with awkward names into the file named on the
// command line, for check_answers_csv.py to read back with another reader.
#include "log/answers_record.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    resultslog::AnswersRecord record(argv[1]);
    record.Begin({"pc12", "1.0", 0x3fa85f64, 0x9c1e4b7a2d3f6e80, "Иванов, \"Ваня\" Иванович", "ВЗ-21", 11}, 8);
    record.QuestionShown("Tq1101");
    record.QuestionAnswered(1, true);
    record.QuestionShown("Tq1102");
    record.QuestionAnswered(0, false);
    record.QuestionShown("Tq1103");
    record.End(resultslog::Ending::Stopped);
    return 0;
}
