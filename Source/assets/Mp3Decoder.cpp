// Mp3Decoder: whole-file MP3 decoding to 16-bit PCM over libmpg123. Files are read whole and
// decoded from memory through a replaced reader, so the demo and the fuzz target share one path.
#include "assets/Mp3Decoder.h"

#include "assets/DataPath.h"

#include <mpg123.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace VantorGL {

namespace {

// mpg123_init is a no-op on current libmpg123 but required by older ones, once per process.
void InitialiseLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

// Owns one decoder handle and the stream it has open.
struct cMpg123Handle {
    mpg123_handle* handle = nullptr;
    bool open = false;
    ~cMpg123Handle() {
        if (open) mpg123_close(handle);
        if (handle) mpg123_delete(handle);
    }
};

// The bytes libmpg123 reads through the replaced reader: a seekable view of a memory block.
struct cMemoryStream {
    const std::uint8_t* data;
    off_t size;
    off_t position;
};

mpg123_ssize_t ReadMemory(void* handle, void* target, std::size_t count) {
    auto* stream = static_cast<cMemoryStream*>(handle);
    const off_t left = stream->size - stream->position;
    const std::size_t n = left <= 0 ? 0 : std::min<std::size_t>(count, std::size_t(left));
    if (n > 0) std::memcpy(target, stream->data + stream->position, n);
    stream->position += off_t(n);
    return mpg123_ssize_t(n);
}

off_t SeekMemory(void* handle, off_t offset, int whence) {
    auto* stream = static_cast<cMemoryStream*>(handle);
    off_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? stream->position : whence == SEEK_END ? stream->size : -1;
    if (base < 0 || offset < -base || offset > stream->size - base) return -1;  // outside the block
    stream->position = base + offset;
    return stream->position;
}

// Reads a whole data file; a failure says why in the music loader's words (libmpg123 itself
// would say only "file not found"-like codes).
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
    int osError = 0;
    switch (ReadWholeDataFile(path, bytes, osError)) {
        case eFileRead::Ok: return true;
        case eFileRead::CannotOpen: error = std::string("cannot open file: ") + std::strerror(osError); return false;
        case eFileRead::Folder: error = "is a folder, not an MP3 file"; return false;
        case eFileRead::NotRegular: error = "not a regular file"; return false;
        case eFileRead::Empty: error = "empty file"; return false;
        case eFileRead::TooLarge: error = "file too large for music"; return false;
        case eFileRead::ReadError: error = "read error"; return false;
    }
    return false;
}

// What a stream's Xing/LAME tag announces, read through a handle without rate conversion (cheap:
// only the first frame is parsed).
struct cTagProbe {
    // The frames libmpg123 counts on: the Xing tag's count (with or without a LAME part that
    // gives the encoder delay, with or without audio after it), else its estimate from the size.
    off_t frames = -1;
    bool noSamples = false;  // a LAME tag whose encoder delay and padding leave no samples at all
};

cTagProbe ProbeTag(const std::uint8_t* data, std::size_t size) {
    cMemoryStream stream{data, off_t(size), 0};
    cMpg123Handle probe;
    int result = MPG123_OK;
    probe.handle = mpg123_new(nullptr, &result);
    if (!probe.handle) return {};
    mpg123_param(probe.handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    mpg123_format_none(probe.handle);
    const long* rates = nullptr;
    std::size_t count = 0;
    mpg123_rates(&rates, &count);
    for (std::size_t i = 0; i < count; ++i)
        mpg123_format(probe.handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_replace_reader_handle(probe.handle, ReadMemory, SeekMemory, nullptr) != MPG123_OK ||
        mpg123_open_handle(probe.handle, &stream) != MPG123_OK)
        return {};
    probe.open = true;
    long rate = 0;
    int channels = 0, encoding = 0;
    // The tag is read with the first frame, so it is known even where no audio follows it: the
    // converting decoder would still count by it.
    mpg123_getformat(probe.handle, &rate, &channels, &encoding);
    long encoderDelay = -1;
    double unused = 0.0;
    mpg123_getstate(probe.handle, MPG123_ENC_DELAY, &encoderDelay, &unused);
    cTagProbe tag;
    tag.noSamples = encoderDelay >= 0 && mpg123_length(probe.handle) <= 0;
    tag.frames = mpg123_framelength(probe.handle);
    return tag;
}

// The smallest MPEG audio frame is 24 bytes (MPEG-2 layer II/III at 8 kbit/s and 24 kHz); a
// tag announcing more frames than that would fill is lying.
constexpr off_t kSmallestFrameBytes = 24;

}  // namespace

