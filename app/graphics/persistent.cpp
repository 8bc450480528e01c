#include "app/graphics/persistent.h"

#include <string>

#include "app/graphics/graphics_exceptions.h"

namespace app {

void TPersistent::AssignTo(TPersistent* dest) {
    if (dest == nullptr) throw EConvertError(std::string("Cannot assign a ") + ClassName() + " to a nil");
    dest->AssignError(this);
}

void TPersistent::DefineProperties(TFiler*) {}

void TPersistent::Assign(TPersistent* source) {
    if (source == nullptr) AssignError(nullptr);
    source->AssignTo(this);
}

void TPersistent::AssignError(const TPersistent* source) const {
    const std::string from = source != nullptr ? source->ClassName() : "nil";
    throw EConvertError("Cannot assign a " + from + " to a " + ClassName());
}

bool TInterfacedPersistent::QueryInterface(std::string_view, void** object) {
    if (object != nullptr) *object = nullptr;
    return false;
}

}  // namespace app
