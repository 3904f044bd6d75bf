#include "forms/templates.h"

namespace glyvora {

const UnitTemplate* WindowTemplate::find(UnitId id) const {
    for (const UnitTemplate& u : units)
        if (u.id == id) return &u;
    return nullptr;
}

} // namespace glyvora
