// SynthSoundtrack: the arrangement. 120 BPM, 4/4, A minor; one section per scene window of the
// timeline, bars counted from each section's start. The pictures count beats on the lowest
// spectrum bin (about 0 to 86 Hz), so that bin belongs to the kick alone: the bass and pads are
// side-chained to it and keep their fundamentals lean, and nothing else reaches that low.
#include "SynthSoundtrack.h"

#include "Limiter.h"
#include "Loudness.h"
#include "Synth.h"

#include "timeline/DemoScene.h"

#include <algorithm>
#include <cmath>

namespace Synth {

namespace {

constexpr std::size_t kBeat = kRate / 2;  // frames per beat at 120 BPM
constexpr float kKickHz = 55.0f;          // kick body: well inside the lowest spectrum bin

std::size_t AtBeat(double beat) { return std::size_t(std::llround(beat * double(kBeat))); }
std::size_t AtMs(double ms) { return std::size_t(std::llround(ms * kRate / 1000.0)); }

// The beat a timeline member's window starts on. Every window starts on a beat, give or take the
// time codes' milliseconds ("0:57.15" is 57015 ms, 15 ms past beat 114), so the sections follow
// the timeline table wherever it moves a scene.
double WindowBeat(const char* member) { return std::round(VantorGL::TimelineStartMs(member) / 500.0); }
constexpr double kIntroBeats = 14;  // the kick enters 7 s in, as the logo wipe ends
constexpr double kEndBeat = VantorGL::kDemoEndMs / 500.0;  // "2:47.0"
constexpr double kTailBeats = 18;   // the closing chord and bells after the drums stop

// Chords as pad voicings (MIDI notes, all above 140 Hz) and bass roots (98 to 196 Hz).
struct Chord {
    int pad[4];
    int bass;
};
constexpr Chord kAm = {{57, 60, 64, 69}, 45};
constexpr Chord kF = {{57, 60, 65, 69}, 53};
constexpr Chord kC = {{55, 60, 64, 67}, 48};
constexpr Chord kG = {{55, 59, 62, 67}, 43};
constexpr Chord kEm = {{55, 59, 64, 67}, 52};
constexpr Chord kDm = {{57, 62, 65, 69}, 50};
constexpr Chord kE = {{56, 59, 64, 68}, 52};

const Chord kMain[4] = {kAm, kF, kC, kG};
const Chord kBreak[4] = {kAm, kEm, kF, kG};
const Chord kDeep[4] = {kAm, kDm, kF, kE};

// The theme: one four-bar phrase over Am F C G, as (beat, length in beats, MIDI note).
struct Note {
    double beat, length;
    int midi;
};
const Note kTheme[] = {
    {0, 1.5, 69},  {1.5, 0.5, 72}, {2, 1, 76},     {3, 0.5, 74},  {3.5, 0.5, 72},  // Am
    {4, 1.5, 69},  {5.5, 0.5, 72}, {6, 1.5, 77},   {7.5, 0.5, 76},                 // F
    {8, 1, 76},    {9, 1, 79},     {10, 1, 76},    {11, 1, 72},                    // C
    {12, 1.5, 74}, {13.5, 0.5, 71}, {14, 1, 74},   {15, 0.5, 79}, {15.5, 0.5, 76}, // G
};

// Accents of the first figure scene's script steps (demo ms): each gets a crash and a sweep into it.
constexpr auto& kScriptSteps = VantorGL::cTavikIsleScene::kScriptSteps;
double ScriptAccentMs(std::size_t step) { return kScriptSteps[step][0]; }

constexpr std::size_t kLongestEvent = std::size_t(14) * kRate;  // the closing chord's ring

struct Mix {
    std::size_t limit;        // frames rendered
    Bus dry, ducked;          // ducked: dips under the kick (bass, pads)
    std::vector<float> room, echo, duck;  // mono sends and the kick's side-chain envelope
    Bus scratch;              // one event at a time, kept silent between events
    explicit Mix(std::size_t frames)
        : limit(frames), dry(frames), ducked(frames), room(frames, 0.0f), echo(frames, 0.0f), duck(frames, 0.0f),
          scratch(kLongestEvent) {}
    bool Skip(std::size_t at) const { return at >= limit; }

