// Kalvena: a test-taking program for students of military training courses.
#include "program/program.h"

int main() { return RunKalvena(); }
