// The media file source's extensions and byte patterns.
#include "media/ffmpeg/media_file_types.h"

namespace platform::media::ffmpeg {
namespace {

const wchar_t *const kExtensions[] = {
    // MP4 and QuickTime
    L".mp4", L".m4v", L".mov", L".m4a", L".3gp", L".3g2", L".f4v",
    // MPEG transport and program streams
    L".ts", L".m2ts", L".mts", L".mpg", L".mpeg", L".vob",
    // Matroska and WebM, AVI, Flash video, ASF, Ogg
    L".mkv", L".mka", L".webm", L".avi", L".flv", L".asf", L".wmv", L".ogg", L".ogv",
    // Elementary streams and audio files
    L".h264", L".264", L".hevc", L".m2v", L".mp3", L".aac", L".wav", L".flac"};

// Each "offset,cb,mask,val", all groups of a pattern matching.
const wchar_t *const kPatterns[] = {
    L"4,4,,66747970",                                 // MP4: 'ftyp' box first
    L"4,4,,6D6F6F76",                                 // QuickTime: 'moov' box first
    L"4,4,,6D646174",                                 // QuickTime: 'mdat' box first
    L"0,4,,1A45DFA3",                                 // Matroska, WebM: EBML header
    L"0,4,,52494646,8,4,,41564920",                   // AVI: 'RIFF' ... 'AVI '
    L"0,4,,52494646,8,4,,57415645",                   // WAV: 'RIFF' ... 'WAVE'
    L"0,1,,47,188,1,,47,376,1,,47",                   // MPEG-TS: sync bytes 188 apart
    L"4,1,,47,196,1,,47,388,1,,47",                   // MPEG-TS in 192-byte packets (M2TS)
    L"0,4,,000001BA",                                 // MPEG program stream: pack header
    L"0,3,,464C56",                                   // Flash video: 'FLV'
    L"0,16,,3026B2758E66CF11A6D900AA0062CE6C",        // ASF header object
    L"0,4,,4F676753",                                 // Ogg: 'OggS'
    L"0,4,,664C6143",                                 // FLAC: 'fLaC'
};

}  // namespace

constinit const SourceFileTypes kMediaFileTypes = {kExtensions, &kMediaFileStreamSubtype, kPatterns};

}  // namespace platform::media::ffmpeg
