#include <algorithm>
#include <cstdint>
#include <limits>

#include "world/character.h"

void AnimateCharacter(Character& c, uint32_t frameTimeMs) {
    if (!c.active || c.motionFlags == 0) return;
    c.motionClock += frameTimeMs;
    if (c.motionClock <= kAnimationStepMs) return;
    // Whole steps only; what is left below one step is dropped, as the motion data expects.
    const int64_t steps = c.motionClock / kAnimationStepMs;
    c.motionClock = 0;
    const int64_t frames =
        std::clamp<int64_t>(int64_t(c.motionDirection) * steps, std::numeric_limits<int32_t>::min(),
                            std::numeric_limits<int32_t>::max());
    if (!c.model.AdvanceAnimation(static_cast<int32_t>(frames))) return;

    if (c.queuedMotion != 0) {
        c.SetMotion(static_cast<int32_t>(static_cast<uint32_t>(c.queuedMotion) - 1u), c.queuedLoop);
        c.queuedMotion = 0;
    } else if (c.motionFlags & kMotionLooping) {
        // Loops play forward and backward in turn.
        c.motionDirection = -c.motionDirection;
    }
}
