#include "pno0001/sound_out_win.h"

namespace ludora::pno0001 {

bool SoundOut::Open() {
  WAVEFORMATEX format = {};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 1;
  format.nSamplesPerSec = kSampleRate;
  format.wBitsPerSample = 16;
  format.nBlockAlign = 2;
  format.nAvgBytesPerSec = kSampleRate * 2;
  if (::waveOutOpen(&device_, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
    device_ = nullptr;
    ::OutputDebugStringA("pno0001: no sound device, playing silently\n");
    return false;
  }
  for (int i = 0; i < kBuffers; ++i) {
    WAVEHDR& header = headers_[i];
    header.lpData = reinterpret_cast<LPSTR>(samples_[i].data());
    header.dwBufferLength = sizeof samples_[i];
    header.dwFlags = 0;
    if (::waveOutPrepareHeader(device_, &header, sizeof header) != MMSYSERR_NOERROR)
      header.dwFlags = 0;
    header.dwFlags |= WHDR_DONE;  // free to fill
  }
  return true;
}

SoundOut::~SoundOut() {
  if (!device_) return;
  ::waveOutReset(device_);  // hands every buffer back
  for (WAVEHDR& header : headers_)
    if (header.dwFlags & WHDR_PREPARED) ::waveOutUnprepareHeader(device_, &header, sizeof header);
  ::waveOutClose(device_);
}

void SoundOut::Feed(Mixer& mixer) {
  if (!device_) return;
  for (int i = 0; i < kBuffers; ++i) {
    WAVEHDR& header = headers_[i];
    if (!(header.dwFlags & WHDR_DONE) || !(header.dwFlags & WHDR_PREPARED)) continue;
    mixer.Mix(samples_[i].data(), kSamples);
    header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
    if (::waveOutWrite(device_, &header, sizeof header) != MMSYSERR_NOERROR)
      header.dwFlags |= WHDR_DONE;
  }
}

}  // namespace ludora::pno0001
