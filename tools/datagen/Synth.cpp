// Synth: oscillators, filters, rooms and the instruments of the soundtrack.
// Oscillators are phase accumulators with polyBLEP edges, so saws and squares stay clean up high.
#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace Synth {

namespace {

constexpr float kInvRate = 1.0f / float(kRate);

std::size_t Frames(float seconds) { return std::size_t(seconds * float(kRate)); }

// PolyBLEP residual for a discontinuity at phase 0 (phase and increment in cycles).
float Blep(float t, float dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

struct Saw {
    float phase = 0;
    float Tick(float inc) {
        float v = 2.0f * phase - 1.0f - Blep(phase, inc);
        phase += inc;
        if (phase >= 1.0f) phase -= 1.0f;
        return v;
    }
};

struct Square {
    float phase = 0;
    float Tick(float inc) {
        float v = phase < 0.5f ? 1.0f : -1.0f;
        v += Blep(phase, inc);
        float shifted = phase + 0.5f;
        if (shifted >= 1.0f) shifted -= 1.0f;
        v -= Blep(shifted, inc);
        phase += inc;
        if (phase >= 1.0f) phase -= 1.0f;
        return v;
    }
};

// Linear attack, hold, exponential-free linear release: a plain gate envelope in frames.
float Gate(std::size_t i, std::size_t attack, std::size_t length, std::size_t release) {
    float a = attack ? std::min(1.0f, float(i) / float(attack)) : 1.0f;
    if (i >= length) {
        std::size_t past = i - length;
        if (past >= release) return 0.0f;
        a *= 1.0f - float(past) / float(release);
    }
    return a;
}

}  // namespace

double MidiHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

void Bus::AddPanned(std::size_t i, float value, float pan) {
    if (i >= left.size()) return;
    // Equal-power law: centre gives 0.707 on each side.
    float angle = (pan + 1.0f) * 0.25f * float(M_PI);
    left[i] += value * std::cos(angle);
    right[i] += value * std::sin(angle);
}

void Svf::Set(float cutoffHz, float resonance) {
    cutoffHz = std::clamp(cutoffHz, 10.0f, 0.45f * float(kRate));
    g = std::tan(float(M_PI) * cutoffHz * kInvRate);
    k = 1.0f / std::max(0.5f, resonance);
    a1 = 1.0f / (1.0f + g * (g + k));
    a2 = g * a1;
    a3 = g * a2;
}

void Svf::Tick(float x) {
    float v3 = x - ic2;
    float v1 = a1 * ic1 + a2 * v3;
    float v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2.0f * v1 - ic1;
    ic2 = 2.0f * v2 - ic2;
    low = v2;
    band = v1;
    high = x - k * v1 - v2;
}

void OnePole::Set(float cutoffHz) { a = 1.0f - std::exp(-2.0f * float(M_PI) * cutoffHz * kInvRate); }

cRoom::cRoom(float size, float damping) : feedback(0.7f + 0.28f * size), damp(damping) {
    // Freeverb's tunings at 44100 Hz; the right side is spread by 23 frames.
    const std::size_t combLengths[4] = {1116, 1277, 1422, 1557};
    const std::size_t allpassLengths[2] = {556, 441};
    for (int side = 0; side < 2; ++side) {
        for (int c = 0; c < 4; ++c) combs[side][c].data.assign(combLengths[c] + side * 23, 0.0f);
        for (int a = 0; a < 2; ++a) allpasses[side][a].data.assign(allpassLengths[a] + side * 23, 0.0f);
    }
}

void cRoom::Process(const std::vector<float>& in, Bus& out, float wet) {
    const std::size_t frames = std::min(in.size(), out.Frames());
    for (int side = 0; side < 2; ++side) {
        std::vector<float>& dst = side ? out.right : out.left;
        for (std::size_t i = 0; i < frames; ++i) {
            // Both sides hear the mono sum, so the room is wide even for centred sources.
            float x = in[i] * 0.3f;
            float acc = 0.0f;
            for (Line& comb : combs[side]) {
                float y = comb.data[comb.pos];
                comb.store = y * (1.0f - damp) + comb.store * damp;
                comb.data[comb.pos] = x + comb.store * feedback;
                if (++comb.pos == comb.data.size()) comb.pos = 0;
                acc += y;
            }
            for (Line& ap : allpasses[side]) {
                float buffered = ap.data[ap.pos];
                float y = buffered - acc;
                ap.data[ap.pos] = acc + buffered * 0.5f;
                if (++ap.pos == ap.data.size()) ap.pos = 0;
                acc = y;
            }
            dst[i] += acc * wet;
        }
    }
}

void PingPong(const std::vector<float>& in, Bus& out, std::size_t delayFrames, float feedback, float wet, float toneHz) {
    std::vector<float> lineL(delayFrames, 0.0f), lineR(delayFrames, 0.0f);
    OnePole toneL, toneR;
    toneL.Set(toneHz);
    toneR.Set(toneHz);
    std::size_t pos = 0;
    const std::size_t frames = std::min(in.size(), out.Frames());
    for (std::size_t i = 0; i < frames; ++i) {
        float dl = lineL[pos], dr = lineR[pos];
        // Input enters on the left; each repeat crosses to the other side.
        lineL[pos] = toneL.Low(in[i] + dr * feedback);
        lineR[pos] = toneR.Low(dl * feedback);
        if (++pos == delayFrames) pos = 0;
        out.left[i] += dl * wet;
        out.right[i] += dr * wet;
    }
}

std::size_t Kick(Bus& bus, std::size_t at, float gain, float bodyHz, std::vector<float>* duck) {
    const std::size_t length = Frames(0.32f);
    double phase = 0.0, knock = 0.0;
    for (std::size_t i = 0; i < length; ++i) {
        float t = float(i) * kInvRate;
        // The sweep starts low (90 Hz) so the first half-waves are long: the 512-sample analysis
        // then reads a big bin 0 wherever the demo's frames fall on the hit.
        float hz = bodyHz + (90.0f - bodyHz) * std::exp(-t / 0.03f);
        phase += kTwoPi * hz / kRate;
        knock += kTwoPi * (140.0f + 200.0f * std::exp(-t / 0.004f)) / kRate;
        // Punchy body that is gone well before the next quarter note (0.5 s at 120 BPM), so the
        // lowest spectrum bin drops back between beats.
        float amp = std::exp(-t / 0.085f) * std::min(1.0f, t / 0.0008f);
        float fadeOut = i + 2000 > length ? float(length - i) / 2000.0f : 1.0f;
        float body = float(std::sin(phase)) * amp * fadeOut;
        float punch = float(std::sin(knock)) * std::exp(-t / 0.012f) * 0.22f;
        float click = t < 0.003f ? float(std::sin(phase * 40.0)) * (1.0f - t / 0.003f) * 0.2f : 0.0f;
        float v = gain * (body + punch + click);
        bus.Add(at + i, v, v);
        if (duck && at + i < duck->size()) (*duck)[at + i] = std::max((*duck)[at + i], amp * fadeOut);
    }
    return length;
}

std::size_t Snare(Bus& bus, std::size_t at, float gain, std::uint32_t seed) {
    Rng rng(seed);
    Svf tone;
    tone.Set(3200.0f, 0.8f);
    OnePole lowcut;
    lowcut.Set(900.0f);
    const std::size_t length = Frames(0.28f);
    double phase = 0.0;
    for (std::size_t i = 0; i < length; ++i) {
        float t = float(i) * kInvRate;
        float hz = 185.0f + 80.0f * std::exp(-t / 0.01f);
        phase += kTwoPi * hz / kRate;
        float body = float(std::sin(phase)) * std::exp(-t / 0.045f) * 0.55f;
        tone.Tick(rng.Bipolar());
        float noise = lowcut.High(tone.low) * std::exp(-t / 0.09f) * 1.1f;
        float v = gain * (body + noise) * std::min(1.0f, t / 0.0005f);
        bus.Add(at + i, v, v * 0.96f);
    }
    return length;
}

std::size_t Clap(Bus& bus, std::size_t at, float gain, std::uint32_t seed) {
    Rng rng(seed);
    Svf band;
    band.Set(1300.0f, 2.0f);  // sits on the 1.3 kHz bin the glow crystal follows
    const std::size_t length = Frames(0.3f);
    for (std::size_t i = 0; i < length; ++i) {
        float t = float(i) * kInvRate;
        // Three quick slaps, then the room of the hands.
        float slaps = 0.0f;
        for (int s = 0; s < 3; ++s) {
            float ts = t - 0.011f * float(s);
            if (ts >= 0.0f && ts < 0.011f) slaps = std::max(slaps, std::exp(-ts / 0.004f));
        }
        float env = std::max(slaps, t > 0.022f ? std::exp(-(t - 0.022f) / 0.07f) : 0.0f);
        band.Tick(rng.Bipolar());
        float v = gain * band.band * env * 2.2f;
        bus.Add(at + i, v * 0.95f, v);
    }
    return length;
}

std::size_t Hat(Bus& bus, std::size_t at, float gain, bool open, float pan, std::uint32_t seed) {
    Rng rng(seed);
    Svf high;
    high.Set(6500.0f, 0.9f);
    const float decay = open ? 0.16f : 0.028f;
    const std::size_t length = Frames(decay * 6.0f);
    for (std::size_t i = 0; i < length; ++i) {
        float t = float(i) * kInvRate;
        high.Tick(rng.Bipolar());
        bus.AddPanned(at + i, 1.6f * gain * high.high * std::exp(-t / decay), pan);
    }
    return length;
}

std::size_t Tom(Bus& bus, std::size_t at, float gain, float hz, float pan) {
    const std::size_t length = Frames(0.45f);
    double phase = 0.0;
    for (std::size_t i = 0; i < length; ++i) {
        float t = float(i) * kInvRate;
        phase += kTwoPi * (hz * (1.0f + 0.6f * std::exp(-t / 0.03f))) / kRate;
        float v = gain * float(std::sin(phase)) * std::exp(-t / 0.12f) * std::min(1.0f, t / 0.001f);
        bus.AddPanned(at + i, v, pan);
    }
    return length;
}

std::size_t Crash(Bus& bus, std::size_t at, float gain, std::uint32_t seed) {
    Rng rngL(seed), rngR(seed * 7919u + 13u);
    Svf highL, highR, ringL, ringR;
    highL.Set(4200.0f, 0.7f);
    highR.Set(4200.0f, 0.7f);
    ringL.Set(5300.0f, 6.0f);
    ringR.Set(6100.0f, 6.0f);
    const std::size_t length = Frames(3.2f);
    for (std::size_t i = 0; i < length; ++i) {
        float t = float(i) * kInvRate;
        float env = std::exp(-t / 0.75f) * std::min(1.0f, t / 0.002f) * (1.0f - float(i) / float(length));
        highL.Tick(rngL.Bipolar());
        highR.Tick(rngR.Bipolar());
        ringL.Tick(highL.high);
        ringR.Tick(highR.high);
        bus.Add(at + i, gain * env * (highL.high + 0.5f * ringL.band), gain * env * (highR.high + 0.5f * ringR.band));
    }
    return length;
}

std::size_t Sweep(Bus& bus, std::size_t end, std::size_t length, float gain, std::uint32_t seed) {
    if (length > end) length = end;
    Rng rng(seed);
    Svf bandL, bandR;
    const std::size_t start = end - length;
    for (std::size_t i = 0; i < length; ++i) {
        float x = float(i) / float(length);  // 0 .. 1 towards the accent
        if ((i & 31) == 0) {
            float hz = 300.0f * std::pow(30.0f, x);  // 300 Hz to 9 kHz
            bandL.Set(hz, 3.0f);
            bandR.Set(hz * 1.07f, 3.0f);
        }
        float a = rng.Bipolar(), b = rng.Bipolar();
        bandL.Tick(a * 0.7f + b * 0.3f);
        bandR.Tick(b * 0.7f + a * 0.3f);
        float env = gain * x * x;
        bus.Add(start + i, bandL.band * env, bandR.band * env);
    }
    return length;
}

std::size_t Fall(Bus& bus, std::size_t at, std::size_t length, float gain, std::uint32_t seed) {
    Rng rng(seed);
    Svf bandL, bandR;
    for (std::size_t i = 0; i < length; ++i) {
        float x = float(i) / float(length);
        if ((i & 31) == 0) {
            float hz = 8000.0f * std::pow(1.0f / 20.0f, x);
            bandL.Set(hz, 2.0f);
            bandR.Set(hz * 0.93f, 2.0f);
        }
        bandL.Tick(rng.Bipolar());
        bandR.Tick(rng.Bipolar());
        float env = gain * (1.0f - x) * (1.0f - x) * std::min(1.0f, float(i) / 400.0f);
        bus.Add(at + i, bandL.band * env, bandR.band * env);
    }
    return length;
}

std::size_t Bass(Bus& bus, std::size_t at, std::size_t length, double hz, float gain, float cutoffHz) {
    Saw a, b;
    Svf filter;
    OnePole lowcut;
    // Keeps the fundamental lean: the lowest spectrum bin belongs to the kick.
    lowcut.Set(140.0f);
    const std::size_t release = Frames(0.03f);
    const float incA = float(hz * 1.003 / kRate), incB = float(hz * 0.997 / kRate);
    for (std::size_t i = 0; i < length + release; ++i) {
        float t = float(i) * kInvRate;
        if ((i & 15) == 0) filter.Set(cutoffHz * (1.0f + 2.5f * std::exp(-t / 0.06f)), 1.3f);
        filter.Tick(0.5f * (a.Tick(incA) + b.Tick(incB)));
        float shaped = filter.low - 0.55f * lowcut.Low(filter.low);
        float v = gain * shaped * Gate(i, Frames(0.003f), length, release);
        bus.Add(at + i, v, v);
    }
    return length + release;
}

std::size_t Pad(Bus& bus, std::size_t at, std::size_t length, double hz, float gain, float cutoffHz, float attackS,
         float releaseS) {
    constexpr int kVoices = 5;
    const float detune[kVoices] = {-0.011f, -0.005f, 0.0f, 0.006f, 0.012f};
    const float pans[kVoices] = {-0.6f, 0.4f, 0.0f, -0.3f, 0.6f};
    Saw saws[kVoices];
    float incs[kVoices];
    for (int v = 0; v < kVoices; ++v) {
        incs[v] = float(hz * (1.0 + detune[v]) / kRate);
        saws[v].phase = float(v) * 0.217f;  // spread start phases so the chord breathes at once
    }
    Svf filterL, filterR;
    filterL.Set(cutoffHz, 0.7f);
    filterR.Set(cutoffHz * 1.05f, 0.7f);
    const std::size_t attack = Frames(attackS), release = Frames(releaseS);
    for (std::size_t i = 0; i < length + release; ++i) {
        float l = 0.0f, r = 0.0f;
        for (int v = 0; v < kVoices; ++v) {
            float s = saws[v].Tick(incs[v]);
            l += s * (1.0f - pans[v]);
            r += s * (1.0f + pans[v]);
        }
        filterL.Tick(l);
        filterR.Tick(r);
        float env = gain * 0.05f * Gate(i, attack, length, release);
        bus.Add(at + i, filterL.low * env, filterR.low * env);
    }
    return length + release;
}

std::size_t Bell(Bus& bus, std::size_t at, double hz, float gain, float pan, float decayS) {
    const std::size_t length = Frames(decayS * 5.0f);
    double carrier = 0.0, modulator = 0.0, partial = 0.0;
    const double incC = kTwoPi * hz / kRate, incM = kTwoPi * hz * 3.5 / kRate, incP = kTwoPi * hz * 2.76 / kRate;
    for (std::size_t i = 0; i < length; ++i) {
        float t = float(i) * kInvRate;
        float index = 2.2f * std::exp(-t / (decayS * 0.25f));
        float env = std::exp(-t / decayS) * std::min(1.0f, t / 0.002f) * (1.0f - float(i) / float(length));
        float v = float(std::sin(carrier + index * std::sin(modulator))) +
                  0.25f * float(std::sin(partial)) * std::exp(-t / (decayS * 0.3f));
        carrier += incC;
        modulator += incM;
        partial += incP;
        bus.AddPanned(at + i, gain * v * env, pan);
    }
    return length;
}

std::size_t Pluck(Bus& bus, std::size_t at, double hz, float gain, float pan, float cutoffHz, float decayS) {
    Saw saw;
    Square square;
    Svf filter;
    const float inc = float(hz / kRate);
    const std::size_t length = Frames(decayS * 5.0f);
    for (std::size_t i = 0; i < length; ++i) {
        float t = float(i) * kInvRate;
        if ((i & 15) == 0) filter.Set(cutoffHz * (0.3f + 2.0f * std::exp(-t / 0.05f)), 1.5f);
        filter.Tick(0.6f * saw.Tick(inc) + 0.4f * square.Tick(inc * 1.002f));
        float env = std::exp(-t / decayS) * std::min(1.0f, t / 0.001f) * (1.0f - float(i) / float(length));
        bus.AddPanned(at + i, gain * filter.low * env, pan);
    }
    return length;
}

std::size_t Lead(Bus& bus, std::size_t at, std::size_t length, double hz, float gain, float cutoffHz) {
    Saw a, b;
    b.phase = 0.31f;
    Svf filter;
    const std::size_t release = Frames(0.09f);
    double vib = 0.0;
    for (std::size_t i = 0; i < length + release; ++i) {
        float t = float(i) * kInvRate;
        // Vibrato creeps in after a fifth of a second on long notes.
        float depth = std::clamp((t - 0.2f) * 2.0f, 0.0f, 1.0f) * 0.004f;
        vib += kTwoPi * 5.2 / kRate;
        float bend = 1.0f + depth * float(std::sin(vib));
        if ((i & 15) == 0) filter.Set(cutoffHz * (0.7f + 1.4f * std::exp(-t / 0.12f)), 1.6f);
        filter.Tick(0.5f * (a.Tick(float(hz * 1.0035 / kRate) * bend) + b.Tick(float(hz * 0.9965 / kRate) * bend)));
        float v = gain * filter.low * Gate(i, Frames(0.006f), length, release);
        bus.Add(at + i, v * 0.9f, v);
    }
    return length + release;
}

}  // namespace Synth
