#include "app/form_accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "app/form.h"

namespace app {
namespace {

QAccessibleInterface* FormInterface(const QString& /*className*/, QObject* object) {
    auto* form = qobject_cast<Form*>(object);
    if (form == nullptr) return nullptr;
    return new QAccessibleWidget(form, QAccessible::Window);
}

}  // namespace

void InstallFormAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&FormInterface);
        return true;
    }();
    static_cast<void>(installed);
}

}  // namespace app
