#include "app/graphics/persistent.h"

#include <string>

#include "app/graphics/graphics_exceptions.h"

namespace app {

void TPersistent::AssignTo(TPersistent* dest) {
    if (dest == nullptr) throw EConvertError(std::string("There is no picture to copy the ") + ClassName() + " into");
    dest->AssignError(this);
}

void TPersistent::DefineProperties(TFiler*) {}

void TPersistent::Assign(TPersistent* source) {
    if (source == nullptr) AssignError(nullptr);
    source->AssignTo(this);
}

void TPersistent::AssignError(const TPersistent* source) const {
    if (source == nullptr) throw EConvertError(std::string("There is no picture to copy into the ") + ClassName());
    throw EConvertError(std::string("A ") + source->ClassName() + " cannot be copied into a " + ClassName());
}

bool TInterfacedPersistent::QueryInterface(std::string_view, void** object) {
    if (object != nullptr) *object = nullptr;
    return false;
}

}  // namespace app