    // Renders one event once, through `render(scratch)` (which draws it from frame 0 and returns
    // its length), and spreads it over the dry or ducked bus and the two sends.
    template <class Render>
    void Place(std::size_t at, bool toDucked, float roomSend, float echoSend, Render render) {
        if (Skip(at)) return;
        const std::size_t n = std::min(render(scratch), scratch.Frames());
        Bus& bus = toDucked ? ducked : dry;
        const std::size_t end = std::min(n, limit - at);
        for (std::size_t i = 0; i < end; ++i) {
            const float l = scratch.left[i], r = scratch.right[i];
            bus.left[at + i] += l;
            bus.right[at + i] += r;
            room[at + i] += (l + r) * 0.5f * roomSend;
            echo[at + i] += (l + r) * 0.5f * echoSend;
        }
        std::fill(scratch.left.begin(), scratch.left.begin() + n, 0.0f);
        std::fill(scratch.right.begin(), scratch.right.begin() + n, 0.0f);
    }
};

std::uint32_t Seed(std::size_t at, std::uint32_t salt) { return std::uint32_t(at) * 2654435761u ^ (salt * 40503u + 1u); }

// --- Parts ------------------------------------------------------------------------------------

void KickAt(Mix& m, double beat, float gain) {
    std::size_t at = AtBeat(beat);
    if (!m.Skip(at)) Kick(m.dry, at, gain, kKickHz, &m.duck);
}

void SnareAt(Mix& m, double beat, float gain, bool clap) {
    std::size_t at = AtBeat(beat);
    if (m.Skip(at)) return;
    m.Place(at, false, 0.5f, 0.0f, [&](Bus& b) { return Snare(b, 0, gain * 0.8f, Seed(at, 1)); });
    if (clap) m.Place(at, false, 0.6f, 0.0f, [&](Bus& b) { return Clap(b, 0, gain, Seed(at, 2)); });
}

void HatsBar(Mix& m, double bar, int density /* 8 or 16 */, float gain, bool openOffbeats) {
    for (int s = 0; s < density; ++s) {
        double beat = bar + s * 4.0 / density;
        std::size_t at = AtBeat(beat);
        if (m.Skip(at)) return;
        bool offbeat = std::fmod(beat - bar, 1.0) == 0.5;
        if (openOffbeats && offbeat) {
            Hat(m.dry, at, gain * 0.8f, true, 0.25f, Seed(at, 3));
        } else {
            float accent = (s % 2 == 0) ? 0.6f : 1.0f;
            Hat(m.dry, at, gain * accent, false, -0.3f + 0.15f * float(s % 4), Seed(at, 4));
        }
    }
}

void PadChord(Mix& m, double beat, double lengthBeats, const Chord& chord, float gain, float cutoff, float attackS,
              float releaseS) {
    std::size_t at = AtBeat(beat);
    if (m.Skip(at)) return;
    for (int n : chord.pad)
        m.Place(at, true, 0.5f, 0.0f,
                [&](Bus& b) { return Pad(b, 0, AtBeat(lengthBeats), MidiHz(n), gain, cutoff, attackS, releaseS); });
}

void BellAt(Mix& m, double beat, int midi, float gain, float pan, float decayS) {
    std::size_t at = AtBeat(beat);
    if (m.Skip(at)) return;
    m.Place(at, false, 0.8f, 0.5f, [&](Bus& b) { return Bell(b, 0, MidiHz(midi), gain, pan, decayS); });
}

// Bass in eighths or sixteenths; `rolling` leaves out the on-beat notes where the kick sits.
void BassBar(Mix& m, double bar, const Chord& chord, int division, bool rolling, float gain, float cutoff) {
    for (int s = 0; s < division; ++s) {
        double beat = bar + s * 4.0 / division;
        if (rolling && s % (division / 4) == 0) continue;
        std::size_t at = AtBeat(beat);
        if (m.Skip(at)) return;
        int midi = chord.bass + ((division == 16 && s % 4 == 3) ? 12 : 0);
        m.Place(at, true, 0.0f, 0.0f,
                [&](Bus& b) { return Bass(b, 0, AtBeat(4.0 / division * 0.8), MidiHz(midi), gain, cutoff); });
    }
}

void ArpBar(Mix& m, double bar, const Chord& chord, float gain, float cutoff) {
    static const int kOrder[16] = {0, 1, 2, 3, 4, 3, 2, 1, 0, 2, 4, 5, 4, 2, 3, 1};
    int tones[6] = {chord.pad[0] + 12, chord.pad[1] + 12, chord.pad[2] + 12, chord.pad[3] + 12, chord.pad[1] + 24,
                    chord.pad[2] + 24};
    for (int s = 0; s < 16; ++s) {
        std::size_t at = AtBeat(bar + s * 0.25);
        if (m.Skip(at)) return;
        float pan = (s % 2 ? 0.45f : -0.45f);
        float accent = s % 4 == 0 ? 1.0f : 0.7f;
        const double hz = MidiHz(tones[kOrder[s]]);
        m.Place(at, false, 0.15f, 0.6f, [&](Bus& b) { return Pluck(b, 0, hz, gain * accent, pan, cutoff, 0.12f); });
    }
}

void ThemePhrase(Mix& m, double start, double endBeat, int transpose, float gain, float cutoff) {
    for (const Note& n : kTheme) {
        double beat = start + n.beat;
        if (beat >= endBeat) return;
        std::size_t at = AtBeat(beat);
        if (m.Skip(at)) return;
        std::size_t length = AtBeat(std::min(n.length * 0.9, endBeat - beat));
        m.Place(at, false, 0.35f, 0.45f,
                [&](Bus& b) { return Lead(b, 0, length, MidiHz(n.midi + transpose), gain, cutoff); });
    }
}

void Accent(Mix& m, std::size_t at, float gain, double sweepBeats) {
    // The sweep rises into the accent: a render that ends during the rise still holds its start.
    const std::size_t rise = AtBeat(sweepBeats);
    if (!m.Skip(at - std::min(at, rise))) Sweep(m.dry, at, rise, gain * 0.35f, Seed(at, 5));
    if (m.Skip(at)) return;
    m.Place(at, false, 0.6f, 0.0f, [&](Bus& b) { return Crash(b, 0, gain * 0.32f, Seed(at, 6)); });
    m.Place(at, false, 1.0f, 0.0f, [&](Bus& b) { return Fall(b, 0, AtBeat(3), gain * 0.15f, Seed(at, 7)); });
}

void Fill(Mix& m, double beat, float gain) {
    const float toms[4] = {196.0f, 164.8f, 130.8f, 110.0f};
    for (int i = 0; i < 4; ++i) {
        std::size_t at = AtBeat(beat + i * 0.25);
        if (!m.Skip(at)) Tom(m.dry, at, gain, toms[i], 0.5f - 0.33f * float(i));
    }
}

// --- Sections (in beats, each from one window's start to the next) -----------------------------

void Intro(Mix& m) {  // 0 to 7 s: pad and bells, the logo wipe; no kick
    PadChord(m, 0, 8, kAm, 0.8f, 900.0f, 2.5f, 2.0f);
    PadChord(m, 8, 6, kF, 0.8f, 1100.0f, 1.5f, 1.5f);
    const Note bells[] = {{0, 0, 76}, {1.5, 0, 81}, {3, 0, 84}, {4, 0, 83}, {6, 0, 79},
                          {8, 0, 76}, {9.5, 0, 77}, {11, 0, 81}, {12, 0, 84}, {13, 0, 88}};
    for (const Note& n : bells) BellAt(m, n.beat, n.midi, 0.11f, n.beat < 8 ? -0.3f : 0.3f, 1.2f);
    Accent(m, AtBeat(kIntroBeats), 0.5f, 4);
}

void Build(Mix& m, double start, double end) {  // 7 to 25 s: the kick enters, rings appear on its beats
    for (double b = start; b < end; b += 1) KickAt(m, b, 1.0f);
    const int bars = int(std::ceil((end - start) / 4));
    for (int bar = 0; bar < bars; ++bar) {
        double b = start + bar * 4;
        float rise = float(bar) / float(bars - 1);
        PadChord(m, b, std::min(4.0, end - b), kMain[bar % 4], 0.65f, 700.0f + 1800.0f * rise, 0.4f, 0.6f);
        if (bar >= 1) HatsBar(m, b, 8, 0.05f + 0.07f * rise, false);
        if (bar >= 4) { SnareAt(m, b + 1, 0.18f + 0.1f * rise, true); SnareAt(m, b + 3, 0.18f + 0.1f * rise, true); }
        BellAt(m, b, kMain[bar % 4].pad[3] + 12, 0.07f, 0.4f, 0.9f);
        if (bar >= 6) ArpBar(m, b, kMain[bar % 4], 0.05f + 0.04f * (rise - 0.75f) * 4.0f, 2400.0f);
    }
    Accent(m, AtBeat(end), 0.8f, 6);
}

void Groove(Mix& m, double start, double end) {  // 25 to 43 s: full groove with bass; the rays pulse with the kick
    for (double b = start; b < end; b += 1) KickAt(m, b, 1.0f);
    const int bars = int(std::ceil((end - start) / 4));
    for (int bar = 0; bar < bars; ++bar) {
        double b = start + bar * 4;
        const Chord& chord = kMain[bar % 4];
        double len = std::min(4.0, end - b);
        PadChord(m, b, len, chord, 0.55f, 2200.0f, 0.05f, 0.4f);
        BassBar(m, b, chord, 8, false, 0.32f, 700.0f);
        HatsBar(m, b, 8, 0.13f, true);
        SnareAt(m, b + 1, 0.3f, true);
        if (len > 3) SnareAt(m, b + 3, 0.3f, true);
        if (bar % 2 == 1) BellAt(m, b + 2.5, chord.pad[2] + 12, 0.06f, -0.5f, 0.8f);
    }
    Accent(m, AtBeat(end), 0.6f, 4);
}

void Flight(Mix& m, double start, double end) {  // 43 to 57 s: lighter and airy, hats and arpeggio
    const int bars = int(std::ceil((end - start) / 4));
    for (int bar = 0; bar < bars; ++bar) {
        double b = start + bar * 4;
        const Chord& chord = kMain[bar % 4];
        PadChord(m, b, 4, chord, 0.5f, 3000.0f, 0.8f, 1.0f);
        ArpBar(m, b, chord, 0.09f, 3200.0f);
        HatsBar(m, b, 16, 0.06f, false);
        KickAt(m, b, 0.6f);
        if (bar % 2 == 1) BellAt(m, b + 2, chord.pad[3] + 12, 0.07f, 0.5f, 1.0f);
    }
    Accent(m, AtMs(ScriptAccentMs(0)), 0.8f, 4);
}

void Theme(Mix& m, double start, double end, bool driving, int transpose) {
    for (double b = start; b < end; b += 1) KickAt(m, b, 1.0f);
    int bars = int(std::ceil((end - start) / 4));
    for (int bar = 0; bar < bars; ++bar) {
        double b = start + bar * 4;
        const Chord& chord = kMain[bar % 4];
        double len = std::min(4.0, end - b);
        PadChord(m, b, len, chord, 0.5f, driving ? 3000.0f : 2400.0f, 0.05f, 0.4f);
        BassBar(m, b, chord, driving ? 16 : 8, false, 0.3f, driving ? 900.0f : 750.0f);
        HatsBar(m, b, driving ? 16 : 8, 0.11f, !driving);
        SnareAt(m, b + 1, 0.3f, true);
        if (len > 3) SnareAt(m, b + 3, 0.3f, true);
        if (bar % 4 == 0) ThemePhrase(m, b, end, transpose, 0.14f, 2600.0f);
        if (driving && len > 3) { std::size_t at = AtBeat(b + 3.5); if (!m.Skip(at)) Hat(m.dry, at, 0.1f, true, -0.2f, Seed(at, 8)); }
    }
}

void Breakdown(Mix& m, double start, double end, bool arp) {
    int bars = int(std::ceil((end - start) / 4));
    for (int bar = 0; bar < bars; ++bar) {
        double b = start + bar * 4;
        const Chord& chord = kBreak[bar % 4];
        double len = std::min(4.0, end - b);
        PadChord(m, b, len, chord, 0.7f, 1400.0f, 0.6f, 1.2f);
        BellAt(m, b, chord.pad[3] + 12, 0.09f, -0.3f, 1.4f);
        BellAt(m, b + 1.5, chord.pad[1] + 24, 0.06f, 0.4f, 1.0f);
        if (arp) ArpBar(m, b, chord, 0.05f, 1600.0f);
    }
    // A snare roll into the next section.
    for (double b = end - 2; b < end; b += 0.25) SnareAt(m, b, 0.08f + 0.1f * float(b - end + 2), false);
    Accent(m, AtBeat(end), 0.8f, 4);
}

void Deep(Mix& m, double start, double end) {  // 115 to 134 s: deep and rolling
    for (double b = start; b < end; b += 1) KickAt(m, b, 1.0f);
    const int bars = int(std::ceil((end - start) / 4));
    for (int bar = 0; bar < bars; ++bar) {
        double b = start + bar * 4;
        const Chord& chord = kDeep[bar % 4];
        double len = std::min(4.0, end - b);
        PadChord(m, b, len, chord, 0.45f, 900.0f, 0.3f, 0.8f);
        BassBar(m, b, chord, 16, true, 0.34f, 600.0f);
        HatsBar(m, b, 16, 0.07f, false);
        SnareAt(m, b + 1, 0.22f, true);
        if (len > 3) SnareAt(m, b + 3, 0.22f, true);
        if (bar % 4 == 3 && len > 3) Fill(m, b + 3, 0.35f);
    }
    Accent(m, AtBeat(end), 0.9f, 6);
}

void Finale(Mix& m, double start, double end) {  // 134 to 167 s: the glowing finale, then a long tail that ends at 2:47
    const double drumsEnd = end - kTailBeats;
    for (double b = start; b < drumsEnd; b += 1) KickAt(m, b, 1.0f);
    const int bars = int(std::ceil((drumsEnd - start) / 4));
    for (int bar = 0; bar < bars; ++bar) {
        double b = start + bar * 4;
        const Chord& chord = kMain[bar % 4];
        PadChord(m, b, 4, chord, 0.55f, 3400.0f, 0.05f, 0.4f);
        BassBar(m, b, chord, 16, false, 0.3f, 950.0f);
        HatsBar(m, b, 16, 0.1f, false);
        SnareAt(m, b + 1, 0.32f, true);
        SnareAt(m, b + 3, 0.32f, true);
        if (bar % 4 == 0) ThemePhrase(m, b, drumsEnd, 12, 0.11f, 3000.0f);
        if (bar >= 4 && bar % 4 == 0) ThemePhrase(m, b, drumsEnd, 0, 0.08f, 2200.0f);
        BellAt(m, b, chord.pad[3] + 12, 0.06f, 0.5f, 1.2f);
    }
    Accent(m, AtBeat(drumsEnd), 1.0f, 8);
    // The close: one long A minor chord and a falling line of bells over the last nine seconds.
    PadChord(m, drumsEnd, end - drumsEnd - 6, kAm, 0.85f, 2600.0f, 0.02f, 5.5f);
    const Note bells[] = {{0, 0, 88}, {2, 0, 84}, {4, 0, 81}, {6, 0, 76}, {8, 0, 72}, {10, 0, 69}};
    for (const Note& n : bells) BellAt(m, drumsEnd + n.beat, n.midi, 0.1f, n.beat / 10.0f - 0.5f, 1.6f);
}

// The master stage: gain, the fade into the end, the true-peak limiter, then 16-bit rounding.
// The ceiling sits below the release's -1 dBTP: MP3 encoding lifts the peaks between samples a
// little and rounding adds its half step. The limiter only touches the rare kick-plus-snare-
// plus-crash peaks; a 4 ms ramp and a quick recovery keep the kicks' punch (and bin 0's beats).
constexpr LimiterShape kMasterLimiter = {kReleaseTruePeakDbtp - 1.0, std::size_t(kRate) * 4 / 1000, 0.08};

// Master gains, set by ear for the mix and by the meter for the level: each piece reads about
// kReleaseLoudnessLufs on the decoded MP3 (the tests hold the files to it).
constexpr float kSoundtrackGain = 0.76f;
constexpr float kLoadingGain = 0.85f;

void Finish(Bus& out, float masterGain, std::size_t fadeFrames, bool periodic, std::vector<std::int16_t>& pcm) {
    const std::size_t frames = out.Frames();
    for (std::size_t i = 0; i < frames; ++i) {
        float fade = 1.0f;
        if (fadeFrames && i + fadeFrames >= kSoundtrackFrames)
            fade = float(kSoundtrackFrames - 1 - std::min(i, kSoundtrackFrames - 1)) / float(fadeFrames);
        out.left[i] *= masterGain * fade;
        out.right[i] *= masterGain * fade;
    }
    LimitTruePeaks(out.left, out.right, kMasterLimiter, kRate, periodic);
    pcm.resize(frames * 2);
    auto quantise = [](float x) { return std::int16_t(std::lrint(std::clamp(x, -1.0f, 1.0f) * 32767.0f)); };
    for (std::size_t i = 0; i < frames; ++i) {
        pcm[2 * i] = quantise(out.left[i]);
        pcm[2 * i + 1] = quantise(out.right[i]);
    }
}

}  // namespace

std::vector<std::int16_t> RenderSoundtrack(int untilMs) {
    // A short render goes on as far as the limiter looks ahead, so its frames match the full one's.
    const std::size_t wanted = std::min(kSoundtrackFrames, AtMs(std::clamp(untilMs, 0, kSoundtrackMs)));
    const std::size_t frames = std::min(kSoundtrackFrames, wanted + LimiterReach(kMasterLimiter));
    Mix m(frames);

    const double crystals = WindowBeat("orembyCity"), flight = WindowBeat("drunaBeach"),
                 figure = WindowBeat("tavikIsleFirst"), torus = WindowBeat("route21First"),
                 greetings = WindowBeat("tavikIsleSecond"), torusAgain = WindowBeat("route21Second"),
                 metaballs = WindowBeat("pelkAirport"), closing = WindowBeat("cucumberCamping");
    Intro(m);
    Build(m, kIntroBeats, crystals);
    Groove(m, crystals, flight);
    Flight(m, flight, figure);
    Theme(m, figure, torus, false, 0);
    for (std::size_t a = 1; a < 6; ++a) Accent(m, AtMs(ScriptAccentMs(a)), 0.8f, 3);
    Breakdown(m, torus, greetings, true);
    Theme(m, greetings, torusAgain, true, 0);
    Accent(m, AtBeat(torusAgain), 0.6f, 2);
    Breakdown(m, torusAgain, metaballs, false);
    // A fill of four hits over the last two beats before the metaballs.
    for (int i = 0; i < 4; ++i) Fill(m, metaballs - 2 + i * 0.5 - (i == 3 ? 0.25 : 0), 0.25f + 0.05f * float(i));
    Deep(m, metaballs, closing);
    Finale(m, closing, kEndBeat);

    // Side-chain: the pads and bass dip under every kick.
    for (std::size_t i = 0; i < frames; ++i) {
        float g = 1.0f - 0.8f * std::min(1.0f, m.duck[i] * 1.6f);
        m.dry.left[i] += m.ducked.left[i] * g;
        m.dry.right[i] += m.ducked.right[i] * g;
    }
    cRoom room(0.82f, 0.35f);
    room.Process(m.room, m.dry, 0.6f);
    PingPong(m.echo, m.dry, AtBeat(0.75), 0.38f, 0.5f, 3500.0f);

    std::vector<std::int16_t> pcm;
    Finish(m.dry, kSoundtrackGain, AtMs(1500), false, pcm);
    pcm.resize(wanted * 2);
    return pcm;
}

std::vector<std::int16_t> RenderLoadingTune() {
    // Six bars, Am F C G Am G. Everything is rendered into a bus one tail longer than the loop,
    // then the tail is folded back onto the start; the room runs over two periods so that its
    // reverberation at the start is the one the end leaves behind.
    const std::size_t period = kLoadingFrames, tail = AtBeat(8);
    Mix m(period + tail);
    const Chord chords[6] = {kAm, kF, kC, kG, kAm, kG};
    const int bells[6][3] = {{76, 81, 84}, {77, 72, 81}, {79, 76, 84}, {74, 79, 83}, {81, 76, 72}, {74, 71, 79}};
    for (int bar = 0; bar < 6; ++bar) {
        double b = bar * 4.0;
        PadChord(m, b, 4, chords[bar], 0.7f, 1200.0f, 1.0f, 1.5f);
        for (int i = 0; i < 3; ++i) BellAt(m, b + i * 1.5, bells[bar][i], 0.1f, -0.4f + 0.4f * float(i), 1.1f);
    }
    Bus dry(period);
    std::vector<float> send(period * 2, 0.0f), echoIn(period * 2, 0.0f);
    for (std::size_t i = 0; i < period + tail; ++i) {
        std::size_t j = i % period;
        dry.left[j] += m.dry.left[i] + m.ducked.left[i];
        dry.right[j] += m.dry.right[i] + m.ducked.right[i];
        for (std::size_t k : {j, j + period}) {
            send[k] += m.room[i];
            echoIn[k] += m.echo[i];
        }
    }
    Bus wet(period * 2);
    cRoom room(0.8f, 0.4f);
    room.Process(send, wet, 0.9f);
    PingPong(echoIn, wet, AtBeat(0.75), 0.35f, 0.45f, 3000.0f);
    Bus out(period);
    for (std::size_t i = 0; i < period; ++i) {
        out.left[i] = dry.left[i] + wet.left[i + period];
        out.right[i] = dry.right[i] + wet.right[i + period];
    }
    std::vector<std::int16_t> pcm;
    Finish(out, kLoadingGain, 0, true, pcm);
    return pcm;
}

}  // namespace Synth
