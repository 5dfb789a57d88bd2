#include "platform/graphics/Region.h"

#include "platform/graphics/internal/GdiTable.h"

namespace win {

using internal::GdiObject;

namespace {

cairo_region_t* RegionOf(HRGN handle)
{
    auto object = internal::FindGdi(handle, GdiObject::Kind::Region);
    return object ? object->region : nullptr;
}

int KindOf(const cairo_region_t* region)
{
    if (cairo_region_is_empty(region))
        return NULLREGION;
    return cairo_region_num_rectangles(region) == 1 ? SIMPLEREGION : COMPLEXREGION;
}

cairo_rectangle_int_t ToCairo(int left, int top, int right, int bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    return {left, top, right - left, bottom - top};
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    auto object = std::make_shared<GdiObject>();
    object->kind = GdiObject::Kind::Region;
    auto rect = ToCairo(left, top, right, bottom);
    object->region = cairo_region_create_rectangle(&rect);
    return internal::InsertGdi<HRGN>(object);
}

BOOL SetRectRgn(HRGN handle, int left, int top, int right, int bottom)
{
    auto object = internal::FindGdi(handle, GdiObject::Kind::Region);
    if (!object)
        return 0;
    auto rect = ToCairo(left, top, right, bottom);
    cairo_region_destroy(object->region);
    object->region = cairo_region_create_rectangle(&rect);
    return 1;
}

int CombineRgn(HRGN dst, HRGN a, HRGN b, int op)
{
    auto target = internal::FindGdi(dst, GdiObject::Kind::Region);
    cairo_region_t* first = RegionOf(a);
    if (!target || !first)
        return ERROR_REGION;
    cairo_region_t* result = cairo_region_copy(first);
    if (op != RGN_COPY) {
        cairo_region_t* second = RegionOf(b);
        if (!second) {
            cairo_region_destroy(result);
            return ERROR_REGION;
        }
        switch (op) {
        case RGN_AND: cairo_region_intersect(result, second); break;
        case RGN_OR: cairo_region_union(result, second); break;
        case RGN_XOR: cairo_region_xor(result, second); break;
        case RGN_DIFF: cairo_region_subtract(result, second); break;
        default:
            cairo_region_destroy(result);
            return ERROR_REGION;
        }
    }
    cairo_region_destroy(target->region);
    target->region = result;
    return KindOf(result);
}

}  // namespace win
