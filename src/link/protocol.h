#pragma once

#include <cstdint>

// What goes over the wire to the instrument and back: the codes more than
// one place writes, the display modes and the status block's fields.
// The front panel's own button codes are in its command table.
namespace orvanta::link {

namespace codes {

inline constexpr std::uint8_t kNextLogRecord = 7;
inline constexpr std::uint8_t kStartLogReadout = 8;
inline constexpr std::uint8_t kNextPictureBlock = 10;
inline constexpr std::uint8_t kStartPicture = 11;
inline constexpr std::uint8_t kEndPicture = 12;
inline constexpr std::uint8_t kStatusRequest = 13;
inline constexpr std::uint8_t kStartRealtime = 14;
inline constexpr std::uint8_t kEndRealtime = 16;
inline constexpr std::uint8_t kStartLogging = 88;
inline constexpr std::uint8_t kStopLogging = 89;

} // namespace codes

// The status block's display mode field.
enum class DisplayMode : std::uint8_t {
    SmallBoxes = 0,
    Waveform = 1,
    Vector = 2,
    Combination = 3,
};

// One picture block and one stored-log record, as the instrument sends them.
inline constexpr int kPictureBlockSize = 128;
inline constexpr int kLogRecordSize = 34;

// One field of the status block: the byte and the bits of it that carry the
// field. Fields are compared masked, not shifted.
struct StatusField
{
    int byte;
    std::uint8_t mask;
};

// The instrument's status block: every byte and bit anything here reads.
namespace status {

inline constexpr StatusField kSafeArea{0, 0x03}; // 0 active, 1 action, 2 title, 3 off
inline constexpr StatusField kVectorNoGraticule{0, 0x04};
inline constexpr StatusField kExternalReference{0, 0x80};

inline constexpr StatusField kDisplayMode{1, 0x03}; // 0 small boxes, 1 wfm, 2 vec, 3 both
inline constexpr StatusField kMagLines{1, 0x0C};    // 0x00 4, 0x04 16, 0x08 8, 0x0C 32
inline constexpr StatusField kTimebase{1, 0xE0};    // HMag H 2H Parade VMag V 2V LSel
inline constexpr StatusField kParadeTest{1, 0xE3};  // == kParadeWaveform: waveform parade

inline constexpr StatusField kWaveformGainMag{2, 0x04};
inline constexpr StatusField kSystem525Ntsc{2, 0x08};
inline constexpr StatusField kVectorGain{2, 0x30}; // 0x00 100%, 0x10 mag, 0x20/0x30 75%

inline constexpr StatusField kAlarmFullPictureCrc{3, 0x01};
inline constexpr StatusField kAlarmActivePictureCrc{3, 0x02};
inline constexpr StatusField kAlarmGamut{3, 0x04};
inline constexpr StatusField kAlarmIllegal{3, 0x08};
inline constexpr StatusField kAlarmAudio{3, 0x10};
inline constexpr StatusField kAlarmCode{3, 0x20};
inline constexpr StatusField kAlarmKeyPress{3, 0x40};

inline constexpr StatusField kFilter{4, 0x30}; // 0x00 norm, 0x10 low-pass, else chroma-pass
inline constexpr StatusField kTraceOn{4, 0x80};

inline constexpr StatusField kAudioPhase34{5, 0x01};
inline constexpr StatusField kDeEmphasis{5, 0x0C}; // 0x00 32k, 0x04 44.1k, 0x08 48k, 0x0C off
inline constexpr StatusField kOutputYuv{5, 0x20};
inline constexpr StatusField kInputYuv{5, 0x80};

inline constexpr StatusField kGraticuleSet{6, 0x06}; // with byte 12: analogue or digital set
inline constexpr StatusField kPalSwitch{6, 0x08};
inline constexpr StatusField kAudioSource{6, 0x30}; // 0x00 analog, 0x10 AES, 0x20 embedded, 0x30 none
inline constexpr StatusField kHBlank{6, 0x80};

inline constexpr StatusField kPal{7, 0x01}; // clear: NTSC
inline constexpr StatusField kSyncOnGreen{7, 0x02};
inline constexpr StatusField kGenEdh{7, 0x0C};        // 0x00 off, 0x04 EDH, 0x08/0x0C generator
inline constexpr StatusField kEmbeddedGroup{7, 0x30}; // 0x00 group 1 ... 0x30 group 4

inline constexpr StatusField kVRes{9, 0x01};
inline constexpr StatusField kDisplayYuv{9, 0x02};
inline constexpr StatusField kMeterScale{9, 0x1C}; // 0x00 PPM ... 0x18 expand, 0x1C none

inline constexpr StatusField kYrgb{10, 0x01};
inline constexpr StatusField kAlarmHighAudio{10, 0x02};
inline constexpr StatusField kAlarmBlack{10, 0x04};
inline constexpr StatusField kAlarmNoVideo{10, 0x08};
inline constexpr StatusField kAlarmNoAudio{10, 0x10};

inline constexpr StatusField kPeakHold{11, 0xFF}; // 0 off, 50 1 s, 100 2 s, 200 4 s, else infinite

inline constexpr StatusField kSmallBoxTop{12, 0x01};
inline constexpr StatusField kMonochrome{12, 0x02};
inline constexpr StatusField kViewDigital{12, 0x04};
inline constexpr StatusField kGraticuleViewMask{12, 0xFD}; // byte 12 as the graticule rule reads it

inline constexpr StatusField kBoxPositionLock{13, 0x0C};

// Lamps are active low: a clear bit lights the lamp.
inline constexpr StatusField kLampSdi1{14, 0x01};
inline constexpr StatusField kLampSdi2{14, 0x02};
inline constexpr StatusField kLampCvs1{14, 0x04};
inline constexpr StatusField kLampCvs2{14, 0x08};
inline constexpr StatusField kLampComponent{14, 0x10};
inline constexpr StatusField kLampPositiveGamut{15, 0x10};
inline constexpr StatusField kLampNegativeGamut{15, 0x20};

inline constexpr std::uint8_t kParadeWaveform = 0x61;
inline constexpr int kInterpretedBytes = 16;

} // namespace status

} // namespace orvanta::link
