#include "playback/cd_audio.h"

#include <mmsystem.h>

#include <cstdio>
#include <memory>
#include <string_view>

#include "model/object_list.h"
#include "model/sound_object.h"
#include "playback/media_control.h"
#include "resources/ids.h"
#include "playback/media_devices.h"
#include "support/language.h"
#include "support/support_library.h"

namespace {

MCIDEVICEID OpenCdAudio() {
  MCI_OPEN_PARMSA open = {};
  open.lpstrDeviceType = "cdaudio";
  if (mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&open)) != 0) return 0;
  return open.wDeviceID;
}

void CloseDevice(MCIDEVICEID device) { mciSendCommandA(device, MCI_CLOSE, MCI_WAIT, 0); }

bool SetTimeFormat(MCIDEVICEID device, DWORD format) {
  MCI_SET_PARMS set = {};
  set.dwTimeFormat = format;
  return mciSendCommandA(device, MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&set)) == 0;
}

// A status item of the whole disc (track 0) or of one track.
bool QueryStatus(MCIDEVICEID device, DWORD item, DWORD track, DWORD_PTR* value) {
  MCI_STATUS_PARMS status = {};
  status.dwItem = item;
  status.dwTrack = track;
  DWORD flags = MCI_STATUS_ITEM | MCI_WAIT | (track ? MCI_TRACK : 0);
  if (mciSendCommandA(device, MCI_STATUS, flags, reinterpret_cast<DWORD_PTR>(&status)) != 0) return false;
  *value = status.dwReturn;
  return true;
}

bool QueryDiscLength(MCIDEVICEID device, DWORD format, uint32_t* length) {
  DWORD_PTR value = 0;
  if (!SetTimeFormat(device, format) || !QueryStatus(device, MCI_STATUS_LENGTH, 0, &value)) return false;
  *length = static_cast<uint32_t>(value);
  return true;
}

// A CdTrack object for track n, as Add All CD Tracks makes it; null when
// memory runs out.
SoundObjectHandle MakeCdTrackObject(int track) {
  SoundObjectHandle handle = AllocSoundObject();
  if (!handle) return nullptr;
  char format[32] = "";
  LanguageString(IDS_FMT_TRACK_DESCRIPTION, format, sizeof format);
  char description[64];
  snprintf(description, sizeof description, format, static_cast<unsigned>(track));
  std::string_view text(description);
  SoundObject values = {};
  values.flags = CdTrack;
  values.trackNumber = static_cast<uint8_t>(track);
  return StoreSoundObject(handle, values, &text, nullptr) ? handle : nullptr;
}

}  // namespace

int ReadCdIdentity(UINT device, uint32_t* first, uint32_t* second) {
  const bool openedHere = device == 0;
  if (openedHere && !(device = OpenCdAudio())) return 0;
  uint32_t tmsfLength = 0;
  uint32_t msLength = 0;
  bool read = QueryDiscLength(device, MCI_FORMAT_TMSF, &tmsfLength) &&
              QueryDiscLength(device, MCI_FORMAT_MILLISECONDS, &msLength);
  if (openedHere) CloseDevice(device);
  if (!read) return 0;
  if (first) *first = tmsfLength;
  if (second) *second = msLength;
  return 1;
}

int ReadCdAudioTracks(uint8_t* tracks, int capacity) {
  MCIDEVICEID device = OpenCdAudio();
  if (!device) return 0;
  int count = 0;
  DWORD_PTR present = 0;
  DWORD_PTR trackCount = 0;
  if (QueryStatus(device, MCI_STATUS_MEDIA_PRESENT, 0, &present) && present &&
      QueryStatus(device, MCI_STATUS_NUMBER_OF_TRACKS, 0, &trackCount)) {
    for (DWORD track = 1; track <= trackCount && track <= kMaxCdTracks && count < capacity; ++track) {
      DWORD_PTR type = MCI_CDA_TRACK_AUDIO;
      QueryStatus(device, MCI_CDA_STATUS_TYPE_TRACK, track, &type);
      if (type == MCI_CDA_TRACK_AUDIO) tracks[count++] = static_cast<uint8_t>(track);
    }
  }
  CloseDevice(device);
  return count;
}

namespace {

class CdReadJob : public DeviceJob {
 public:
  explicit CdReadJob(bool tracks) : tracks_(tracks) {}
  void Run(DeviceSession*) override {
    disc.identified = ReadCdIdentity(0, &disc.first, &disc.second) != 0;
    if (!tracks_) return;
    disc.trackBound = GetCdTrackCount(0);
    if (disc.trackBound) disc.audioCount = ReadCdAudioTracks(disc.audioTracks, kMaxCdTracks);
  }
  CdDisc disc;

 private:
  bool tracks_;
};

}  // namespace

bool ReadCdDisc(CdDisc* disc, bool tracks) {
  auto job = std::make_shared<CdReadJob>(tracks);
  if (!RunDeviceJob(job)) {
    *disc = CdDisc();
    return false;
  }
  *disc = job->disc;
  return true;
}

int AddAllCdTracks(ObjectList& list, bool* outOfMemory) {
  // The audio tracks by their own numbers: on a disc that begins with a
  // data track they are not 1..count. The support library's count is the
  // bound plays are checked against; the tracks added here must play, so
  // it follows the disc read here.
  if (outOfMemory) *outOfMemory = false;
  CdDisc disc;
  ReadCdDisc(&disc, true);
  const UINT bound = disc.trackBound;
  if (bound) g_cdTrackCount = static_cast<uint8_t>(bound);
  const int count = bound ? disc.audioCount : 0;
  SoundObjectHandle handles[kMaxCdTracks];
  int made = 0;
  for (int i = 0; i < count && disc.audioTracks[i] <= bound; ++i) {
    if (!(handles[made] = MakeCdTrackObject(disc.audioTracks[i]))) {
      if (outOfMemory) *outOfMemory = true;
      break;
    }
    ++made;
  }
  const int added = list.InsertMany(-1, handles, made);
  if (added < made && outOfMemory) *outOfMemory = true;
  return added;
}
