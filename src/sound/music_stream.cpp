#include "sound/music_stream.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>

namespace {

// The copy of the loop's start after its end covers a frame loop that stalls this long.
constexpr int64_t kLeadMs = 1000;

}  // namespace

MusicStream::~MusicStream() {
    Close();
}

void MusicStream::Close() {
    if (file_) sf_close(static_cast<SNDFILE*>(file_));
    file_ = nullptr;
}

bool MusicStream::Open(const std::string& nativePath, bool loop, int64_t loopStart, int64_t loopEnd,
                       std::string* error) {
    Close();
    SF_INFO info{};
    SNDFILE* f = sf_open(nativePath.c_str(), SFM_READ, &info);
    if (!f) {
        if (error) *error = sf_strerror(nullptr);
        return false;
    }
    auto fail = [&](const char* why) {
        if (error) *error = why;
        sf_close(f);
        return false;
    };
    if (info.channels < 1 || info.frames <= 0) return fail("no samples");
    int channels = std::min(info.channels, 2);
    format_ = PcmFormat{};
    format_.channels = static_cast<uint16_t>(channels);
    format_.samplesPerSec = static_cast<uint32_t>(std::max(info.samplerate, 0));
    format_.bitsPerSample = 16;
    format_.blockAlign = static_cast<uint16_t>(2 * channels);
    format_.avgBytesPerSec = format_.samplesPerSec * format_.blockAlign;
    if (format_.samplesPerSec < DSBFREQUENCY_MIN || format_.samplesPerSec > DSBFREQUENCY_MAX)
        return fail("sample rate out of range");

    int64_t length = info.frames;
    loop_ = loop;
    loopEnd_ = (loopEnd <= 0 || loopEnd > length) ? length : loopEnd;
    loopStart_ = (loop && loopStart < loopEnd_) ? std::max<int64_t>(loopStart, 0) : 0;
    loopNote_.clear();
    if (loop && loopEnd > length)
        loopNote_ = "its loop end " + std::to_string(loopEnd) +
                    " lies past its last sample frame (" + std::to_string(length) +
                    "): the loop ends with the track";
    if (loop && loopStart > 0 && loopStart >= loopEnd_)
        loopNote_ += (loopNote_.empty() ? "its loop start " : "; its loop start ") +
                     std::to_string(loopStart) + " is not before the loop's end (" +
                     std::to_string(loopEnd_) + "): the loop starts at the track's beginning";
    int64_t lead = 0;
    if (loop)
        lead = std::min(int64_t(format_.samplesPerSec) * kLeadMs / 1000, loopEnd_ - loopStart_);
    else
        loopEnd_ = length;
    totalFrames_ = loopEnd_ + lead;
    if (totalFrames_ * format_.blockAlign > DSBSIZE_MAX) return fail("track too long");

    // A file cut short says more frames than it holds: its last one is read now, so that the
    // fault is known before the cut is played.
    std::vector<short> last(size_t(info.channels));
    cutShort_ = sf_seek(f, length - 1, SEEK_SET) < 0 || sf_readf_short(f, last.data(), 1) != 1;
    if (sf_seek(f, 0, SEEK_SET) < 0) return fail("cannot go back to its start");

    file_ = f;
    fileChannels_ = info.channels;
    produced_ = 0;
    return true;
}

void MusicStream::Decode(int64_t frames, std::vector<uint8_t>& out) {
    frames = std::min(frames, totalFrames_ - produced_);
    if (frames <= 0) return;
    auto* f = static_cast<SNDFILE*>(file_);
    size_t base = out.size();
    out.resize(base + size_t(frames) * format_.blockAlign, 0);  // silence where the file ends
    int16_t* dst = reinterpret_cast<int16_t*>(out.data() + base);
    int64_t done = 0;
    while (done < frames && f) {
        // The main part runs to the loop end; after it the lead copy starts at the loop start.
        int64_t at = produced_ + done;
        int64_t phaseEnd = at < loopEnd_ ? loopEnd_ : totalFrames_;
        if (at == loopEnd_ && sf_seek(f, loopStart_, SEEK_SET) < 0) break;
        int64_t want = std::min(frames - done, phaseEnd - at);
        want = std::min<int64_t>(want, 4096);
        scratch_.resize(size_t(want) * fileChannels_);
        sf_count_t got = sf_readf_short(f, scratch_.data(), want);
        if (got <= 0) {
            // A file shorter than it said: the rest of this part stays silent.
            done += phaseEnd - at < frames - done ? phaseEnd - at : frames - done;
            continue;
        }
        for (sf_count_t i = 0; i < got; ++i)
            for (int c = 0; c < format_.channels; ++c)
                dst[(done + i) * format_.channels + c] = scratch_[size_t(i) * fileChannels_ + c];
        done += got;
    }
    produced_ += frames;
}
