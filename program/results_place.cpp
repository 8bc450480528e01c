#include "program/results_place.h"

#include "settings/results_folder.h"

ResultsPlace ResultsPlaceFor(const settings::Settings& chosen, const settings::MachineNames& machine) {
    if (chosen.protectedResults)
        return {settings::LogPathIn(settings::ConfiguredFolder(chosen, machine)), chosen.collectorSocket};
    return {settings::ResultsLogPath(chosen, machine), {}};
}
