// cStudioTransport: what the studio's keys and timeline bar ask of demo time (play, pause, seek,
// step, loop, speed), as pure logic over milliseconds and the fixed-step counter's ticks, so it
// is tested without a window. The studio asks it once per loop what the next frame is.
//
// Quick manual:
//   - commands (TogglePlay, SeekTo, SeekBy, StepForward, StepBack, MarkLoopStart/End,
//     ToggleLoop, Faster/Slower) only record what is wanted; NextFrame() says what to do now:
//     hold the picture, replay to a time, make one stepped frame or one played frame;
//   - after each frame the studio reports what it made and the demo time it shows (Shown); a
//     played frame takes the counter's ticks from PlayTicks, a stepped one from StepTicks;
//   - frames live on the fixed-step grid of `fps`: frame n at n * 1000 / fps ms, truncated, as
//     the capture tool's --from..--to span has them. A step lands on the next or previous one.
#pragma once

#include <cstdint>

namespace QuenliteStudio {

// The speeds on offer, slowest first; kNormalSpeed is 1.
inline constexpr double kStudioSpeeds[] = {0.25, 0.5, 1.0, 2.0};
inline constexpr int kStudioSpeedCount = 4;
inline constexpr int kNormalSpeed = 2;

enum class eStudioFrame {
    Hold,  // nothing new: show the frame that is there
    Seek,  // replay from 0:00 to SeekTarget() (exact), then show that frame
    Step,  // one frame at the time the counter holds, which then moves on to StepTicks()
    Play,  // one frame at the time PlayTicks() gives
};

class cStudioTransport {
public:
    // `fps`: the fixed step of replays and steps; `endMs`: the end of the demo (play stops there).
    cStudioTransport(int fps, int endMs);

    // --- commands ----------------------------------------------------------------------------
    void TogglePlay() { SetPlaying(!playing); }
    void SetPlaying(bool on);
    // Seeks to `ms`, cut to 0 .. end. Several seeks before the next frame end in one replay.
    void SeekTo(int ms);
    // Seeks by `deltaMs` from the time already asked for, else from the time shown.
    void SeekBy(int deltaMs) { SeekTo(Target() + deltaMs); }
    // While paused: the next grid frame after the one shown (no replay) / the one before it (a
    // replay). Ignored while playing.
    void StepForward();
    void StepBack();
    // The loop span's ends at the time shown; L plays the span over and over once both are set
    // (an end before the start swaps them).
    void MarkLoopStart();
    void MarkLoopEnd();
    void ToggleLoop() { looping = !looping; }
    void Faster() { SetSpeedIndex(speed + 1); }
    void Slower() { SetSpeedIndex(speed - 1); }
    void SetSpeedIndex(int index);

    // --- the frame loop ----------------------------------------------------------------------
    // What the studio does this loop.
    eStudioFrame NextFrame() const;
    int SeekTarget() const { return seekTarget; }
    // The counter ticks a stepped frame leaves for the next one: the first grid frame after
    // `currentTicks` (the time the stepped frame itself shows), so steps walk the grid.
    std::int64_t StepTicks(std::int64_t currentTicks) const { return (currentTicks / 1000 + 1) * 1000; }
    // The counter ticks for a played frame at steady time nowNs: the ticks at the last anchor
    // plus the steady time since, times the speed; never less than `currentTicks`.
    std::int64_t PlayTicks(std::int64_t currentTicks, std::int64_t nowNs);
    // After a frame made as NextFrame() said (`made`): the demo time it shows, the counter ticks
    // the next frame starts from and the steady time. A replay or step is done with; past the
    // loop's end a loop wrap is asked for; at the end of the demo play stops.
    void Shown(eStudioFrame made, int ms, std::int64_t ticks, std::int64_t nowNs);

    // --- state -------------------------------------------------------------------------------
    bool Playing() const { return playing; }
    int ShownMs() const { return shown; }
    // The time the next shown frame will have as far as commands know: a pending seek's target,
    // else the time shown.
    int Target() const { return seekPending ? seekTarget : shown; }
    int SpeedIndex() const { return speed; }
    double Speed() const { return kStudioSpeeds[speed]; }
    bool Looping() const { return looping; }
    int LoopStartMs() const { return loopStart; }
    int LoopEndMs() const { return loopEnd; }
    // A loop span that can be played: both ends set and apart.
    bool HasLoopSpan() const { return loopStart >= 0 && loopEnd > loopStart; }
    int Fps() const { return fps; }
    int EndMs() const { return endMs; }
    // The grid frame whose time is at or before `ms` / its time.
    int GridFrameAt(int ms) const;
    int GridMs(int frame) const;

private:
    void Anchor(std::int64_t ticks, std::int64_t nowNs);

    int fps;
    int endMs;
    bool playing = false;
    int shown = 0;
    bool seekPending = false;
    int seekTarget = 0;
    bool stepPending = false;
    int speed = kNormalSpeed;
    bool looping = false;
    int loopStart = -1, loopEnd = -1;
    // Play time: ticks and steady time at the last resume, speed change or shown replay/step.
    bool anchored = false;
    std::int64_t anchorTicks = 0, anchorNs = 0;
};

}  // namespace QuenliteStudio
