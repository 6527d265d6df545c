// Synth: the small sound kit the soundtrack and the loading tune are made of. Every instrument
// renders one note or hit, additively, into a stereo float bus at a sample position; noise comes
// from seeded generators, so a render is the same bytes on every run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Synth {

constexpr int kRate = 44100;  // every file the demo plays is 44100 Hz stereo
constexpr double kTwoPi = 6.283185307179586476925;

// xorshift32: fast, seedable, identical on every platform.
struct Rng {
    std::uint32_t state;
    explicit Rng(std::uint32_t seed) : state(seed ? seed : 0x9E3779B9u) {}
    std::uint32_t NextU() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    float Bipolar() { return float(NextU() >> 8) * (2.0f / 16777216.0f) - 1.0f; }  // [-1, 1)
    float Unit() { return float(NextU() >> 8) * (1.0f / 16777216.0f); }            // [0, 1)
};

// Equal-tempered pitch of a MIDI note (69 = A4 = 440 Hz).
double MidiHz(double note);

// A stereo bus of float samples, nominal full scale 1.0.
struct Bus {
    std::vector<float> left, right;
    explicit Bus(std::size_t frames = 0) : left(frames, 0.0f), right(frames, 0.0f) {}
    std::size_t Frames() const { return left.size(); }
    // Adds a mono sample panned with equal power (pan -1 left .. +1 right); ignores positions
    // outside the bus, so notes may run past the end.
    void AddPanned(std::size_t i, float value, float pan);
    void Add(std::size_t i, float l, float r) {
        if (i < left.size()) { left[i] += l; right[i] += r; }
    }
};

// Topology-preserving state-variable filter (Zavalishin): stable under per-sample cutoff sweeps.
struct Svf {
    float g = 0, k = 1, a1 = 0, a2 = 0, a3 = 0, ic1 = 0, ic2 = 0;
    float low = 0, band = 0, high = 0;  // outputs of the last Tick
    void Set(float cutoffHz, float resonance /* 0.5 soft .. 10 sharp */);
    void Tick(float x);
};

// One-pole smoothing low-pass, used for damping and DC blocking.
struct OnePole {
    float a = 0, z = 0;
    void Set(float cutoffHz);
    float Low(float x) { z += a * (x - z); return z; }
    float High(float x) { return x - Low(x); }
};

// Freeverb-style stereo room: four damped combs and two all-passes per side.
class cRoom {
public:
    cRoom(float size /* 0..1 feedback scale */, float damping /* 0..1 */);
    // Adds the room's answer to the mono send `in` onto `out`, `wet` scaled.
    void Process(const std::vector<float>& in, Bus& out, float wet);

private:
    struct Line { std::vector<float> data; std::size_t pos = 0; float store = 0; };
    Line combs[2][4], allpasses[2][2];
    float feedback, damp;
};

// Ping-pong echo of the mono send `in` added to `out` (delay in frames, feedback < 1, tone low-pass).
void PingPong(const std::vector<float>& in, Bus& out, std::size_t delayFrames, float feedback, float wet, float toneHz);

// --- Instruments: each adds one event to `bus` starting at frame `at` and returns the number of
// frames it spans from there ---------------------------------------------------------------------

// Kick: sine swept from 160 Hz down to `bodyHz` (52 to 58: the lowest spectrum bin) with a short
// click. Also adds its amplitude envelope to `duck` (side-chain for the bass and pads) when given.
std::size_t Kick(Bus& bus, std::size_t at, float gain, float bodyHz, std::vector<float>* duck);
std::size_t Snare(Bus& bus, std::size_t at, float gain, std::uint32_t seed);
std::size_t Clap(Bus& bus, std::size_t at, float gain, std::uint32_t seed);
std::size_t Hat(Bus& bus, std::size_t at, float gain, bool open, float pan, std::uint32_t seed);
std::size_t Tom(Bus& bus, std::size_t at, float gain, float hz, float pan);
std::size_t Crash(Bus& bus, std::size_t at, float gain, std::uint32_t seed);
// Noise rising through a band-pass that ends exactly at frame `end`.
std::size_t Sweep(Bus& bus, std::size_t end, std::size_t length, float gain, std::uint32_t seed);
// Downward noise whoosh after an accent.
std::size_t Fall(Bus& bus, std::size_t at, std::size_t length, float gain, std::uint32_t seed);

// Bass: two detuned saws and a sub-octave-free square through a low-pass; `length` in frames.
std::size_t Bass(Bus& bus, std::size_t at, std::size_t length, double hz, float gain, float cutoffHz);
// Pad voice: five detuned saws spread across the stereo field, slow attack and release.
std::size_t Pad(Bus& bus, std::size_t at, std::size_t length, double hz, float gain, float cutoffHz,
         float attackS, float releaseS);
// FM bell with a long ring.
std::size_t Bell(Bus& bus, std::size_t at, double hz, float gain, float pan, float decayS);
// Plucked square/saw for arpeggios.
std::size_t Pluck(Bus& bus, std::size_t at, double hz, float gain, float pan, float cutoffHz, float decayS);
// Lead: detuned saw pair with vibrato and a filter envelope.
std::size_t Lead(Bus& bus, std::size_t at, std::size_t length, double hz, float gain, float cutoffHz);

}  // namespace Synth
