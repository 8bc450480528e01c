// Kalvena: a test-taking program for students of military training courses.
#include "screens/program.h"

int main() { return RunKalvena(); }
