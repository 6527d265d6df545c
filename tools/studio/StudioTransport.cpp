// cStudioTransport: play, pause, seek, step, loop and speed over demo milliseconds.
#include "StudioTransport.h"

#include <algorithm>
#include <utility>

namespace QuenliteStudio {

cStudioTransport::cStudioTransport(int framesPerSecond, int demoEndMs) : fps(framesPerSecond), endMs(demoEndMs) {}

void cStudioTransport::SetPlaying(bool on) {
    if (on && !playing && Target() >= endMs) SeekTo(looping && HasLoopSpan() ? loopStart : 0);  // play again
    playing = on;
    anchored = false;
}

void cStudioTransport::SeekTo(int ms) {
    seekTarget = std::clamp(ms, 0, endMs);
    seekPending = true;
    stepPending = false;
}

void cStudioTransport::StepForward() {
    if (playing) return;
    if (seekPending)
        SeekTo(GridMs(GridFrameAt(seekTarget) + 1));
    else
        stepPending = true;
}

void cStudioTransport::StepBack() {
    if (playing) return;
    const int at = Target();
    int frame = GridFrameAt(at);
    if (GridMs(frame) == at) --frame;  // on the grid: the one before; between two: the earlier
    if (frame >= 0) SeekTo(GridMs(frame));
}

void cStudioTransport::MarkLoopStart() {
    loopStart = Target();
    if (loopEnd >= 0 && loopEnd < loopStart) std::swap(loopStart, loopEnd);
}

void cStudioTransport::MarkLoopEnd() {
    loopEnd = Target();
    if (loopStart >= 0 && loopEnd < loopStart) std::swap(loopStart, loopEnd);
}

void cStudioTransport::SetSpeedIndex(int index) {
    speed = std::clamp(index, 0, kStudioSpeedCount - 1);
    anchored = false;
}

eStudioFrame cStudioTransport::NextFrame() const {
    if (seekPending) return eStudioFrame::Seek;
    if (stepPending) return eStudioFrame::Step;
    return playing ? eStudioFrame::Play : eStudioFrame::Hold;
}

void cStudioTransport::Anchor(std::int64_t ticks, std::int64_t nowNs) {
    anchored = true;
    anchorTicks = ticks;
    anchorNs = nowNs;
}

std::int64_t cStudioTransport::PlayTicks(std::int64_t currentTicks, std::int64_t nowNs) {
    if (!anchored) Anchor(currentTicks, nowNs);
    // The counter runs at fps ticks per demo millisecond.
    const double demoMs = double(nowNs - anchorNs) / 1e6 * Speed();
    const std::int64_t ticks = anchorTicks + std::int64_t(demoMs * fps);
    return std::max(currentTicks, ticks);
}

void cStudioTransport::Shown(eStudioFrame made, int ms, std::int64_t ticks, std::int64_t nowNs) {
    if (made == eStudioFrame::Hold) return;
    shown = ms;
    if (made == eStudioFrame::Seek) seekPending = false;
    if (made != eStudioFrame::Play) {
        stepPending = false;
        Anchor(ticks, nowNs);  // a replay's own time is not play time
        return;
    }
    if (looping && HasLoopSpan() && ms >= loopEnd) {
        SeekTo(loopStart);
    } else if (ms >= endMs) {
        playing = false;
        anchored = false;
    }
}

int cStudioTransport::GridMs(int frame) const { return int(std::int64_t(frame) * 1000 / fps); }

int cStudioTransport::GridFrameAt(int ms) const {
    if (ms <= 0) return 0;
    int frame = int(std::int64_t(ms) * fps / 1000);
    while (GridMs(frame + 1) <= ms) ++frame;
    while (frame > 0 && GridMs(frame) > ms) --frame;
    return frame;
}

}  // namespace QuenliteStudio
