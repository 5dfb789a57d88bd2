// The table of the graphics layer's handles. Only the graphics files include
// this.
#pragma once

#include "platform/core/HandleTable.h"
#include "platform/graphics/CairoDc.h"
#include "platform/graphics/GdiObject.h"

#include <memory>

namespace win::internal {

HandleTable<GdiObject>& GdiObjects();
template <class H>
H InsertGdi(std::shared_ptr<GdiObject> object)
{
    return reinterpret_cast<H>(GdiObjects().Insert(std::move(object)));
}

}  // namespace win::internal
