#pragma once
#include <string>

#include "sound/audio_device.h"

// The audio backend on OpenAL Soft: the default output device with one context, and secondary
// buffers made of a source with queued AL buffers (one for a sound effect, one per decoded piece
// for music). Formats other than 8- and 16-bit are converted to 16-bit on the way in; positions
// stay in bytes of the original format.
class OpenAlBackend : public IAudioBackend {
public:
    AudioOpenResult Open(IAudioDevice** device, std::string* detail) override;
};
