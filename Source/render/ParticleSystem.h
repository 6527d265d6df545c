// cParticleSystem: a fixed pool of coloured, spinning quads born at an emitter, accelerating,
// drifting and fading. At most one dead particle is reborn per update, so the pool fills as a
// stream of one particle per frame (a property of the effect, frame-rate dependent on purpose).
#pragma once

#include "render/Vector3.h"

#include <cstdint>

namespace VantorGL {

struct Particle {
    std::int32_t active = 0;  // 1 for every particle of a created pool
    float life = 0.0f;        // alpha; 1.0 at birth; dead below 0
    float fade = 0.0f;        // life lost per update on top of the time-based loss
    float r = 0.0f, g = 0.0f, b = 0.0f;
    float angle = 0.0f;       // degrees; one degree per millisecond of frame time
    cVector3f position;
    cVector3f acceleration;   // added to velocity scaled by the frame time in ms
    cVector3f drift;          // added to velocity unscaled
    cVector3f axis;           // rotation axis, three random components, not normalised
    cVector3f velocity;       // added to position every update
};

class cParticleSystem {
public:
    // Defaults below, seeds rand() with the calendar time. No GL work.
    cParticleSystem();
    // The same with a seed of the caller's: a timeline started over in the same process is
    // built with the seed its first run drew, so rand() runs through the same values again.
    explicit cParticleSystem(unsigned seed);
    virtual ~cParticleSystem();

    cParticleSystem(const cParticleSystem&) = delete;
    cParticleSystem& operator=(const cParticleSystem&) = delete;

    // Makes a fresh pool of count particles (replacing any previous one), all alive with an
    // almost spent life (0.001), so the first update kills them all and the stream begins.
    // count <= 0 ends the process with exit code 10 (FatalError).
    void CreateParticles(int count);

    // Configuration for particles born from now on (existing particles keep theirs).
    void SetColour(float r, float g, float b);
    void SetAcceleration(float x, float y, float z);
    void SetDrift(float x, float y, float z);
    void SetEmitterPosition(float x, float y, float z);
    void SetLifeDivisor(int ms);

    // Ages, rebirths (at most one) and moves the whole pool by the clock's frame time.
    virtual void UpdateAll();
    // Draws every active particle with glColor4f(r, g, b, life); GL state is the caller's.
    // Before any CreateParticles it ends the process with exit code 10 (FatalError).
    void DrawAll();

    // Hooks, in slot order after UpdateAll's helpers; each works on `current`.
    virtual void OnCreated();
    virtual void Move();
    virtual void AfterMove();
    virtual void Scatter();
    virtual void DrawParticle();

    // Read access for scenes and tests.
    int Count() const { return count; }
    bool Ready() const { return ready; }
    const Particle& At(int index) const { return particles[index]; }
    unsigned Seed() const { return seed; }

    // Members in their fixed order.
    std::int32_t mode = 0;         // 1: AfterMove scatters every particle
    std::int32_t count = 0;
    std::int32_t cursor = 0;       // the particle being processed, shared by the loops
    float zOffset = 0.0f;          // added to every particle's z when drawn
    std::int32_t lifeDivisor = 100;  // ms of frame time per whole unit of life lost
    bool respawned = false;        // one particle was reborn in this UpdateAll
    bool ready = false;
    cVector3f drift{0.0f, 0.0f, 0.0f};
    cVector3f emitterPosition{0.0f, 0.0f, -100.0f};
    cVector3f acceleration{0.0f, 0.0f, 0.0f};
    float colour[3] = {0.2f, 1.0f, 1.0f};
    Particle* particles = nullptr;
    Particle* current = nullptr;

protected:
    // Rebirth of `current` at the emitter with the system's configuration.
    void Spawn();
    // position = p + three independent RandomRange(-0.1, 0.1) jitters.
    void PlaceAt(const cVector3f& p);

private:
    double unusedRandom[3] = {0.0, 0.0, 0.0};  // three draws nothing reads; they advance rand()
    unsigned seed = 0;                          // what rand() was seeded with at construction
};

}  // namespace VantorGL
