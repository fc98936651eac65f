#include "playback/session_volume.h"

#include <audiopolicy.h>
#include <mmdeviceapi.h>

#include <atomic>

#include "resources/ids.h"

namespace {

std::atomic<HWND> g_window{nullptr};
std::atomic<int> g_deviceVolume{-1};
// The context of the program's own changes: their notices are not news.
GUID g_context = {};
bool g_comStarted = false;
IAudioSessionControl* g_control = nullptr;
ISimpleAudioVolume* g_volume = nullptr;

template <typename T>
void Release(T*& object) {
  if (object) object->Release();
  object = nullptr;
}

uint32_t Percent(float level) {
  if (level <= 0.0f) return 0;
  if (level >= 1.0f) return 100;
  return static_cast<uint32_t>(level * 100.0f + 0.5f);
}

// The session's volume reaches the samples on Windows, whose audio engine
// applies it to every stream of the process, the audio file device's too:
// giving that device the volume as well would apply it twice. Wine's audio
// drivers accept the session's volume but leave the samples as they are
// (measured with its ALSA driver), so there the device is given it.
bool SessionVolumeReachesSamples() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return !ntdll || !GetProcAddress(ntdll, "wine_get_version");
}

// The notices of the session, from the system's thread: a volume or mute
// change is posted to the window, which shows it.
class Events : public IAudioSessionEvents {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id == __uuidof(IUnknown) || id == __uuidof(IAudioSessionEvents)) {
      *object = static_cast<IAudioSessionEvents*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // Static: it lives as long as the program.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE OnDisplayNameChanged(LPCWSTR, LPCGUID) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnIconPathChanged(LPCWSTR, LPCGUID) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnSimpleVolumeChanged(float level, BOOL muted, LPCGUID context) override {
    if (context && IsEqualGUID(*context, g_context)) return S_OK;
    if (HWND window = g_window.load()) PostMessageW(window, WM_SESSIONVOLUME, Percent(level), muted ? 1 : 0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnChannelVolumeChanged(DWORD, float*, DWORD, LPCGUID) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnGroupingParamChanged(LPCGUID, LPCGUID) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnStateChanged(AudioSessionState) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnSessionDisconnected(AudioSessionDisconnectReason) override { return S_OK; }
};
Events g_events;

}  // namespace

bool OpenSessionVolume(HWND window) {
  if (g_volume) return true;
  const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  g_comStarted = SUCCEEDED(started);
  CoCreateGuid(&g_context);
  IMMDeviceEnumerator* devices = nullptr;
  IMMDevice* output = nullptr;
  IAudioSessionManager* sessions = nullptr;
  bool opened = SUCCEEDED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                                           __uuidof(IMMDeviceEnumerator), reinterpret_cast<void**>(&devices))) &&
                SUCCEEDED(devices->GetDefaultAudioEndpoint(eRender, eMultimedia, &output)) &&
                SUCCEEDED(output->Activate(__uuidof(IAudioSessionManager), CLSCTX_INPROC_SERVER, nullptr,
                                           reinterpret_cast<void**>(&sessions))) &&
                SUCCEEDED(sessions->GetSimpleAudioVolume(nullptr, FALSE, &g_volume));
  if (opened && SUCCEEDED(sessions->GetAudioSessionControl(nullptr, 0, &g_control))) {
    g_window = window;
    if (FAILED(g_control->RegisterAudioSessionNotification(&g_events))) Release(g_control);
  }
  Release(sessions);
  Release(output);
  Release(devices);
  if (!opened) CloseSessionVolume();
  return opened;
}

void CloseSessionVolume() {
  g_window = nullptr;
  if (g_control) g_control->UnregisterAudioSessionNotification(&g_events);
  Release(g_control);
  Release(g_volume);
  if (g_comStarted) CoUninitialize();
  g_comStarted = false;
}

bool SetSessionVolume(uint32_t percent, bool muted) {
  if (percent > 100) percent = 100;
  // The audio file device's own volume: silent when muted.
  g_deviceVolume = SessionVolumeReachesSamples() ? -1 : muted ? 0 : static_cast<int>(percent * 10);
  if (!g_volume) return false;
  const bool level = SUCCEEDED(g_volume->SetMasterVolume(static_cast<float>(percent) / 100.0f, &g_context));
  return SUCCEEDED(g_volume->SetMute(muted ? TRUE : FALSE, &g_context)) && level;
}

bool ReadSessionVolume(uint32_t* percent, bool* muted) {
  float level = 0.0f;
  BOOL mute = FALSE;
  if (!g_volume || FAILED(g_volume->GetMasterVolume(&level)) || FAILED(g_volume->GetMute(&mute))) return false;
  *percent = Percent(level);
  *muted = mute != FALSE;
  return true;
}

IAudioSessionEvents* SessionVolumeEvents() { return &g_events; }

int DeviceVolume() { return g_deviceVolume; }
