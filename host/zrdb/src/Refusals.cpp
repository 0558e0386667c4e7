#include "zrdb/ZrDbRefusals.h"

#include <atomic>

namespace {

struct Refusal {
    std::atomic<int> allowed{0};
    std::atomic<int> refused{0};
};

Refusal refusals[2];

Refusal& refusalOf(ZrDbRefusable operation) { return refusals[static_cast<int>(operation)]; }

} // namespace

void zrdbRefuse(ZrDbRefusable operation, int allowed, int count)
{
    Refusal& refusal = refusalOf(operation);
    refusal.refused = 0;
    refusal.allowed = allowed;
    refusal.refused = count;
}

void zrdbRefuseNothing()
{
    for (Refusal& refusal : refusals) {
        refusal.refused = 0;
        refusal.allowed = 0;
    }
}

bool zrdbRefuses(ZrDbRefusable operation)
{
    Refusal& refusal = refusalOf(operation);
    if (refusal.refused.load() <= 0)
        return false;
    if (refusal.allowed.load() > 0) {
        --refusal.allowed;
        return false;
    }
    --refusal.refused;
    return true;
}
