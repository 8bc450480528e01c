#pragma once

#include <QString>
#include <QStringList>

#include <string>

namespace viewer {

enum class Mode { Window, Help, Summary, Items, Csv, Xlsx, Pdf, Verify, Archived };

// The arguments after the program's name, taken apart. "--" ends the
// options, so that a file name may start with '-'.
struct Arguments {
    Mode mode = Mode::Window;
    QString output;  // of --csv, --xlsx and --pdf
    bool last = false;
    bool items = false;        // the item analysis instead of the results table
    bool allAttempts = false;  // of --items
    bool revision = false;     // of --items: the flagged questions by their place in the bank
    QStringList files;
    QString error;  // Russian, one line; empty if the arguments are right
};

Arguments ParseArguments(const QStringList& arguments);

// Prints the error and the way to the help; for the status 2.
void PrintArgumentError(const QString& error);

// The work was done, but some line could not be read or some result could
// not be tied to its attempt: a script must not take that for a clean run.
inline constexpr int kRemarksStatus = 3;

// Does the work without a window (every mode but Window) and returns the
// exit status: 0 done, 1 a file could not be read or written (the rest is
// still done), 2 the arguments are wrong, kRemarksStatus done with remarks.
int RunCommandLine(const Arguments& arguments);

// The item analysis of the answers records that the files name: printed
// (Mode::Items) or exported. Same exit status as RunCommandLine.
int RunItems(const Arguments& arguments);

// Compares the files the names stand for with what the viewer saw of them
// (a folder: those remembered below it too, so a log gone is told) and
// prints each change, then each remark on their lines: 0 none, 1 some
// change, 2 a file could not be checked, kRemarksStatus remarks only.
int RunVerify(const Arguments& arguments);

// Records that the files the names stand for (a folder: every file below
// it the viewer remembers) went to an archive: 0 done, 1 a name stood for
// nothing remembered or the memory could not be written.
int RunArchived(const Arguments& arguments);

// Prints an error as the program's own line on standard error.
void PrintError(const std::string& text);

}  // namespace viewer
