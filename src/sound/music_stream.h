#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sound/audio_device.h"

// A music file (Ogg Vorbis, FLAC, WAV: whatever libsndfile reads) decoded to 16-bit PCM a piece
// at a time, laid out for the music buffer:
//   [0, loopEnd) of the track, then a copy of [loopStart, loopStart + lead) of the track,
// so that the part played past the loop end, before the frame loop moves the position back, is
// already the start of the loop and the jump cannot be heard. Tracks with more than two
// channels keep the first two.
class MusicStream {
public:
    MusicStream() = default;
    ~MusicStream();
    MusicStream(const MusicStream&) = delete;
    MusicStream& operator=(const MusicStream&) = delete;

    // loopStart/loopEnd in sample frames (loopEnd 0: the end of the track); loop false plays
    // the track once and leaves out the copy. False, with `error` set, when the file cannot be
    // decoded or is too long for a buffer.
    bool Open(const std::string& nativePath, bool loop, int64_t loopStart, int64_t loopEnd,
              std::string* error);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

    const PcmFormat& Format() const { return format_; }
    uint32_t TotalBytes() const { return static_cast<uint32_t>(totalFrames_ * format_.blockAlign); }
    uint32_t LoopStartBytes() const {
        return static_cast<uint32_t>(loopStart_ * format_.blockAlign);
    }
    uint32_t LoopEndBytes() const { return static_cast<uint32_t>(loopEnd_ * format_.blockAlign); }
    bool Looping() const { return loop_; }

    // Appends up to `frames` decoded frames to `out`. A file that ends early is completed with
    // silence, so the layout above always holds. Done() after the last frame.
    void Decode(int64_t frames, std::vector<uint8_t>& out);
    bool Done() const { return produced_ >= totalFrames_; }
    // Whether the open file holds fewer frames than its header says (its last one cannot be
    // read): it plays on, its missing end as silence.
    bool CutShort() const { return cutShort_; }
    // What the open file made of loop points it does not hold (a loop end past its last frame,
    // a loop start not before the loop's end); empty when they were used as given.
    const std::string& LoopNote() const { return loopNote_; }

private:
    bool cutShort_ = false;
    std::string loopNote_;
    void* file_ = nullptr;  // SNDFILE*
    int fileChannels_ = 0;
    PcmFormat format_;
    bool loop_ = false;
    int64_t loopStart_ = 0, loopEnd_ = 0;
    int64_t totalFrames_ = 0;  // frames of the layout
    int64_t produced_ = 0;
    std::vector<int16_t> scratch_;
};
