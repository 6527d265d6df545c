// cSceneTargetPool: the render targets the scenes share. Scenes draw one after another and each
// clears and redraws every target it samples before sampling it in the same frame, so the k-th
// target of a filter in one scene can be the k-th of that filter in every other scene: the
// demo keeps as many targets as its hungriest scene instead of one set per scene.
//
//   scene Init:  pool.Hand(targetA, kTargetFilterLinear, 0);   // targetA shares slot 0
//   restart:     pool.TakeBack(); every handed target forgets the names; the pool keeps the objects
//
// A target read before it is written in a frame (the workshop's feedback image) must keep its
// own and never come from here. Slots are made on first use, at the scenes' set-up; their number
// is fixed. All slots draw into the first slot's depth buffer: every scene capture clears depth
// before it draws (CaptureInto), so no pass ever reads depth another pass left.
#pragma once

#include "render/RenderTextureSystem.h"

namespace VantorGL {

class cSceneTargetPool {
public:
    static constexpr int kFilters = 3;         // nearest, linear, GL's default
    static constexpr int kSlotsPerFilter = 5;  // the most one scene uses of one filter

    // Makes `target` share slot `slot` of `filter` (kTargetFilterNearest, kTargetFilterLinear,
    // anything else: GL's default filtering), creating the slot at kRenderTargetWidth x
    // kRenderTargetHeight the first time (needs the context). Past the fixed number of slots the
    // target is created as its own, with one line on stderr. False when creation failed.
    bool Hand(cRenderTextureSystem& target, int filter, int slot);
    // Releases every target handed out since the last TakeBack, so the scenes need not list
    // them: a shared one forgets the names, one made as its own (sharing off, or past the slots)
    // deletes its objects. A handed target must not go before this call. Needs the context.
    void TakeBack();
    // Slots made so far (for the tests and the start-up report).
    int Created() const;
    // Depth buffers the slots made so far draw into (one when any slot exists; for the tests).
    int DepthBuffers() const;
    // With sharing off, Hand creates every target as the scene's own, as if there were no pool
    // (the frames must not change; the tests compare). Takes effect at the next scenes' set-up.
    void SetSharing(bool on) { sharing = on; }
    // Which of the kFilters slot rows a filter's targets share: 0 nearest, 1 linear, 2 the rest.
    static int FilterIndex(int filter);

private:
    // Nine timeline scenes of at most kSlotsPerFilter targets each; a target handed twice is
    // recorded once. Past this number a target is told on stderr and never taken back.
    static constexpr int kMaxHanded = 9 * kSlotsPerFilter;

    cRenderTextureSystem slots[kFilters][kSlotsPerFilter];
    cRenderTextureSystem* handed[kMaxHanded] = {};
    int handedCount = 0;
    bool sharing = true;
    const cRenderTextureSystem* depthOwner = nullptr;  // the slot whose depth buffer all share
};

}  // namespace VantorGL