bool DecodeMp3File(const std::string& path, cPcmBuffer& out, std::string& error, int outputRate,
                   int outputChannels, std::string* note) {
    out.samples.clear();
    out.rate = 0;
    out.channels = 0;
    if (note) note->clear();
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, error)) return false;
    return DecodeMp3Bytes(bytes.data(), bytes.size(), out, error, outputRate, outputChannels, note);
}

namespace {

// With rate conversion libmpg123 works out the converted length of a tagged stream frame by
// frame, up to the count the tag announces: a damaged tag claiming billions of frames keeps it
// busy for minutes. Such a tag is ignored and the stream decoded as plain frames. A tag whose
// delay and padding leave no samples (a negative length) sends the same count into an
// endless-seeming loop; it is ignored too. True when the tag is ignored, `note` saying why.
bool IgnoreLyingTag(mpg123_handle* handle, const std::uint8_t* data, std::size_t size, std::string* note) {
    const cTagProbe tag = ProbeTag(data, size);
    if (!tag.noSamples && tag.frames <= off_t(size) / kSmallestFrameBytes + 1) return false;
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_IGNORE_INFOFRAME, 0.0);
    if (note) {
        char text[128];
        if (tag.noSamples)
            std::snprintf(text, sizeof text, "damaged stream: its header announces no samples");
        else
            std::snprintf(text, sizeof text, "damaged stream: its header announces %lld frames in %zu bytes",
                          static_cast<long long>(tag.frames), size);
        *note = text;
    }
    return true;
}

// Only signed 16-bit output; the rates and channel counts allowed decide any conversion.
void AllowSigned16(mpg123_handle* handle, int outputRate, int outputChannels) {
    const int channelFlags = outputChannels == 1   ? MPG123_MONO
                             : outputChannels == 2 ? MPG123_STEREO
                                                   : MPG123_MONO | MPG123_STEREO;
    mpg123_format_none(handle);
    if (outputRate > 0) {
        mpg123_param(handle, MPG123_FORCE_RATE, outputRate, 0.0);
        mpg123_format(handle, outputRate, channelFlags, MPG123_ENC_SIGNED_16);
    } else {
        const long* rates = nullptr;
        std::size_t count = 0;
        mpg123_rates(&rates, &count);
        for (std::size_t i = 0; i < count; ++i) mpg123_format(handle, rates[i], channelFlags, MPG123_ENC_SIGNED_16);
    }
}

// Decodes to the end (or the first error, or a change of format) into `out`, whole frames only.
void ReadAllSamples(mpg123_handle* handle, long rate, int channels, cPcmBuffer& out) {
    std::int16_t chunk[16384];
    for (;;) {
        std::size_t bytes = 0;
        const int result = mpg123_read(handle, reinterpret_cast<unsigned char*>(chunk), sizeof chunk, &bytes);
        out.samples.insert(out.samples.end(), chunk, chunk + bytes / sizeof(std::int16_t));
        if (result == MPG123_OK) continue;
        if (result == MPG123_NEW_FORMAT) {
            // A stream that changes format midway: keep the part in the first format.
            long newRate = 0;
            int newChannels = 0, encoding = 0;
            mpg123_getformat(handle, &newRate, &newChannels, &encoding);
            if (newRate == rate && newChannels == channels) continue;
        }
        break;  // MPG123_DONE at the end; a decoding error keeps what came before it
    }
    // A partial frame at the very end cannot be played; drop it.
    out.samples.resize(out.samples.size() - out.samples.size() % std::size_t(channels));
}

