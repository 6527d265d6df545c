// cSceneTargetPool: one set of render targets for every scene, made as the scenes set up.
#include "render/SceneTargetPool.h"

#include "shell/Console.h"

#include <algorithm>

namespace VantorGL {

int cSceneTargetPool::FilterIndex(int filter) {
    if (filter == kTargetFilterNearest) return 0;
    if (filter == kTargetFilterLinear) return 1;
    return 2;
}

bool cSceneTargetPool::Hand(cRenderTextureSystem& target, int filter, int slot) {
    const bool known = std::find(handed, handed + handedCount, &target) != handed + handedCount;
    if (!known && handedCount < kMaxHanded)
        handed[handedCount++] = &target;
    else if (!known)
        ConsolePrint("TARGET", "more than %d scene targets handed out; the rest are not released on a restart",
                     kMaxHanded);
    if (!sharing) return target.Create(kRenderTargetWidth, kRenderTargetHeight, filter);
    if (slot < 0 || slot >= kSlotsPerFilter) {
        ConsolePrint("TARGET", "scene target %d of filter %d is past the %d shared ones; it gets its own", slot,
                     filter, kSlotsPerFilter);
        return target.Create(kRenderTargetWidth, kRenderTargetHeight, filter);
    }
    cRenderTextureSystem& owner = slots[FilterIndex(filter)][slot];
    if (owner.framebuffer == 0) {
        if (!owner.Create(kRenderTargetWidth, kRenderTargetHeight, filter)) return false;
        if (depthOwner != nullptr)
            owner.BorrowDepthBuffer(*depthOwner);
        else
            depthOwner = &owner;
    }
    target.Share(owner);
    return true;
}

void cSceneTargetPool::TakeBack() {
    for (int i = 0; i < handedCount; ++i) handed[i]->Release();
    handedCount = 0;
}

int cSceneTargetPool::Created() const {
    int count = 0;
    for (const auto& filter : slots)
        for (const cRenderTextureSystem& slot : filter) count += slot.framebuffer != 0;
    return count;
}

int cSceneTargetPool::DepthBuffers() const {
    int count = 0;
    for (const auto& filter : slots)
        for (const cRenderTextureSystem& slot : filter) count += slot.framebuffer != 0 && !slot.depthBorrowed;
    return count;
}

}  // namespace VantorGL
