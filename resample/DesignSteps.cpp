#include "resample/DesignSteps.h"

namespace ssrc {

int Oversampling(int ratio)
{
    if (ratio == 1)
        return 1;
    if (ratio % 2 == 0)
        return 2;
    if (ratio % 3 == 0)
        return 3;
    return 0;
}

int PhaseAt(long long position, long long step, int phases)
{
    for (int i = 0; i < phases; ++i)
        if ((i * step) % phases == position % phases)
            return i;
    return 0;
}

}  // namespace ssrc
