// cParticleSystem: the pool, its update and its drawing.
#include "render/ParticleSystem.h"

#include "render/FatalError.h"
#include "render/MathHelpers.h"
#include "render/Primitives.h"
#include "timeline/TimeSystem.h"

#include <epoxy/gl.h>

#include <cstdlib>
#include <ctime>

namespace VantorGL {

// A particle pool cannot be used without a CreateParticles; misuse ends the run like this.
constexpr int kParticleMisuseExitCode = 10;

cParticleSystem::cParticleSystem() : cParticleSystem(unsigned(std::time(nullptr))) {}

cParticleSystem::cParticleSystem(unsigned startSeed) : seed(startSeed) {
    std::srand(seed);
    for (double& v : unusedRandom) v = RandomRange(0.0, 1.0);
}

cParticleSystem::~cParticleSystem() { delete[] particles; }

void cParticleSystem::CreateParticles(int newCount) {
    if (newCount <= 0) {
        FatalError("PARTICLES", kParticleMisuseExitCode, nullptr, "CreateParticles: a pool needs at least one particle");
        return;  // only under a test handler: the old pool stays as it was
    }
    delete[] particles;
    particles = new Particle[newCount];
    count = newCount;
    for (cursor = 0; cursor < count; ++cursor) {
        current = &particles[cursor];
        current->active = 1;
        Spawn();
        current->life = 0.001f;
    }
    OnCreated();
    ready = true;
}

void cParticleSystem::SetColour(float r, float g, float b) {
    colour[0] = r;
    colour[1] = g;
    colour[2] = b;
}

void cParticleSystem::SetAcceleration(float x, float y, float z) { acceleration.Set(x, y, z); }
void cParticleSystem::SetDrift(float x, float y, float z) { drift.Set(x, y, z); }
void cParticleSystem::SetEmitterPosition(float x, float y, float z) { emitterPosition.Set(x, y, z); }
void cParticleSystem::SetLifeDivisor(int ms) { lifeDivisor = ms; }

void cParticleSystem::PlaceAt(const cVector3f& p) {
    current->position.x = float(p.x + RandomRange(-0.1, 0.1));
    current->position.y = float(p.y + RandomRange(-0.1, 0.1));
    current->position.z = float(p.z + RandomRange(-0.1, 0.1));
}

void cParticleSystem::Spawn() {
    current->life = 1.0f;
    // Single-precision bounds: q = 8, so the fade is 0.001, 0.003, 0.005 or 0.007 (a particle
    // lives about 1000, 333, 200 or 143 updates).
    current->fade = float(RandomRange(0.001f, 0.01f));
    current->acceleration = acceleration;
    current->r = colour[0];
    current->g = colour[1];
    current->b = colour[2];
    current->drift = drift;
    current->axis.x = float(RandomRange(0.0, 360.0));
    current->axis.y = float(RandomRange(0.0, 360.0));
    current->axis.z = float(RandomRange(0.0, 360.0));
    current->velocity.Set(0.0f, 0.0f, 0.0f);
    PlaceAt(emitterPosition);
    current->angle = float(RandomRange(0.0, 360.0));
}

void cParticleSystem::OnCreated() {}

void cParticleSystem::Move() {
    const int dt = cTimeSystem::Instance()->Delta();
    current->angle += float(dt);
    current->velocity += current->acceleration * float(dt);
    current->velocity += current->drift;
    current->position += current->velocity;
}

void cParticleSystem::AfterMove() {
    if (mode == 1) Scatter();
}

void cParticleSystem::Scatter() {
    current->life = 1.0f;
    current->fade = float(RandomRange(0.0, 0.03));
    current->acceleration.x = float(RandomRange(-1.0, 1.0));
    current->acceleration.y = float(RandomRange(-1.0, 1.0));
    current->acceleration.z = float(RandomRange(-1.0, 1.0));
}

void cParticleSystem::UpdateAll() {
    const int dt = cTimeSystem::Instance()->Delta();
    // A divisor of 0 or less would divide by zero: such a setting means "no time-based loss".
    const int wholeUnits = lifeDivisor > 0 ? dt / lifeDivisor : 0;
    respawned = false;
    for (cursor = 0; cursor < count; ++cursor) {
        current = &particles[cursor];
        current->life = current->life - (float(wholeUnits) + current->fade);
        if (current->life < 0.0f && !respawned) {
            Spawn();
            respawned = true;
        }
        Move();
        AfterMove();
    }
}

void cParticleSystem::DrawParticle() {
    glPushMatrix();
    glTranslatef(current->position.x, current->position.y, current->position.z + zOffset);
    glRotatef(current->angle, current->axis.x, current->axis.y, current->axis.z);
    DrawScreenQuad();
    glPopMatrix();
}

void cParticleSystem::DrawAll() {
    if (!ready) {
        FatalError("PARTICLES", kParticleMisuseExitCode, nullptr, "DrawAll before CreateParticles");
        return;
    }
    for (cursor = 0; cursor < count; ++cursor) {
        current = &particles[cursor];
        if (!current->active) continue;
        glColor4f(current->r, current->g, current->b, current->life);
        DrawParticle();
    }
}

}  // namespace VantorGL