// Where the decoded stream falls short of what its tag counted, `note` says so.
void NoteDamage(const cPcmBuffer& out, long rate, off_t taggedLength, off_t taggedFrames, off_t scannedFrames,
                std::string& note) {
    // One MPEG frame of slack: the tag counts whole frames, the decoder may drop a partial one.
    constexpr std::int64_t kSlackFrames = 1152;
    char text[128];
    if (taggedLength > 0 && out.Frames() + kSlackFrames < std::int64_t(taggedLength)) {
        std::snprintf(text, sizeof text, "stream ends early: %.1f s of the %.1f s its header announces",
                      out.DurationSeconds(), double(taggedLength) / double(rate));
        note = text;
    } else if (taggedFrames > 0 && scannedFrames > 0 && scannedFrames != taggedFrames) {
        // Damage over a frame header: the decoder skips to the next good header (or takes noise for
        // one), so the frames found differ from the frames the tag counted. Damage inside a frame's
        // audio data cannot be seen: MP3 frames carry no checksum unless the encoder adds one.
        std::snprintf(text, sizeof text, "damaged stream: %lld frames found where its header announces %lld",
                      static_cast<long long>(scannedFrames), static_cast<long long>(taggedFrames));
        note = text;
    }
}

}  // namespace

bool DecodeMp3Bytes(const std::uint8_t* data, std::size_t size, cPcmBuffer& out, std::string& error,
                    int outputRate, int outputChannels, std::string* note) {
    out.samples.clear();
    out.rate = 0;
    out.channels = 0;
    if (note) note->clear();
    if (!data || size == 0) {
        error = "no MP3 audio in file";
        return false;
    }

    InitialiseLibrary();
    cMemoryStream stream{data, off_t(size), 0};  // outlives the decoder that reads it
    cMpg123Handle decoder;
    int result = MPG123_OK;
    decoder.handle = mpg123_new(nullptr, &result);
    if (!decoder.handle) {
        error = std::string("decoder not available: ") + mpg123_plain_strerror(result);
        return false;
    }
    // Quiet: this is a library, diagnostics are the caller's. Gapless: drop the encoder delay and
    // padding the LAME tag records, so samples line up with the source exactly.
    mpg123_param(decoder.handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    const bool tagIgnored = outputRate > 0 && IgnoreLyingTag(decoder.handle, data, size, note);
    AllowSigned16(decoder.handle, outputRate, outputChannels);

    if (mpg123_replace_reader_handle(decoder.handle, ReadMemory, SeekMemory, nullptr) != MPG123_OK ||
        mpg123_open_handle(decoder.handle, &stream) != MPG123_OK) {
        error = std::string("cannot open as MP3: ") + mpg123_strerror(decoder.handle);
        return false;
    }
    decoder.open = true;

    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(decoder.handle, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 ||
        channels < 1 || channels > 2 || encoding != MPG123_ENC_SIGNED_16) {
        error = "no MP3 audio in file";
        return false;
    }

    // A LAME tag (known encoder delay) states the whole stream's length; without one the length
    // before the scan is only a guess from the file size and says nothing about damage.
    long encoderDelay = -1;
    double unused = 0.0;
    mpg123_getstate(decoder.handle, MPG123_ENC_DELAY, &encoderDelay, &unused);
    const off_t taggedLength = encoderDelay >= 0 ? mpg123_length(decoder.handle) : off_t(-1);
    const off_t taggedFrames = encoderDelay >= 0 ? mpg123_framelength(decoder.handle) : off_t(-1);
    off_t scannedFrames = -1;

    // The pre-scan: walk every frame header so the length (and the reserve) is exact.
    if (mpg123_scan(decoder.handle) == MPG123_OK) {
        scannedFrames = mpg123_framelength(decoder.handle);
        const off_t length = mpg123_length(decoder.handle);
        if (length > 0) out.samples.reserve(std::size_t(length) * std::size_t(channels));
    }
    ReadAllSamples(decoder.handle, rate, channels, out);

    if (out.samples.empty()) {
        error = "no MP3 audio in file";
        return false;
    }
    out.rate = int(rate);
    out.channels = channels;
    if (!tagIgnored && note) NoteDamage(out, rate, taggedLength, taggedFrames, scannedFrames, *note);
    return true;
}

}  // namespace VantorGL
